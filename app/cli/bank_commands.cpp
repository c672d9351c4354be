// bank: the bank file screen (frmBP) from a terminal. The template is shown
// and set as text lines, one template row per line as its seven grid cells
// separated by TABs (项目, 类型, 字符宽度, 对齐方式, 对应数据, 小数点,
// 固定宽度), then "head", "tail" and one "dep" line per department entry,
// each a key, a TAB and the text. write, print and copy run the screen's
// opening (the month-data refresh) and its toolbar buttons.
#include "app/cli/commands.h"

#include "exchange/bank.h"
#include "monthly/refresh.h"
#include "print/render/render.h"

#include <QGuiApplication>

#include <filesystem>
#include <iostream>

namespace gzgl::cli {

namespace {

// The template of the task's file; problems of a damaged file on stderr.
exchange::TemplateLoad loadTemplate(Session& s) {
    exchange::TemplateLoad l = exchange::loadBankTemplate(exchange::bankTemplatePath(s));
    for (const std::string& p : l.problems)
        std::cerr << exchange::bankTemplatePath(s) << ": " << p << "\n";
    return l;
}

int templateShow(Context& c) {
    c.args.allowOnly(withLogin());
    if (!openAndLogin(c))
        return 1;
    const exchange::TemplateLoad l = loadTemplate(c.session);
    for (const exchange::BankField& f : l.tpl.rows)
        std::cout << f.name << '\t' << f.type << '\t' << f.width << '\t' << f.align << '\t' << f.source
                  << '\t' << f.point << '\t' << f.digits << "\n";
    std::cout << "head\t" << l.tpl.head << "\n";
    std::cout << "tail\t" << l.tpl.tail << "\n";
    for (const std::string& d : l.tpl.departments)
        std::cout << "dep\t" << d << "\n";
    return 0;
}

// The alignment as the grid shows it, from its first character.
std::string alignCaption(const std::string& typed) {
    if (!typed.empty() && typed[0] == '0')
        return exchange::kAlignLeft;
    if (!typed.empty() && typed[0] == '1')
        return exchange::kAlignCentre;
    if (!typed.empty() && typed[0] == '2')
        return exchange::kAlignRight;
    return typed;
}

int templateSet(Context& c) {
    c.args.allowOnly(withLogin());
    exchange::BankTemplate tpl;
    std::string line;
    int lineNo = 0;
    while (std::getline(std::cin, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> cells = splitTabs(line);
        const std::string key = cells[0];
        const std::string rest = line.substr(std::min(line.size(), key.size() + 1));
        if (cells.size() == 7) {
            exchange::BankField f{cells[0], cells[1], cells[2], alignCaption(cells[3]),
                                  cells[4], cells[5], cells[6]};
            if (f.type != exchange::kTypeNumber && f.type != exchange::kTypeText)
                throw UsageError("第 " + std::to_string(lineNo) + " 行：类型应为“数字”或“字符”");
            if (!f.point.empty() && f.point != exchange::kPointShown)
                throw UsageError("第 " + std::to_string(lineNo) + " 行：小数点应为“显示”或空");
            tpl.rows.push_back(std::move(f));
        } else if (key == "head") {
            tpl.head = rest;
        } else if (key == "tail") {
            tpl.tail = rest;
        } else if (key == "dep") {
            tpl.departments.push_back(rest);
        } else {
            throw UsageError("第 " + std::to_string(lineNo) +
                             " 行：应为七个以制表符分隔的格子，或 head/tail/dep、制表符和文字");
        }
    }
    if (!openAndLogin(c))
        return 1;
    const Outcome o = exchange::saveBankTemplate(c.session, tpl);
    if (!o.ok && !o.focus.empty() && o.focus.find(',') != std::string::npos)
        std::cerr << "格式第 " << o.focus.substr(0, o.focus.find(',')) << " 行，第 "
                  << std::stoi(o.focus.substr(o.focus.find(',') + 1)) + 1 << " 列\n";
    return report(c, o);
}

exchange::BankOptions options(const Context& c) {
    exchange::BankOptions opt;
    opt.fileName = c.args.get("name", opt.fileName);
    opt.separator = c.args.get("sep", opt.separator);
    if (opt.separator == "\\t" || opt.separator == "TAB")
        opt.separator = "\t";
    opt.sequence = c.args.flag("seq");
    opt.total = c.args.flag("total");
    opt.byAccount = c.args.flag("by-account");
    opt.include = c.args.flag("include");
    return opt;
}

// The screen's opening: the month-data refresh, then the template.
std::optional<exchange::BankTemplate> openScreen(Context& c) {
    if (!openAndLogin(c))
        return std::nullopt;
    Session& s = c.session;
    monthly::RefreshMonthData(s);
    const std::string path = exchange::bankTemplatePath(s);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        report(c,
               Outcome::refuse("还没有定义银行报盘文件格式（" + path + "），请先用 bank template set 定义。",
                               "提示", Icon::Exclamation));
        return std::nullopt;
    }
    exchange::TemplateLoad l = loadTemplate(s);
    if (l.tpl.rows.empty()) {
        report(c,
               Outcome::refuse("银行报盘文件格式（" + path + "）中没有项目，请先用 bank template set 定义。",
                               "提示", Icon::Exclamation));
        return std::nullopt;
    }
    return std::move(l.tpl);
}

int bankWrite(Context& c) {
    c.args.allowOnly(withLogin({"name", "sep", "seq", "total", "by-account", "include", "yes"}));
    if (c.args.words().size() != 2)
        throw UsageError("bank write 不带其他参数");
    const exchange::BankOptions opt = options(c);
    const auto tpl = openScreen(c);
    if (!tpl)
        return 1;
    SilentProgress progress;
    std::string written;
    const Outcome o = exchange::writeBankFile(c.session, *tpl, opt, c.prompt, progress, &written);
    const int rc = report(c, o);
    if (o.ok)
        std::cout << written << "\n";
    return rc;
}

int bankPrint(Context& c) {
    c.args.allowOnly(withLogin({"pdf", "by-account", "include"}));
    const std::string pdf = c.args.get("pdf", "");
    if (pdf.empty())
        throw UsageError("缺少 --pdf FILE");
    const exchange::BankOptions opt = options(c);
    const auto tpl = openScreen(c);
    if (!tpl)
        return 1;
    SilentProgress progress;
    const exchange::BankData data = exchange::collectBankData(c.session, *tpl, opt, progress);
    exchange::ControlList list = exchange::bankControlList(c.session, *tpl, data);
    if (!list.job)
        return report(c, list.refusal);
    return writePdf(c, *list.job, pdf);
}

int bankCopy(Context& c) {
    c.args.allowOnly(withLogin({"to", "name", "yes"}));
    const std::string to = c.args.require("to");
    const std::string name = c.args.get("name", exchange::BankOptions{}.fileName);
    if (!openAndLogin(c))
        return 1;
    return report(c, exchange::copyBankFile(c.session, name, to, c.prompt));
}

} // namespace

int cmdBank(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "template") {
        const auto& w = c.args.words();
        const std::string what = w.size() > 2 ? w[2] : "";
        if (w.size() != 3 || (what != "show" && what != "set"))
            throw UsageError("bank template 的子命令: show, set");
        return what == "show" ? templateShow(c) : templateSet(c);
    }
    if (sub == "write")
        return bankWrite(c);
    if (sub == "print")
        return bankPrint(c);
    if (sub == "copy")
        return bankCopy(c);
    throw UsageError("bank 的子命令: template show|set, write, print, copy");
}

} // namespace gzgl::cli

// link, voucher and acct: the accounting link (single-user folder or
// network catalog through ODBC), the transfer rules and the voucher
// transfer from a terminal, and a demo accounting folder or catalog to try
// them on. The network form's password is never kept: it comes from
// --db-password, else the environment variable GZGL_DB_PASSWORD, else the
// data source's own configuration. The rules are shown and set as text
// lines, one rule per line as its seven grid cells separated by TABs
// (部门, 工资项目, 转账属性, 摘要, 借方科目, 贷方科目, 凭证号).
#include "app/cli/commands.h"

#include "accounting/demo.h"
#include "accounting/link.h"
#include "accounting/transfer.h"
#include "core/text.h"
#include "monthly/refresh.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace gzgl::cli {

namespace {

using namespace gzgl::accounting;

constexpr std::size_t kRuleCells = 7;

std::string dbPassword(Context& c) {
    if (const auto p = c.args.get("db-password"))
        return *p;
    const char* env = std::getenv("GZGL_DB_PASSWORD");
    return env ? env : "";
}

// The linked set, or the refusal shown (title "提示", as the menu command
// shows it) and null.
std::unique_ptr<AccountingStore> linkedStore(Context& c) {
    try {
        return openLinkedStore(c.session, dbPassword(c));
    } catch (const AccountingError& e) {
        c.prompt.message(e.what(), "提示", Icon::Exclamation);
        return nullptr;
    }
}

const char* columnCaption(RuleColumn column) {
    switch (column) {
    case RuleColumn::Departments:
        return "部门";
    case RuleColumn::Items:
        return "工资项目";
    case RuleColumn::Attributes:
        return "转账属性";
    case RuleColumn::Summary:
        return "摘要";
    case RuleColumn::Debit:
        return "借方科目";
    case RuleColumn::Credit:
        return "贷方科目";
    case RuleColumn::Number:
        return "凭证号";
    case RuleColumn::None:
        break;
    }
    return "";
}

int reportCheck(Context& c, const RuleCheck& check) {
    if (!check.outcome.ok && check.rule >= 0)
        std::cerr << "第" << check.rule + 1 << "条公式 " << columnCaption(check.column) << "\n";
    return report(c, check.outcome);
}

int linkShow(Context& c) {
    c.args.allowOnly(withLogin());
    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    const Recordset rs =
        s.sysConn.query("Select F_ZTID,F_ZTPATH,F_ZZ from GZSysInfo where F_ID=?", {s.curTaskID});
    const std::string id = rs.empty() ? std::string() : trim(rs.row(0)[0].toString());
    if (id.empty()) {
        std::cout << "未连接财务系统\n";
        return 0;
    }
    std::cout << id << '\t' << trim(rs.row(0)[1].toString()) << '\t'
              << (rs.row(0)[2].toInt() == 1 ? "本月已转账" : "本月未转账") << "\n";
    return 0;
}

int linkSet(Context& c) {
    c.args.allowOnly(withLogin({"folder", "set", "none", "odbc", "product", "db-password"}));
    LinkFields f;
    if (c.args.flag("none")) {
        if (c.args.get("folder") || c.args.get("set") || c.args.get("odbc"))
            throw UsageError("--none 不能与 --folder、--odbc、--set 同用");
    } else if (const auto odbc = c.args.get("odbc")) {
        if (c.args.get("folder"))
            throw UsageError("--odbc 不能与 --folder 同用");
        f.choice = LinkChoice::Network;
        f.server = *odbc;
        f.product = c.args.get("product", "");
        f.password = dbPassword(c);
        f.setName = c.args.get("set", "");
    } else {
        f.choice = LinkChoice::SingleUser;
        const std::string folder = trim(c.args.require("folder"));
        std::error_code ec;
        f.folder = folder.empty() ? folder : fs::absolute(folder, ec).lexically_normal().string();
        f.setName = c.args.get("set", "");
    }
    if (!openAndLogin(c))
        return 1;
    const Outcome o = confirmLink(c.session, f, kLinkChangePath);
    if (o.ok && f.choice != LinkChoice::None)
        std::cout << c.session.linkedSetID << '\t' << c.session.linkedSetPath << "\n";
    return report(c, o);
}

int rulesList(Context& c) {
    c.args.allowOnly(withLogin());
    if (!openAndLogin(c))
        return 1;
    std::vector<std::vector<std::string>> rows;
    for (const TransferRule& r : loadRules(c.session))
        rows.push_back({r.departments, r.items, r.attributes, r.summary, r.debit, r.credit, r.number});
    printRows(rows);
    return 0;
}

int rulesSet(Context& c) {
    c.args.allowOnly(withLogin({"db-password"}));
    std::vector<TransferRule> rules;
    std::string line;
    int lineNo = 0;
    while (std::getline(std::cin, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (trim(line).empty())
            continue;
        std::vector<std::string> cells = splitTabs(line);
        if (cells.size() > kRuleCells)
            throw UsageError("第" + std::to_string(lineNo) + "行多于七格（以制表符分隔）");
        cells.resize(kRuleCells);
        rules.push_back({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6]});
    }
    if (!openAndLogin(c))
        return 1;
    const std::unique_ptr<AccountingStore> store = linkedStore(c);
    if (!store)
        return 1;
    return reportCheck(c, saveRules(c.session, *store, rules));
}

int voucherRun(Context& c) {
    c.args.allowOnly(withLogin({"date", "unite", "yes", "db-password"}));
    const std::string date = trim(c.args.require("date"));
    if (date.size() != 8 || !allDigits(date))
        throw UsageError("--date 应为 YYYYMMDD");
    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    const std::optional<VoucherDate> d =
        parseVoucherDate(date.substr(0, 4), date.substr(4, 2), date.substr(6, 2));
    if (!d)
        return report(c, Outcome::refuse(kBadDate, s.productShortName, Icon::Exclamation));
    const std::unique_ptr<AccountingStore> store = linkedStore(c);
    if (!store)
        return 1;
    // What the transfer screen does when it opens.
    monthly::RefreshMonthData(s, monthly::FixedItems::All);
    TransferRequest request{*d, loadRules(s), c.args.flag("unite")};
    SilentProgress progress;
    const Outcome o = runTransfer(s, *store, c.prompt, request, progress);
    return report(c, o);
}

// The current period of the home's first task, else this month: the demo
// sets then stand in the salary period the user is most likely to try.
YearMonth demoPeriod(Context& c) {
    const Value first = c.session.sysConn.scalar("Select F_DQRQ from GZSysInfo order by F_ID");
    const std::string p = trim(first.toString());
    if (p.size() == 6 && allDigits(p))
        return {std::stoi(p.substr(0, 4)), std::stoi(p.substr(4, 2))};
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1};
}

int acctDemo(Context& c) {
    c.args.allowOnly({"dir", "user", "period", "odbc", "product", "db-password"});
    const auto odbc = c.args.get("odbc");
    if (odbc && c.args.get("dir"))
        throw UsageError("--odbc 不能与 --dir 同用");
    const std::string dir = odbc ? std::string() : trim(c.args.require("dir"));
    if (!odbc && dir.empty())
        throw UsageError("缺少 --dir DIR");
    std::optional<YearMonth> period;
    if (const auto p = c.args.get("period")) {
        const std::optional<std::string> checked =
            p->size() == 6 ? periodOf(p->substr(0, 4), p->substr(4, 2)) : std::nullopt;
        if (!checked)
            throw UsageError("--period 应为 YYYYMM");
        period = YearMonth{std::stoi(p->substr(0, 4)), std::stoi(p->substr(4, 2))};
    }
    if (!openHome(c))
        return 1;
    // Without --user every task's operator may transfer.
    std::vector<std::string> users = c.args.getAll("user");
    if (users.empty()) {
        const Recordset ops = c.session.sysConn.query("Select Distinct F_RYXM from GZSysInfo");
        for (std::size_t i = 0; i < ops.size(); ++i)
            users.push_back(trim(ops.row(i)[0].toString()));
    }
    try {
        if (odbc) {
            LinkFields f;
            f.server = *odbc;
            f.product = c.args.get("product", "");
            const NetworkLink net = networkLinkOf(f);
            layoutDemoNetworkAccounting(net, dbPassword(c), users, period ? *period : demoPeriod(c));
            std::cout << networkPath(net) << "\n";
        } else {
            layoutDemoAccounting(dir, users, period ? *period : demoPeriod(c));
            std::error_code ec;
            std::cout << fs::absolute(dir, ec).lexically_normal().string() << "\n";
        }
    } catch (const AccountingError& e) {
        c.prompt.message(e.what(), "提示", Icon::Exclamation);
        return 1;
    }
    for (const AccountingSet& set : demoSets())
        std::cout << set.id << '\t' << set.name << "\n";
    return 0;
}

} // namespace

int cmdLink(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "show")
        return linkShow(c);
    if (sub == "set")
        return linkSet(c);
    throw UsageError("link 的子命令: show, set");
}

int cmdVoucher(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "rules") {
        const auto& w = c.args.words();
        const std::string what = w.size() > 2 ? w[2] : "";
        if (w.size() != 3 || (what != "list" && what != "set"))
            throw UsageError("voucher rules 的子命令: list, set");
        return what == "list" ? rulesList(c) : rulesSet(c);
    }
    if (sub == "run")
        return voucherRun(c);
    throw UsageError("voucher 的子命令: rules list|set, run");
}

int cmdAcct(Context& c) {
    if (subcommand(c) == "demo")
        return acctDemo(c);
    throw UsageError("acct 的子命令: demo");
}

} // namespace gzgl::cli

// item, formula and tax: the item page, the formula page and the tax page of
// the item maintenance screen, from a terminal.
#include "app/cli/commands.h"

#include "core/text.h"
#include "items/cumulative_tax.h"
#include "items/formulas.h"
#include "items/items.h"
#include "items/line_order.h"
#include "items/taxrates.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <set>
#include <string>

namespace gzgl::cli {

namespace {

using namespace gzgl::items;

int number(const std::string& key, const std::string& text) {
    if (text.empty() || text.size() > 9 || !allDigits(text))
        throw UsageError("--" + key + " 应为非负整数");
    return std::stoi(text);
}

bool zeroOne(const std::string& key, const std::string& text) {
    if (text != "0" && text != "1")
        throw UsageError("--" + key + " 应为 0 或 1");
    return text == "1";
}

bool upOrDown(Context& c) {
    const auto& w = c.args.words();
    if (w.size() != 3 || (w[2] != "up" && w[2] != "down"))
        throw UsageError(w[0] + " move 之后应为 up 或 down");
    return w[2] == "up";
}

const std::set<std::string> kLogin = withLogin();

// The dialog options over the fields f already holds.
void applyItemOptions(const Args& a, ItemFields& f, bool changing) {
    if (auto v = a.get("name"))
        f.name = *v;
    if (auto v = a.get("type")) {
        const auto& types = itemTypes();
        if (std::find(types.begin(), types.end(), *v) == types.end())
            throw UsageError("--type 应为 数字、文字 或 日期");
        f.type = *v;
    }
    if (auto v = a.get("prec"))
        f.prec = *v;
    if (auto v = a.get("width"))
        f.width = number("width", *v);
    if (auto v = a.get("show"))
        f.show = zeroOne("show", *v);
    if (auto v = a.get("print"))
        f.print = zeroOne("print", *v);
    if (auto v = a.get("fixed")) {
        if (changing && *v == "off") {
            f.change = false;
        } else {
            f.change = true;
            f.chgValue = *v;
        }
    }
}

const std::set<std::string> kItemOptions = {"name", "type", "prec", "width", "show", "print", "fixed"};

int itemList(Context& c) {
    c.args.allowOnly(kLogin);
    if (!openAndLogin(c))
        return 1;
    printRows(itemListRows(c.session));
    return 0;
}

int itemAdd(Context& c) {
    std::set<std::string> allowed = kLogin;
    allowed.insert(kItemOptions.begin(), kItemOptions.end());
    c.args.allowOnly(allowed);
    ItemFields f;
    f.name = c.args.require("name");
    applyItemOptions(c.args, f, false);
    if (!openAndLogin(c))
        return 1;
    const AddItemResult r = addItem(c.session, f);
    if (r.outcome.ok)
        std::cout << r.code << "\n";
    return report(c, r.outcome);
}

int itemChange(Context& c) {
    std::set<std::string> allowed = withLogin({"code"});
    allowed.insert(kItemOptions.begin(), kItemOptions.end());
    c.args.allowOnly(allowed);
    const std::string code = c.args.require("code");
    ItemFields probe;
    applyItemOptions(c.args, probe, true); // usage errors before the login
    if (!openAndLogin(c))
        return 1;
    const std::optional<Item> item = findItem(c.session, code);
    ItemFields f = item ? fieldsOf(*item) : ItemFields{};
    applyItemOptions(c.args, f, true);
    return report(c, changeItem(c.session, item ? item->code : std::string(), f));
}

int itemDelete(Context& c) {
    c.args.allowOnly(withLogin({"code", "yes"}));
    const std::string code = c.args.require("code");
    if (!openAndLogin(c))
        return 1;
    return report(c, deleteItem(c.session, c.prompt, code));
}

int itemMove(Context& c) {
    c.args.allowOnly(withLogin({"code"}));
    const std::string code = c.args.require("code");
    const bool up = upOrDown(c);
    if (!openAndLogin(c))
        return 1;
    return report(c, moveItem(c.session, code, up));
}

void printLine(const FormulaLine& l) { std::cout << l.id << '\t' << l.code << '\t' << l.formula << "\n"; }

int formulaList(Context& c) {
    c.args.allowOnly(kLogin);
    if (!openAndLogin(c))
        return 1;
    for (const FormulaLine& l : loadFormulaLines(c.session))
        printLine(l);
    return 0;
}

int formulaAdd(Context& c, bool replacing) {
    c.args.allowOnly(replacing ? withLogin({"code", "id", "text", "yes"}) : withLogin({"code", "text", "yes"}));
    FormulaEdit e;
    e.code = c.args.require("code");
    e.text = c.args.require("text");
    if (replacing)
        e.selectedId = number("id", c.args.require("id"));
    if (!openAndLogin(c))
        return 1;
    if (replacing) {
        bool found = false;
        for (const FormulaLine& l : loadFormulaLines(c.session))
            found = found || (l.id == *e.selectedId && l.code == trim(e.code));
        if (!found)
            throw UsageError("--id " + std::to_string(*e.selectedId) + " 不是 " + e.code + " 的公式");
    }
    const FormulaResult r = putFormula(c.session, c.prompt, e);
    if (r.outcome.ok)
        std::cout << r.id << "\n";
    return report(c, r.outcome);
}

int formulaDelete(Context& c) {
    c.args.allowOnly(withLogin({"code", "id"}));
    const std::string code = c.args.require("code");
    const int id = number("id", c.args.require("id"));
    if (!openAndLogin(c))
        return 1;
    return report(c, removeFormula(c.session, code, id));
}

int formulaMove(Context& c) {
    c.args.allowOnly(withLogin({"id"}));
    const int id = number("id", c.args.require("id"));
    const bool up = upOrDown(c);
    if (!openAndLogin(c))
        return 1;
    const FormulaResult r = moveFormula(c.session, c.prompt, id, up);
    if (r.outcome.ok && r.changed)
        std::cout << r.id << "\n";
    return report(c, r.outcome);
}

int formulaCheck(Context& c) {
    c.args.allowOnly(withLogin({"text"}));
    const std::string text = c.args.require("text");
    if (!openAndLogin(c))
        return 1;
    return report(c, checkFormula(c.session, cleanFormula(text)));
}

void printBrackets(const std::vector<TaxRow>& rows) {
    for (const TaxRow& r : rows)
        std::cout << r.start << '\t' << r.end << '\t' << r.rate << '\t' << r.quick << "\n";
}

int taxList(Context& c) {
    c.args.allowOnly(withLogin({"annual"}));
    if (!openAndLogin(c))
        return 1;
    if (c.args.flag("annual")) {
        const AnnualTable t = loadAnnualTable(c.session);
        std::cout << "每月减除费用\t" << t.deduction << "\n";
        printBrackets(t.rows);
        return 0;
    }
    printBrackets(loadTaxRows(c.session));
    return 0;
}

// One bracket per line: start TAB end TAB rate TAB quick; blank lines skip.
std::vector<TaxRow> readBrackets(std::istream& in) {
    std::vector<TaxRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (trim(line).empty())
            continue;
        std::vector<std::string> cells = splitTabs(line);
        if (cells.size() > 4)
            throw UsageError("每行应为 起始值<TAB>终止值<TAB>税率<TAB>速算扣除");
        cells.resize(4);
        rows.push_back({cells[0], cells[1], cells[2], cells[3]});
    }
    return rows;
}

// The typed cells as the grid would keep them; the refusal of the first
// illegal one.
std::optional<Outcome> acceptCells(std::vector<TaxRow>& rows) {
    for (TaxRow& r : rows)
        for (std::string* cell : {&r.start, &r.end, &r.rate, &r.quick}) {
            const CellResult cr = acceptTaxCell(*cell);
            if (!cr.outcome.ok)
                return cr.outcome;
            *cell = cr.shown;
        }
    return std::nullopt;
}

int taxSet(Context& c) {
    c.args.allowOnly(withLogin({"threshold", "annual", "deduction"}));
    const bool annual = c.args.flag("annual");
    if (annual && c.args.get("threshold"))
        throw UsageError("--annual 用 --deduction 给出每月减除费用");
    if (!annual && c.args.get("deduction"))
        throw UsageError("--deduction 只用于 --annual");
    const std::string threshold = annual ? std::string() : c.args.require("threshold");
    std::vector<TaxRow> rows = readBrackets(std::cin);
    if (!openAndLogin(c))
        return 1;
    if (std::optional<Outcome> o = acceptCells(rows))
        return report(c, *o);
    if (!annual)
        return report(c, saveBrackets(c.session, threshold, rows));
    AnnualTable t{loadAnnualTable(c.session).deduction, rows};
    if (auto d = c.args.get("deduction"))
        t.deduction = *d;
    return report(c, saveAnnualTable(c.session, t));
}

// Prints the lines of code with ids in (last - count, last].
void printNewLines(Context& c, const FormulaResult& r, int count) {
    if (r.outcome.ok && r.changed)
        for (const FormulaLine& l : loadFormulaLines(c.session))
            if (l.id > r.id - count && l.id <= r.id)
                printLine(l);
}

int taxGenerate(Context& c) {
    if (c.args.flag("annual")) {
        c.args.allowOnly(withLogin({"annual", "yes"}));
        if (!openAndLogin(c))
            return 1;
        const auto added = static_cast<int>(
            annualFormulaTexts(loadAnnualTable(c.session), loadCumulativeChoice(c.session)).size());
        const FormulaResult r = generateAnnualFormulas(c.session, c.prompt);
        printNewLines(c, r, added);
        return report(c, r.outcome);
    }
    c.args.allowOnly(withLogin({"code", "threshold", "yes"}));
    const std::string code = c.args.require("code");
    const std::string threshold = c.args.require("threshold");
    if (!openAndLogin(c))
        return 1;
    const std::vector<TaxRow> rows = loadTaxRows(c.session);
    const auto added = static_cast<int>(taxFormulaTexts(threshold, rows).size());
    const FormulaResult r = generateTaxFormulas(c.session, c.prompt, code, threshold, rows);
    printNewLines(c, r, added);
    return report(c, r.outcome);
}

int taxMethod(Context& c) {
    c.args.allowOnly(kLogin);
    const auto& w = c.args.words();
    if (w.size() > 3)
        throw UsageError("tax method 之后最多一个计税方法");
    if (!openAndLogin(c))
        return 1;
    if (w.size() == 2) {
        std::cout << loadTaxMethod(c.session) << "\n";
        return 0;
    }
    return report(c, setTaxMethod(c.session, w[2]));
}

int taxCumulative(Context& c) {
    c.args.allowOnly(withLogin({"income", "deductions", "tax"}));
    const bool setting = c.args.get("income") || c.args.get("deductions") || c.args.get("tax");
    if (!openAndLogin(c))
        return 1;
    CumulativeChoice choice = loadCumulativeChoice(c.session);
    if (!setting) {
        std::string deductions;
        for (const std::string& d : choice.deductions)
            deductions += (deductions.empty() ? "" : ",") + d;
        std::cout << "收入项目\t" << choice.income << "\n扣除项目\t" << deductions << "\n税额项目\t" << choice.tax
                  << "\n";
        return 0;
    }
    if (auto v = c.args.get("income"))
        choice.income = *v;
    if (auto v = c.args.get("tax"))
        choice.tax = *v;
    if (auto v = c.args.get("deductions"))
        choice.deductions = splitAt(*v, ',');
    return report(c, setCumulativeChoice(c.session, choice));
}

int formulaCheckOrder(Context& c) {
    c.args.allowOnly(kLogin);
    if (!openAndLogin(c))
        return 1;
    return report(c, lineOrderReport(c.session));
}

} // namespace

int cmdItem(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "list")
        return itemList(c);
    if (sub == "add")
        return itemAdd(c);
    if (sub == "change")
        return itemChange(c);
    if (sub == "delete")
        return itemDelete(c);
    if (sub == "move")
        return itemMove(c);
    throw UsageError("item 之后应为 list、add、change、delete 或 move");
}

int cmdFormula(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "list")
        return formulaList(c);
    if (sub == "add")
        return formulaAdd(c, false);
    if (sub == "replace")
        return formulaAdd(c, true);
    if (sub == "delete")
        return formulaDelete(c);
    if (sub == "move")
        return formulaMove(c);
    if (sub == "check")
        return formulaCheck(c);
    if (sub == "check-order")
        return formulaCheckOrder(c);
    throw UsageError("formula 之后应为 list、add、replace、delete、move、check 或 check-order");
}

int cmdTax(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "list")
        return taxList(c);
    if (sub == "set")
        return taxSet(c);
    if (sub == "generate")
        return taxGenerate(c);
    if (sub == "method")
        return taxMethod(c);
    if (sub == "cumulative")
        return taxCumulative(c);
    throw UsageError("tax 之后应为 list、set、generate、method 或 cumulative");
}

} // namespace gzgl::cli

// data set and export: the salary entry screen from a terminal. Both run
// the screen's opening (the month-data refresh, the grid loaded and
// recalculated) first. data set types one value into one cell with every
// rule and message of the grid and prints the cell and the net pay
// afterwards; export writes the grid as an Excel workbook.
#include "app/cli/commands.h"

#include "core/text.h"
#include "monthly/entry.h"
#include "monthly/entry_export.h"

#include <iostream>

namespace gzgl::cli {

namespace {

// The grid of every department, or of those whose code begins with dep.
items::SalarySettings allItems(Session& s, const std::string& dep, const std::string& empNo) {
    items::SalarySettings set;
    set.department = dep;
    set.empNo = empNo;
    for (const items::SalarySetItem& i : items::salarySetItems(s))
        if (i.ticked)
            set.codes.push_back(i.code);
    return set;
}

int dataSet(Context& c) {
    c.args.allowOnly(withLogin({"emp", "item"}));
    const std::string empNo = trim(c.args.require("emp"));
    const std::string code = upperAscii(trim(c.args.require("item")));
    const std::vector<std::string>& w = c.args.words();
    if (w.size() != 3)
        throw UsageError("data set 需要一个值");
    const std::string value = w[2];
    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    monthly::SalaryEntry e(s);
    SilentProgress progress;
    const items::SalarySettings set = allItems(s, "", empNo);
    e.open(progress, &set);

    int row = -1;
    for (int r = calc::kFirstEmployeeRow; r < e.grid().rows(); ++r)
        if (trim(e.grid().cell(r, 0)) == empNo)
            row = r;
    if (row < 0)
        return report(c, Outcome::refuse(monthly::kNoSuchPerson, s.productTitle, Icon::Exclamation));
    const int col = code == "F001" ? 0 : code == "F002" ? 1 : e.grid().columnOf(code);
    if (col < 0)
        return report(c, Outcome::refuse("没有代码为" + code + "的工资项目！", s.productTitle, Icon::Exclamation));
    if (!e.editable(row, col))
        return report(c, Outcome::refuse("项目" + code + "（" + e.column(col).name + "）不能录入：" +
                                              (e.hasFormula(code) ? "其值由公式计算。" : "其值不在工资数据中。"),
                                          s.productTitle, Icon::Exclamation));
    const monthly::EditResult r = e.endEdit(row, col, e.grid().cell(row, col), value);
    if (!r.outcome.ok)
        return report(c, r.outcome);
    std::cout << code << '\t' << r.shown << "\n";
    if (const int net = e.grid().columnOf("F000"); net >= 0 && net != col)
        std::cout << "F000\t" << e.grid().cell(row, net) << "\n";
    return 0;
}

} // namespace

int cmdData(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "set")
        return dataSet(c);
    throw UsageError("data 的子命令: set");
}

int cmdExport(Context& c) {
    c.args.allowOnly(withLogin({"xlsx", "dep", "yes", "with-accounts"}));
    const std::string path = c.args.require("xlsx");
    const std::string dep = trim(c.args.get("dep", ""));
    if (c.args.words().size() != 1)
        throw UsageError("export 不接受其他参数");
    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    monthly::SalaryEntry e(s);
    SilentProgress progress;
    const items::SalarySettings set = allItems(s, dep, "");
    e.open(progress, &set);
    const bool withAccounts = c.args.flag("with-accounts");
    return monthly::exportSheet(c.prompt, s.productTitle, path,
                                withAccounts ? monthly::entrySheetWithAccounts(e) : monthly::entrySheet(e))
               ? 0
               : 1;
}

} // namespace gzgl::cli

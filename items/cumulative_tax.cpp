#include "items/cumulative_tax.h"

#include "calc/numformat.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/settings.h"
#include "core/text.h"
#include "items/itemcode.h"
#include "items/items.h"
#include "period/periods.h"

#include <algorithm>
#include <set>

namespace gzgl::items {

namespace {

// The task parameters (tbSysSet.ParaName) of the method.
const char* const kMethodParam = "SDSFS";   // the method's name
const char* const kIncomeParam = "LJSR";    // income item
const char* const kDeductParam = "LJKC";    // deduction items, joined by ","
const char* const kTaxParam = "LJSE";       // tax item
const char* const kBasicParam = "JCFY";     // monthly basic deduction
const char* const kRowParam = "NDSL";       // + two digits: one bracket
constexpr std::size_t kMaxRows = 99;

Outcome refuse(const std::string& message, const char* focus = nullptr) {
    return Outcome::refuse(message, kTitle, Icon::Exclamation, focus ? focus : "");
}

Outcome failure(const std::exception& e) {
    return Outcome::refuse(std::string("存贮失败！\n") + e.what(), kTitle, Icon::Critical);
}

std::string rowParam(std::size_t n) { return kRowParam + zeroPad(static_cast<int>(n), 2); }

// A stored cell as the grid shows it: a number "#0.00", an open end empty;
// a damaged text is kept as it is so that the check refuses it.
std::string shownCell(const std::string& text, bool end) {
    const std::string t = trim(text);
    const CellResult c = acceptTaxCell(t);
    if (!c.outcome.ok)
        return t;
    if (end && !t.empty() && openBracketEnd(readNumber(t)))
        return {};
    return c.shown;
}

std::vector<std::string> splitCodes(const std::string& text) {
    std::vector<std::string> out;
    for (const std::string& piece : splitAt(text, ','))
        if (!trim(piece).empty())
            out.push_back(upperAscii(trim(piece)));
    return out;
}

std::string joinCodes(const std::vector<std::string>& codes) {
    std::string out;
    for (const std::string& c : codes)
        out += (out.empty() ? "" : ",") + c;
    return out;
}

// Net pay, the rounding-off and the reserved items are never chosen.
bool usedElsewhere(const std::string& code) {
    return code == "F000" || code == "FFFD" || code == "FFFE" || code == "FFFF" || isCumulativeCode(code);
}

double cents(double v) { return readNumber(formatMoney(v)); }

// Creates the reserved items that are missing and gives each its column.
// The caller owns the transaction.
void createReservedItems(Session& s) {
    for (const ReservedItem& r : cumulativeItems()) {
        if (!findItem(s, r.code)) {
            const auto id = s.taskConn.scalar("Select max(F_ID) from " + itemTable(s)).toInt() + 1;
            s.taskConn.execute("Insert Into " + itemTable(s) +
                                   "(F_ID,F_Code,F_Name,F_Type,F_Prec,F_Show,F_Width,F_Print,F_Change,F_ChgValue)"
                                   " Values(?,?,?,?,2,1,15,1,0,0)",
                               {id, r.code, r.name, kNumber});
        }
        if (!hasDataColumn(s, r.code))
            addDataColumn(s, r.code, " float ");
    }
}

} // namespace

const std::vector<std::string>& taxMethods() {
    static const std::vector<std::string> m = {kMonthlyMethod, kCumulativeMethod};
    return m;
}

std::string loadTaxMethod(Session& s) {
    const std::optional<std::string> v = taskParameter(s, kMethodParam);
    return v && *v == kCumulativeMethod ? kCumulativeMethod : kMonthlyMethod;
}

bool cumulativeMethod(Session& s) { return loadTaxMethod(s) == kCumulativeMethod; }

const std::vector<ReservedItem>& cumulativeItems() {
    static const std::vector<ReservedItem> items = {
        {"FFF1", "上月累计应税收入"}, {"FFF2", "上月累计减除费用"}, {"FFF3", "上月累计已扣税额"}};
    return items;
}

bool isCumulativeCode(std::string_view code) { return code == "FFF1" || code == "FFF2" || code == "FFF3"; }

Outcome setTaxMethod(Session& s, const std::string& method) {
    const std::string m = trim(method);
    if (std::find(taxMethods().begin(), taxMethods().end(), m) == taxMethods().end())
        return refuse(std::string("计税方法应为“") + kMonthlyMethod + "”或“" + kCumulativeMethod + "”！", "cmbMethod");
    const bool cumulative = m == kCumulativeMethod;
    if (cumulative)
        for (const ReservedItem& r : cumulativeItems()) {
            const Recordset rs =
                s.taskConn.query("Select F_Code from " + itemTable(s) + " where F_Name=? and F_Code<>?", {r.name, r.code});
            if (!rs.empty())
                return refuse(std::string("已有名为“") + r.name + "”的项目（" + trim(rs.row(0)[0].toString()) +
                                  "），请先将它改名！",
                              "cmbMethod");
        }
    try {
        ensureParameterTable(s.sysConn);
        period::SystemAttached sys(s);
        Transaction t(s.taskConn);
        if (cumulative)
            createReservedItems(s);
        putTaskParameter(s.taskConn, "sys.tbSysSet", s.curTaskID, kMethodParam, m);
        t.commit();
    } catch (const std::exception& e) {
        return failure(e);
    }
    const std::string next = cumulative ? "请选择收入、扣除和税额项目，再生成累计预扣公式。"
                                        : "请重新生成所得税公式。";
    return Outcome{true, "计税方法已改为“" + m + "”。" + next, kTitle, Icon::Information, {}};
}

AnnualTable builtInAnnualTable() {
    static const double brackets[][4] = {
        {0, 36000, 3, 0},           {36000, 144000, 10, 2520}, {144000, 300000, 20, 16920},
        {300000, 420000, 25, 31920}, {420000, 660000, 30, 52920}, {660000, 960000, 35, 85920},
        {960000, 0, 45, 181920},
    };
    AnnualTable t;
    t.deduction = formatMoney(5000);
    for (const auto& b : brackets)
        t.rows.push_back({formatMoney(b[0]), b[1] == 0 ? std::string() : formatMoney(b[1]), formatMoney(b[2]),
                          formatMoney(b[3])});
    return t;
}

AnnualTable loadAnnualTable(Session& s) {
    const std::optional<std::string> basic = taskParameter(s, kBasicParam);
    Recordset rs;
    if (s.sysConn.hasTable("tbSysSet"))
        rs = s.sysConn.query("select ParaName,ParaValue from tbSysSet where ztName=? and ParaName like ? "
                             "order by ParaName",
                             {s.curTaskID, std::string(kRowParam) + "%"});
    if (!basic && rs.empty())
        return builtInAnnualTable();
    AnnualTable t;
    t.deduction = basic ? shownCell(*basic, false) : std::string();
    for (std::size_t i = 0; i < rs.size(); ++i) {
        std::vector<std::string> cells = splitAt(rs.row(i)[1].toString(), ',');
        cells.resize(4);
        t.rows.push_back(
            {shownCell(cells[0], false), shownCell(cells[1], true), shownCell(cells[2], false), shownCell(cells[3], false)});
    }
    return t;
}

namespace {

// The annual table checked and turned into its parameter values, one per
// bracket; the refusal when it fails.
Outcome checkAnnual(const AnnualTable& table, std::vector<std::string>& values) {
    if (trim(table.deduction).empty())
        return Outcome::refuse("必须输入每月减除费用!", "警告", Icon::Exclamation, "txtDeduct");
    if (Outcome o = checkBrackets(table.deduction, table.rows); !o.ok)
        return o;
    // An empty table would withhold nothing from anyone.
    if (std::all_of(table.rows.begin(), table.rows.end(), [](const TaxRow& r) { return r.empty(); }))
        return refuse("年度税率表不能为空！", "msfYearRate");
    for (const TaxRow& r : table.rows)
        if (!r.empty()) {
            const double end = readNumber(trim(r.end));
            values.push_back(plainDecimal(readNumber(trim(r.start))) + "," +
                             (openBracketEnd(end) ? std::string("0") : plainDecimal(end)) + "," +
                             plainDecimal(readNumber(trim(r.rate))) + "," + plainDecimal(readNumber(trim(r.quick))));
        }
    if (values.size() > kMaxRows)
        return refuse("年度税率表最多99行！", "msfYearRate");
    return Outcome::success();
}

void writeAnnual(Session& s, const AnnualTable& table, const std::vector<std::string>& values) {
    s.sysConn.execute("delete from tbSysSet where ztName=? and ParaName like ?",
                      {s.curTaskID, std::string(kRowParam) + "%"});
    for (std::size_t i = 0; i < values.size(); ++i)
        putTaskParameter(s.sysConn, "tbSysSet", s.curTaskID, rowParam(i + 1), values[i]);
    putTaskParameter(s.sysConn, "tbSysSet", s.curTaskID, kBasicParam, plainDecimal(readNumber(trim(table.deduction))));
}

// The choice with its codes trimmed and upper-cased, checked.
Outcome checkChoice(Session& s, const CumulativeChoice& choice, CumulativeChoice& c) {
    c.income = upperAscii(trim(choice.income));
    c.tax = upperAscii(trim(choice.tax));
    for (const std::string& d : choice.deductions)
        if (!trim(d).empty())
            c.deductions.push_back(upperAscii(trim(d)));
    if (c.income.empty())
        return refuse("请选择本月收入项目！", "cmbIncome");
    if (c.tax.empty())
        return refuse("请选择税额项目！", "cmbTax");
    std::vector<std::string> all = {c.income, c.tax};
    all.insert(all.end(), c.deductions.begin(), c.deductions.end());
    std::set<std::string> seen;
    for (const std::string& code : all) {
        const std::optional<Item> item = isItemCode(code) ? findItem(s, code) : std::nullopt;
        if (!item || item->type != kNumber)
            return refuse("项目" + code + "不存在或不是数字项目！", "cmbIncome");
        if (usedElsewhere(code))
            return refuse("“" + item->name + "”不能用于累计预扣！", "cmbIncome");
        if (!seen.insert(code).second)
            return refuse("“" + item->name + "”选择了两次！", "cmbIncome");
    }
    if (c.tax == "F003")
        return refuse("应发工资不能作为税额项目！", "cmbTax");
    return Outcome::success();
}

void writeChoice(Session& s, const CumulativeChoice& c) {
    putTaskParameter(s.sysConn, "tbSysSet", s.curTaskID, kIncomeParam, c.income);
    putTaskParameter(s.sysConn, "tbSysSet", s.curTaskID, kDeductParam, joinCodes(c.deductions));
    putTaskParameter(s.sysConn, "tbSysSet", s.curTaskID, kTaxParam, c.tax);
}

// Runs write in one transaction of the system database: "成功存贮完毕！".
template <class Write>
Outcome storeParameters(Session& s, Write write) {
    try {
        ensureParameterTable(s.sysConn);
        Transaction t(s.sysConn);
        write();
        t.commit();
    } catch (const std::exception& e) {
        return failure(e);
    }
    return Outcome{true, "成功存贮完毕！", kTitle, Icon::Information, {}};
}

} // namespace

Outcome saveAnnualTable(Session& s, const AnnualTable& table) {
    std::vector<std::string> values;
    if (Outcome o = checkAnnual(table, values); !o.ok)
        return o;
    return storeParameters(s, [&] { writeAnnual(s, table, values); });
}

CumulativeChoice loadCumulativeChoice(Session& s) {
    CumulativeChoice c;
    c.income = upperAscii(taskParameter(s, kIncomeParam).value_or(""));
    c.deductions = splitCodes(taskParameter(s, kDeductParam).value_or(""));
    c.tax = upperAscii(taskParameter(s, kTaxParam).value_or(""));
    return c;
}

std::vector<ItemChoice> cumulativeCandidates(Session& s) {
    std::vector<ItemChoice> out;
    for (const Item& i : loadItems(s))
        if (i.type == kNumber && !usedElsewhere(trim(i.code)))
            out.push_back({trim(i.code), i.name});
    return out;
}

Outcome setCumulativeChoice(Session& s, const CumulativeChoice& choice) {
    CumulativeChoice c;
    if (Outcome o = checkChoice(s, choice, c); !o.ok)
        return o;
    return storeParameters(s, [&] { writeChoice(s, c); });
}

Outcome saveCumulativeSettings(Session& s, const AnnualTable& table, const CumulativeChoice& choice) {
    std::vector<std::string> values;
    if (Outcome o = checkAnnual(table, values); !o.ok)
        return o;
    CumulativeChoice c;
    if (Outcome o = checkChoice(s, choice, c); !o.ok)
        return o;
    return storeParameters(s, [&] {
        writeAnnual(s, table, values);
        writeChoice(s, c);
    });
}

std::vector<std::string> annualFormulaTexts(const AnnualTable& table, const CumulativeChoice& choice) {
    std::string x = "(FFF1+" + choice.income;
    for (const std::string& d : choice.deductions)
        x += "-" + d;
    x += "-FFF2-" + plainDecimal(readNumber(trim(table.deduction))) + ")";
    std::vector<std::string> out = {"0"};
    for (const TaxRow& r : table.rows) {
        const double start = readNumber(trim(r.start));
        const double end = readNumber(trim(r.end));
        const double rate = readNumber(trim(r.rate));
        const double quick = readNumber(trim(r.quick));
        if (start == 0 && end == 0 && rate == 0 && quick == 0)
            continue;
        const std::string due = x + "*" + rateFraction(rate) + "-" + plainDecimal(quick);
        std::string cond = "[" + x + ">" + plainDecimal(start) + "]";
        if (!openBracketEnd(end))
            cond += "&[" + x + "<=" + plainDecimal(end) + "]";
        cond += "&[" + due + ">FFF3]";
        out.push_back("{" + cond + "," + due + "-FFF3}");
    }
    return out;
}

FormulaResult generateAnnualFormulas(Session& s, Prompt& p) {
    FormulaResult r;
    if (!cumulativeMethod(s)) {
        r.outcome = refuse(std::string("计税方法不是“") + kCumulativeMethod + "”，不能生成累计预扣公式！", "cmbMethod");
        return r;
    }
    const CumulativeChoice choice = loadCumulativeChoice(s);
    if (!choice.complete()) {
        r.outcome = refuse("请先选择本月收入项目和税额项目并存盘！", "cmbIncome");
        return r;
    }
    const AnnualTable table = loadAnnualTable(s);
    std::vector<std::string> values;
    if (Outcome o = checkAnnual(table, values); !o.ok) {
        r.outcome = o;
        return r;
    }
    // A period reopened from before the method was chosen lacks the items.
    for (const ReservedItem& item : cumulativeItems())
        if (!findItem(s, item.code) || !hasDataColumn(s, item.code)) {
            if (Outcome o = setTaxMethod(s, kCumulativeMethod); !o.ok) {
                r.outcome = o;
                return r;
            }
            break;
        }
    std::vector<std::string> inputs = choice.deductions;
    inputs.push_back(choice.income);
    r = replaceFormulaLines(s, p, choice.tax, annualFormulaTexts(table, choice), inputs);
    if (r.outcome.ok && r.changed)
        r.outcome = Outcome{true, "累计预扣公式已生成！", kTitle, Icon::Information, {}};
    return r;
}

std::string cumulativeCloseRefusal(Session& s) {
    if (!cumulativeMethod(s))
        return {};
    const CumulativeChoice c = loadCumulativeChoice(s);
    if (!c.complete())
        return "计税方法为累计预扣法，但收入项目或税额项目未选择，不能结转！";
    std::vector<std::string> all = c.deductions;
    all.push_back(c.income);
    all.push_back(c.tax);
    for (const std::string& code : all)
        if (!isItemCode(code) || !findItem(s, code))
            return "累计预扣法所用的项目" + code + "已不存在，请在所得税页重新选择，不能结转！";
    return {};
}

void carryCumulative(Session& s, const calc::WorkGrid& grid, const std::string& nextPrefix, bool newTaxYear) {
    if (!cumulativeMethod(s))
        return;
    const CumulativeChoice choice = loadCumulativeChoice(s);
    if (!choice.complete())
        throw DbError(cumulativeCloseRefusal(s));
    const std::string data = periodTable(nextPrefix, "Data");
    for (const ReservedItem& r : cumulativeItems())
        if (!s.taskConn.hasColumn(data, r.code))
            return; // the items were never made in this month: nothing to carry
    auto column = [&](const std::string& code) {
        const int c = grid.columnOf(code);
        if (c < 0)
            throw DbError("累计预扣法所用的项目" + code + "已不存在");
        return c;
    };
    const int fa = column("FFF1"), fb = column("FFF2"), fc = column("FFF3");
    const int income = column(choice.income), tax = column(choice.tax);
    std::vector<int> deductions;
    for (const std::string& d : choice.deductions)
        deductions.push_back(column(d));
    const double basic = readNumber(trim(loadAnnualTable(s).deduction));
    Statement update = s.taskConn.prepareStatement("Update " + data + " set FFF1=?,FFF2=?,FFF3=? where F_EmpNo=?");
    auto num = [&](int r, int c) { return readNumber(trim(grid.cell(r, c))); };
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r) {
        if (newTaxYear) {
            update.run({0.0, 0.0, 0.0, grid.cell(r, 0)});
            continue;
        }
        double taxable = num(r, fa) + num(r, income);
        for (int d : deductions)
            taxable -= num(r, d);
        update.run({cents(taxable), cents(num(r, fb) + basic), cents(num(r, fc) + num(r, tax)), grid.cell(r, 0)});
    }
}

} // namespace gzgl::items

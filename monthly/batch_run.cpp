// Batch adjustment: loading the group into a working grid, narrowing it by
// the conditions, and the one-transaction write of the adjusted item.
#include "monthly/batch.h"

#include "base/tree.h"
#include "calc/compiled.h"
#include "calc/evaluator.h"
#include "calc/numformat.h"
#include "calc/recalc.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "monthly/workgrid_load.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <set>

namespace gzgl::monthly {

namespace {

// Refusals name the box of the screen that should get the focus.
Outcome refuse(const std::string& message, const char* focus = "txtFormula") {
    return Outcome::refuse(message, kBatchTitle, Icon::Exclamation, focus);
}

// The whole box as a finite number, or nothing: a typo such as "1O00" must
// not read as 1 and set everybody's pay to it.
std::optional<double> boxNumber(const std::string& text) {
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    if (t.empty())
        return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The group's rows: the selection's joins, every filter a bound
// LIKE prefix with its wildcards escaped.
Recordset selectGroup(Session& s, const BatchRequest& r) {
    const std::string p = s.taskPrefix();
    std::string sql = "Select z.F_EmpNo as F_BatchEmpNo,z.F_EmpName as F_BatchEmpName,w.* from ";
    Params params;
    const std::string depType = trim(r.depType);
    if (!depType.empty()) {
        sql += periodTable(p, "DepType") + " x," + periodTable(p, "Depart") + " y," +
               periodTable(p, "Employee") + " z," + periodTable(p, "Data") +
               " w where x.F_TypeNo=y.F_TypeNo And y.F_DepNo=z.F_DepNo And z.F_EmpNo=w.F_EmpNo And "
               "x.F_TypeName=?";
        params.push_back(depType);
    } else {
        sql += periodTable(p, "Depart") + " y," + periodTable(p, "Employee") + " z," +
               periodTable(p, "Data") + " w where y.F_DepNo=z.F_DepNo And z.F_EmpNo=w.F_EmpNo";
    }
    const std::pair<const char*, std::string> filters[] = {
        {" And y.F_DepNo like ? Escape '\\'", base::textBeforeBlank(r.dep)},
        {" And z.F_EmpType like ? Escape '\\'", base::textBeforeBlank(r.empType)},
        {" And z.F_EmpNo like ? Escape '\\'", trim(r.empNo)},
        {" And z.F_EmpName like ? Escape '\\'", trim(r.name)},
    };
    for (const auto& [clause, value] : filters)
        if (!value.empty()) {
            sql += clause;
            params.push_back(base::likeEscaped(value) + "%");
        }
    sql += " order by z.F_DepNo,z.F_SortNo,z.F_EmpNo";
    return s.taskConn.query(sql, params);
}

// The working grid of the group: numbers "#0.00" (an empty number cell
// "0.00"), other items as stored, "no value" (Null, -9999) empty.
calc::WorkGrid loadGroup(Session& s, const std::vector<ItemColumn>& items, const BatchRequest& r) {
    std::vector<std::string> codes, captions;
    for (const ItemColumn& c : items) {
        codes.push_back(c.code);
        captions.push_back(c.name);
    }
    calc::WorkGrid g(codes, captions);
    const Recordset rs = selectGroup(s, r);
    std::vector<std::optional<std::size_t>> field;
    for (const ItemColumn& c : items)
        field.push_back(isItemCode(upperAscii(c.code)) ? rs.fieldIndex(c.code) : std::nullopt);
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto& row = rs.row(i);
        const int gr = g.addRow();
        for (int col = 0; col < g.cols(); ++col) {
            const ItemColumn& item = items[static_cast<std::size_t>(col)];
            const std::string code = upperAscii(item.code);
            std::string& cell = g.cell(gr, col);
            if (code == "F001") {
                cell = trim(row[0].toString());
                continue;
            }
            if (code == "F002") {
                cell = row[1].toString();
                continue;
            }
            const auto& f = field[static_cast<std::size_t>(col)];
            const Value none;
            const Value& v = f ? row[*f] : none;
            const bool noValue = v.isNull() || trim(v.toString()) == "-9999";
            if (item.type == items::kNumber)
                cell = formatNumber(noValue ? 0.0 : v.toDouble(), "#0.00");
            else if (!noValue)
                cell = v.toString();
        }
    }
    return g;
}

// The codes a batch formula may name: number items that hold a value in
// the grid, stored (a _Data column) or calculated (a formula line). Any
// other code would read as 0. (FFFE and FFFD, worked out with net pay,
// cannot be typed: the formula's characters leave out "E" and "D".)
std::set<std::string> valuedNumberItems(Session& s, const std::vector<ItemColumn>& items) {
    std::set<std::string> stored, calculated;
    for (const std::string& c : s.taskConn.columns(periodTable(s.taskPrefix(), "Data")))
        stored.insert(upperAscii(c));
    const Recordset f = s.taskConn.query("Select F_Code from " + periodTable(s.taskPrefix(), "Formula"));
    for (std::size_t i = 0; i < f.size(); ++i)
        calculated.insert(trim(f.row(i)[0].toString()));
    std::set<std::string> out;
    for (const ItemColumn& c : items)
        if (c.type == items::kNumber && isItemCode(upperAscii(c.code)) &&
            (stored.count(upperAscii(c.code)) || calculated.count(c.code)))
            out.insert(c.code);
    return out;
}

// The number of a cell; 0 for no column or an empty cell.
double cellNumber(const calc::WorkGrid& g, int r, int col) {
    if (col < 0)
        return 0;
    const std::string& t = g.cell(r, col);
    return t.empty() ? 0 : readNumber(t);
}

} // namespace

BatchResult runBatch(Session& s, const BatchRequest& request, Progress& progress) {
    BatchResult result;
    const std::string code = trim(request.item);
    std::optional<ItemColumn> item;
    bool adjustable = false;
    for (const items::ItemChoice& c : adjustableItems(s))
        adjustable = adjustable || upperAscii(c.code) == upperAscii(code);
    const std::vector<ItemColumn> columns = loadItemColumns(s);
    for (const ItemColumn& c : columns)
        if (upperAscii(c.code) == upperAscii(code))
            item = c;
    if (code.empty() || !adjustable || !item || !isItemCode(upperAscii(item->code))) {
        result.outcome = refuse("请选择调整的工资项目。", "cmbItem");
        return result;
    }
    const auto way = static_cast<BatchWay>(request.way);
    const NumberPattern pattern = parsePattern(item->precisionFormat());
    std::optional<double> number;
    const std::string formula = trim(request.input);
    if (way == BatchWay::NewValue || way == BatchWay::Ratio) {
        number = boxNumber(request.input);
        if (!number) {
            result.outcome =
                refuse(way == BatchWay::NewValue ? "请输入调整后的数值。" : "请输入调整的比例。");
            return result;
        }
        if (way == BatchWay::NewValue && !amountFits(*number, pattern)) {
            result.outcome = refuse(kAmountTooLarge);
            return result;
        }
    } else if (way == BatchWay::Formula) {
        if (formula.empty()) {
            result.outcome = refuse("请输入调整的公式。");
            return result;
        }
        result.outcome = checkBatchFormula(formula);
        if (!result.outcome.ok)
            return result;
        const std::set<std::string> valued = valuedNumberItems(s, columns);
        for (const std::string& c : calc::formulaCodes(formula))
            if (!valued.count(c)) {
                result.outcome = refuse("公式错误！");
                return result;
            }
    } else {
        result.outcome = refuse("请选择调整方式。", "cmbWay");
        return result;
    }
    for (const BatchCondition& c : request.conditions)
        if (!isNumberText(trim(c.value))) {
            result.outcome = refuse(kConditionNotNumber, "txtValue");
            return result;
        }

    calc::WorkGrid grid = loadGroup(s, columns, request);
    calc::RecalculateGrid(s, grid, {s.roundOffMode, IsNotCalcOn(s)}, progress);

    std::vector<int> conditionColumns;
    for (const BatchCondition& c : request.conditions)
        conditionColumns.push_back(grid.columnOf(c.code));
    const int target = grid.columnOf(item->code);
    // The formula's codes mapped to columns once for all rows.
    const std::vector<std::string> formulaCodes =
        way == BatchWay::Formula ? calc::formulaCodes(formula) : std::vector<std::string>{};
    std::vector<int> formulaColumns;
    for (const std::string& c : formulaCodes)
        formulaColumns.push_back(grid.columnOf(c));

    struct Change {
        std::string empNo;
        double value;
    };
    std::vector<Change> changes;
    std::vector<double> values;
    // A formula that fails is the first thing to tell, wherever it fails;
    // a value beyond the bound is told once every row has been worked out.
    bool tooLarge = false;
    calc::FormulaState st;
    st.PrecisionFormat = item->precisionFormat();
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r) {
        values.clear();
        for (int col : conditionColumns)
            values.push_back(cellNumber(grid, r, col));
        if (!keepsRow(request.conditions, values))
            continue;
        double v = 0;
        if (way == BatchWay::NewValue) {
            v = *number;
        } else if (way == BatchWay::Ratio) {
            v = cellNumber(grid, r, target) * *number;
        } else {
            values.clear();
            for (int col : formulaColumns)
                values.push_back(cellNumber(grid, r, col));
            const std::string text = calc::SubstituteValues(formula, values.data());
            if (calc::EvaluateFormula(text, st) == "False" || !std::isfinite(st.FormulaValue)) {
                result.outcome = refuse("公式错误！");
                return result; // nothing has been written yet
            }
            // A conditional that chooses an empty branch assigns nothing:
            // the employee keeps his value rather than the previous row's.
            if (!st.FormulaHasValue)
                continue;
            v = st.FormulaValue;
        }
        if (!amountFits(v, pattern)) {
            tooLarge = true;
            continue;
        }
        // Rounded through the one rounding routine, so 1000 x 1.1 stores
        // 1100 and 0.1 + 0.2 stores 0.3, not their binary neighbours.
        changes.push_back({grid.cell(r, 0), readNumber(formatNumber(v, pattern))});
    }
    if (tooLarge) {
        result.outcome = refuse(kAmountTooLarge);
        return result; // nothing has been written yet
    }

    const std::string data = periodTable(s.taskPrefix(), "Data");
    const std::string column = upperAscii(item->code);
    {
        Transaction tx(s.taskConn);
        if (!changes.empty() && !s.taskConn.hasColumn(data, column))
            s.taskConn.execute("Alter Table " + data + " Add " + column + " Double");
        const std::string sql = "Update " + data + " set " + column + "=? where F_EmpNo=?";
        progress.begin("  正在更改数据，请稍候...", static_cast<int>(changes.size()));
        struct End {
            Progress& p;
            ~End() { p.end(); }
        } end{progress};
        for (const Change& c : changes) {
            s.taskConn.execute(sql, {c.value, c.empNo});
            progress.step();
        }
        tx.commit();
    }
    for (Change& c : changes)
        result.changed.push_back(std::move(c.empNo));
    if (!result.changed.empty())
        s.curEmpNo = result.changed.back();
    result.outcome = Outcome{true, "数据更改完毕！", kBatchTitle, Icon::Information, {}};
    return result;
}

} // namespace gzgl::monthly

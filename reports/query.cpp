// The salary query's condition rules and the query itself.
#include "reports/query.h"

#include "base/tree.h"
#include "calc/numformat.h"
#include "calc/recalc.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "items/itemcode.h"
#include "monthly/batch.h"
#include "monthly/workgrid_load.h"
#include "reports/months.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace gzgl::reports {

namespace {

bool isOneOf(const std::string& text, const std::vector<std::string>& list) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

bool compare(double a, const std::string& op, double b) {
    if (op == "=")
        return a == b;
    if (op == "<")
        return a < b;
    if (op == "<=")
        return a <= b;
    if (op == ">")
        return a > b;
    if (op == ">=")
        return a >= b;
    return false;
}

// Month numbers typed with or without their leading zero.
std::string twoDigits(const std::string& month) { return month.size() == 1 ? "0" + month : month; }

// The employees of the open month that meet the request's filters, with
// the department name and bank account each row shows. Employees without
// a data row are not salary lines and stay out, as in the working grid.
struct Selected {
    std::string depName;
    std::string accNo;
};
std::unordered_map<std::string, Selected> selectEmployees(Session& s, const QueryConditions& q) {
    const std::string p = s.taskPrefix();
    // The department is joined from the side, so that an employee whose
    // department is not on file (or has no type) is still a salary line.
    std::string sql = "Select z.F_EmpNo,y.F_DepName,z.F_AccNo from " + periodTable(p, "Employee") + " z join " +
                      periodTable(p, "Data") + " w on z.F_EmpNo=w.F_EmpNo left join " + periodTable(p, "Depart") +
                      " y on y.F_DepNo=z.F_DepNo where 1=1";
    Params params;
    const std::string depType = trim(q.depType);
    if (!depType.empty()) {
        // A subquery rather than a join: two types of one name must not
        // list an employee twice.
        sql += " And y.F_TypeNo in (Select F_TypeNo from " + periodTable(p, "DepType") + " where F_TypeName=?)";
        params.emplace_back(depType);
    }
    const std::vector<std::string> codes = departmentCodes(q.departments);
    if (!codes.empty()) {
        std::string any;
        for (const std::string& code : codes) {
            any += (any.empty() ? "" : " or ") + std::string("z.F_DepNo like ? Escape '\\'");
            params.emplace_back(base::likeEscaped(code) + "%");
        }
        sql += " And (" + any + ")";
    }
    const std::pair<const char*, std::string> filters[] = {
        {" And z.F_EmpType like ? Escape '\\'", base::textBeforeBlank(q.empType)},
        {" And w.F_EmpNo like ? Escape '\\'", trim(q.empNo)},
        {" And z.F_EmpName like ? Escape '\\'", trim(q.name)},
    };
    for (const auto& [clause, value] : filters)
        if (!value.empty()) {
            sql += clause;
            params.emplace_back(base::likeEscaped(value) + "%");
        }
    const Recordset rs = s.taskConn.query(sql, params);
    std::unordered_map<std::string, Selected> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto& row = rs.row(i);
        out.emplace(row[0].toString(), Selected{trim(row[1].toString()), trim(row[2].toString())});
    }
    return out;
}

// The result's item columns over the range (see the design note): the last
// month's items, then codes only earlier months have.
std::vector<QueryColumn> itemColumnsOver(Session& s, const std::vector<std::string>& months) {
    std::vector<QueryColumn> out;
    std::map<std::string, std::size_t> seen;
    for (auto m = months.rbegin(); m != months.rend(); ++m) {
        PeriodScope scope(s, *m);
        // F_Print is read beside the entry columns: the print leaves those
        // items out.
        std::map<std::string, bool> printed;
        const Recordset rs = s.taskConn.query("Select F_Code,F_Print from " + periodTable(s.taskPrefix(), "Item"));
        for (std::size_t i = 0; i < rs.size(); ++i)
            printed[upperAscii(trim(rs.row(i)[0].toString()))] = rs.row(i)[1].toInt() != 0;
        for (const monthly::ItemColumn& c : monthly::loadItemColumns(s)) {
            const std::string code = upperAscii(c.code);
            if (code.empty() || seen.count(code))
                continue;
            seen[code] = out.size();
            QueryColumn q;
            q.code = code;
            q.caption = c.name;
            q.type = c.type;
            q.show = c.show;
            q.print = printed.count(code) ? printed[code] : true;
            q.width = c.width;
            q.prec = c.prec;
            out.push_back(std::move(q));
        }
    }
    return out;
}

// The grid's rows of the selected employees only (the grid is loaded with
// the filters it knows; department type and employee type narrow it here).
calc::WorkGrid keepSelected(calc::WorkGrid&& grid, const std::unordered_map<std::string, Selected>& selected) {
    if (static_cast<std::size_t>(grid.employeeCount()) == selected.size())
        return std::move(grid);
    std::vector<std::string> codes, captions;
    for (int c = 0; c < grid.cols(); ++c) {
        codes.push_back(grid.cell(0, c));
        captions.push_back(grid.cell(1, c));
    }
    calc::WorkGrid out(codes, captions);
    out.reserveRows(static_cast<int>(selected.size()));
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r) {
        if (!selected.count(grid.cell(r, 0)))
            continue;
        const int to = out.addRow();
        for (int c = 0; c < grid.cols(); ++c)
            out.cell(to, c) = std::move(grid.cell(r, c));
    }
    return out;
}

// Sums the number columns with compensation, so that the total of many
// rows is the exact sum of what the rows show, to the last decimal.
void addTotals(QueryResult& r) {
    r.total.assign(r.columns.size(), std::string());
    if (!r.total.empty())
        r.total[0] = kQueryTotal;
    for (std::size_t c = 3; c < r.columns.size(); ++c) {
        if (!r.columns[c].totalled())
            continue;
        double sum = 0, carry = 0;
        for (const auto& row : r.rows) {
            if (row[c].empty())
                continue;
            const double y = readNumber(row[c]) - carry;
            const double t = sum + y;
            carry = (t - sum) - y;
            sum = t;
        }
        r.total[c] = formatNumber(sum, precisionPattern(r.columns[c].prec));
    }
}

} // namespace

const std::vector<std::string>& queryOperators() {
    static const std::vector<std::string> ops = {"=", "<", "<=", ">", ">="};
    return ops;
}

const std::vector<std::string>& queryLinks() {
    static const std::vector<std::string> links = {kAnd, kOr};
    return links;
}

AddQueryConditionResult addQueryCondition(Session& s, const std::string& item, const std::string& op,
                                          const std::string& value, const std::string& link) {
    AddQueryConditionResult r;
    const std::string wanted = trim(item);
    const std::string number = trim(value);
    const Outcome nothing = Outcome::refuse("请选择查询的条件", "提示", Icon::Exclamation, "cmbType");
    if (wanted.empty() || number.empty() || !isOneOf(trim(op), queryOperators()) ||
        !isOneOf(trim(link), queryLinks())) {
        r.outcome = nothing;
        return r;
    }
    const std::vector<items::ItemChoice> choices = monthly::conditionItems(s);
    auto found = std::find_if(choices.begin(), choices.end(), [&](const auto& c) { return c.name == wanted; });
    if (found == choices.end())
        found = std::find_if(choices.begin(), choices.end(),
                             [&](const auto& c) { return upperAscii(c.code) == upperAscii(wanted); });
    if (found == choices.end()) {
        r.outcome = nothing;
        return r;
    }
    if (!isNumberText(number)) {
        r.outcome = Outcome::refuse(kQueryValueNotNumber, "提示", Icon::Exclamation, "txtNum1");
        return r;
    }
    r.condition = {upperAscii(found->code), found->name, trim(op), number, trim(link)};
    return r;
}

std::vector<std::string> departmentCodes(const std::string& departments) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from <= departments.size()) {
        std::size_t comma = departments.find(',', from);
        if (comma == std::string::npos)
            comma = departments.size();
        const std::string code = base::textBeforeBlank(std::string_view(departments).substr(from, comma - from));
        if (!code.empty())
            out.push_back(code);
        from = comma + 1;
    }
    return out;
}

std::string proposedDepartmentType(Session& s, const std::string& departments) {
    const std::vector<std::string> codes = departmentCodes(departments);
    if (codes.empty())
        return {};
    const std::string p = s.taskPrefix();
    const Recordset rs = s.taskConn.query("Select a.F_TypeName from " + periodTable(p, "DepType") + " a," +
                                              periodTable(p, "Depart") +
                                              " b where a.F_TypeNo=b.F_TypeNo and b.F_DepNo=?",
                                          {codes.front()});
    return rs.empty() ? std::string() : trim(rs.row(0)[0].toString());
}

bool rowQualifies(const std::vector<QueryCondition>& conditions, const std::vector<double>& values) {
    bool result = true;
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        const QueryCondition& c = conditions[i];
        const bool holds = compare(i < values.size() ? values[i] : 0, c.op, readNumber(c.value));
        if (i == 0)
            result = holds;
        else if (conditions[i - 1].link == kOr)
            result = result || holds;
        else
            result = result && holds;
    }
    return result;
}

bool QueryColumn::totalled() const { return type == "数字" && !code.empty() && !items::isAccountCode(code); }

QueryRun runQuery(Session& s, QueryConditions& q, Progress& progress) {
    QueryRun run;
    const auto first = periodOf(trim(q.year), trim(q.month));
    const auto last = periodOf(trim(q.year1), trim(q.month1));
    if (!first || !last) {
        run.outcome = Outcome::refuse(kQueryBadDate, "提示", Icon::Exclamation, first ? "txtYear1" : "txtYear");
        return run;
    }
    std::string from = *first, to = *last;
    run.outcome = checkMonthRange(s, from, to, kQueryRange);
    if (!run.outcome.ok)
        return run;
    if (from != *first) { // swapped: the dialog shows the range in order
        std::swap(q.year, q.year1);
        std::swap(q.month, q.month1);
    }
    q.month = twoDigits(trim(q.month));
    q.month1 = twoDigits(trim(q.month1));
    for (const QueryCondition& c : q.conditions) {
        if (!isOneOf(c.op, queryOperators()) || !isOneOf(c.link, queryLinks()) || !isItemCode(c.code)) {
            run.outcome = Outcome::refuse("请选择查询的条件", "提示", Icon::Exclamation, "cmbType");
            return run;
        }
        if (!isNumberText(trim(c.value))) {
            run.outcome = Outcome::refuse(kQueryValueNotNumber, "提示", Icon::Exclamation, "txtNum1");
            return run;
        }
    }

    QueryResult& r = run.result;
    r.first = from;
    r.last = to;
    const std::vector<std::string> months = monthsBetween(from, to);
    for (const char* caption : {"所属部门", "银行账号", "姓名"}) {
        QueryColumn lead;
        lead.caption = caption;
        r.columns.push_back(std::move(lead));
    }
    for (QueryColumn& c : itemColumnsOver(s, months))
        r.columns.push_back(std::move(c));
    std::unordered_map<std::string, std::size_t> resultColumn;
    for (std::size_t c = 3; c < r.columns.size(); ++c)
        resultColumn[r.columns[c].code] = c;

    const bool exceptions = IsNotCalcOn(s);
    monthly::GridFilter filter;
    filter.depCodes = departmentCodes(q.departments);
    filter.depInclude = true;
    filter.empNo = trim(q.empNo);
    filter.empName = trim(q.name);
    for (const std::string& month : months) {
        PeriodScope scope(s, month);
        const std::unordered_map<std::string, Selected> selected = selectEmployees(s, q);
        monthly::LoadedGrid loaded = monthly::loadWorkGrid(s, filter, false);
        calc::WorkGrid grid = keepSelected(std::move(loaded.grid), selected);
        calc::RecalculateGrid(s, grid, {s.roundOffMode, exceptions}, progress);

        std::vector<int> conditionColumns;
        for (const QueryCondition& c : q.conditions)
            conditionColumns.push_back(grid.columnOf(c.code));
        std::vector<std::size_t> toResult(static_cast<std::size_t>(grid.cols()), 0);
        for (int c = 0; c < grid.cols(); ++c) {
            const auto hit = resultColumn.find(upperAscii(grid.cell(0, c)));
            toResult[static_cast<std::size_t>(c)] = hit == resultColumn.end() ? 0 : hit->second;
        }
        std::vector<double> values(conditionColumns.size());
        for (int row = calc::kFirstEmployeeRow; row < grid.rows(); ++row) {
            for (std::size_t i = 0; i < conditionColumns.size(); ++i) {
                const int col = conditionColumns[i];
                values[i] = col < 0 || grid.cell(row, col).empty() ? 0 : readNumber(grid.cell(row, col));
            }
            if (!rowQualifies(q.conditions, values))
                continue;
            const auto who = selected.find(grid.cell(row, 0));
            std::vector<std::string> line(r.columns.size());
            if (who != selected.end()) {
                line[0] = who->second.depName;
                line[1] = who->second.accNo;
            }
            line[2] = grid.cell(row, 1);
            for (int c = 0; c < grid.cols(); ++c)
                if (const std::size_t to = toResult[static_cast<std::size_t>(c)]; to != 0)
                    line[to] = std::move(grid.cell(row, c));
            r.rows.push_back(std::move(line));
            r.rowPeriods.push_back(month);
        }
    }
    addTotals(r);
    return run;
}

} // namespace gzgl::reports

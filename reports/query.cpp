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
#include <future>
#include <iterator>
#include <map>
#include <memory>
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
std::string twoDigits(const std::string& month) {
    return month.size() == 1 ? "0" + month : month;
}

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
    std::string sql = "Select z.F_EmpNo,y.F_DepName,z.F_AccNo from " + periodTable(p, "Employee") +
                      " z join " + periodTable(p, "Data") + " w on z.F_EmpNo=w.F_EmpNo left join " +
                      periodTable(p, "Depart") + " y on y.F_DepNo=z.F_DepNo where 1=1";
    Params params;
    const std::string depType = trim(q.depType);
    if (!depType.empty()) {
        // A subquery rather than a join: two types of one name must not
        // list an employee twice.
        sql +=
            " And y.F_TypeNo in (Select F_TypeNo from " + periodTable(p, "DepType") + " where F_TypeName=?)";
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
        const Recordset rs =
            s.taskConn.query("Select F_Code,F_Print from " + periodTable(s.taskPrefix(), "Item"));
        for (std::size_t i = 0; i < rs.size(); ++i)
            printed[upperAscii(trim(rs.row(i)[0].toString()))] = rs.row(i)[1].toInt() != 0;
        for (const monthly::ItemColumn& c : monthly::loadItemColumns(s)) {
            const std::string code = upperAscii(c.code);
            if (code.empty())
                continue;
            if (const auto known = seen.find(code); known != seen.end()) {
                // Totals are written with the most decimals any month shows.
                out[known->second].prec = std::max(out[known->second].prec, c.prec);
                continue;
            }
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
calc::WorkGrid keepSelected(calc::WorkGrid&& grid,
                            const std::unordered_map<std::string, Selected>& selected) {
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

// The sum of one column's figures. A figure is read as whole units of
// 10^-decimals, so that the total is the exact sum of what the rows show,
// to the last decimal, and no text is turned into a double for it; a figure
// that does not read that way (more decimals, an exponent, a sum beyond
// 64 bits) makes the column fall back to a compensated sum of doubles.
class ColumnSum {
public:
    void add(std::string_view text, int decimals) {
        if (!exact_ || text.empty())
            return;
        const bool negative = text.front() == '-';
        if (negative)
            text.remove_prefix(1);
        long long v = 0;
        int fraction = -1; // digits after the point; -1 before it
        for (const char ch : text) {
            if (ch == '.' && fraction < 0) {
                fraction = 0;
                continue;
            }
            if (ch < '0' || ch > '9' || fraction >= decimals || __builtin_mul_overflow(v, 10LL, &v) ||
                __builtin_add_overflow(v, ch - '0', &v)) {
                exact_ = false;
                return;
            }
            if (fraction >= 0)
                ++fraction;
        }
        for (int k = std::max(fraction, 0); k < decimals; ++k)
            if (__builtin_mul_overflow(v, 10LL, &v)) {
                exact_ = false;
                return;
            }
        if (__builtin_add_overflow(units_, negative ? -v : v, &units_))
            exact_ = false;
    }
    void merge(const ColumnSum& other) {
        exact_ = exact_ && other.exact_ && !__builtin_add_overflow(units_, other.units_, &units_);
    }
    bool exact() const { return exact_; }
    // The total written with decimals places, as formatNumber writes it.
    std::string text(int decimals) const {
        const bool negative = units_ < 0;
        std::string digits = std::to_string(negative ? 0ULL - static_cast<unsigned long long>(units_)
                                                     : static_cast<unsigned long long>(units_));
        if (digits.size() <= static_cast<std::size_t>(decimals))
            digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
        if (decimals > 0)
            digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
        return (negative ? "-" : "") + digits;
    }

private:
    long long units_ = 0;
    bool exact_ = true;
};

// The fallback: a compensated sum of the column's figures as doubles.
std::string compensatedSum(const QueryResult& r, std::size_t c) {
    double sum = 0, carry = 0;
    for (const auto& row : r.rows) {
        if (row[c].empty())
            continue;
        const double y = readNumber(row[c]) - carry;
        const double t = sum + y;
        carry = (t - sum) - y;
        sum = t;
    }
    return formatNumber(sum, precisionPattern(r.columns[c].prec));
}

// One month on its way through the query. Everything that reads the
// database happens on the calling thread (readMonth), since the session's
// connection and table prefix belong to it. The recalculation touches only
// this object, so it runs on a worker (recalculateMonth) while the calling
// thread reads the next month and turns the month before into result rows
// (collectMonth): the two halves of the work take about as long each.
struct MonthWork {
    std::string month;
    std::unordered_map<std::string, Selected> selected;
    calc::WorkGrid grid;
    std::vector<calc::FormulaLine> lines;
    std::unique_ptr<calc::Exceptions> exceptions; // all the month's answers read in advance
    std::vector<std::vector<std::string>> rows;
    std::vector<ColumnSum> sums; // per result column
};

// What every month's work shares.
struct QueryPlan {
    const QueryConditions& q;
    const std::vector<QueryColumn>& columns;
    std::unordered_map<std::string, std::size_t> resultColumn; // item code -> result column
    calc::RecalcSettings settings;
    monthly::GridFilter filter;
};

std::unique_ptr<MonthWork> readMonth(Session& s, const QueryPlan& plan, const std::string& month) {
    PeriodScope scope(s, month);
    auto w = std::make_unique<MonthWork>();
    w->month = month;
    w->selected = selectEmployees(s, plan.q);
    w->grid = keepSelected(monthly::loadWorkGrid(s, plan.filter, false).grid, w->selected);
    w->lines = calc::loadFormulaLines(s);
    if (plan.settings.exceptions) {
        std::vector<std::string> targets;
        for (const calc::FormulaLine& line : w->lines)
            targets.push_back(line.code);
        w->exceptions = std::make_unique<calc::Exceptions>(s);
        w->exceptions->prefetch(targets);
    }
    return w;
}

void recalculateMonth(MonthWork& w, const QueryPlan& plan) {
    calc::RecalculateLines(w.lines, w.grid, -1, plan.settings, w.exceptions.get(), nullptr);
}

// The month's rows that meet the item conditions, with their sums.
void collectMonth(MonthWork& w, const QueryPlan& plan) {
    calc::WorkGrid& grid = w.grid;

    const std::vector<QueryCondition>& conditions = plan.q.conditions;
    std::vector<int> conditionColumns;
    for (const QueryCondition& c : conditions)
        conditionColumns.push_back(grid.columnOf(c.code));
    std::vector<std::size_t> toResult(static_cast<std::size_t>(grid.cols()), 0);
    for (int c = 0; c < grid.cols(); ++c) {
        const auto hit = plan.resultColumn.find(upperAscii(grid.cell(0, c)));
        toResult[static_cast<std::size_t>(c)] = hit == plan.resultColumn.end() ? 0 : hit->second;
    }
    const std::size_t width = plan.columns.size();
    w.sums.assign(width, ColumnSum());
    std::vector<double> values(conditionColumns.size());
    for (int row = calc::kFirstEmployeeRow; row < grid.rows(); ++row) {
        for (std::size_t i = 0; i < conditionColumns.size(); ++i) {
            const int col = conditionColumns[i];
            values[i] = col < 0 || grid.cell(row, col).empty() ? 0 : readNumber(grid.cell(row, col));
        }
        if (!rowQualifies(conditions, values))
            continue;
        const auto who = w.selected.find(grid.cell(row, 0));
        std::vector<std::string> line(width);
        if (who != w.selected.end()) {
            line[0] = who->second.depName;
            line[1] = who->second.accNo;
        }
        line[2] = grid.cell(row, 1);
        for (int c = 0; c < grid.cols(); ++c)
            if (const std::size_t to = toResult[static_cast<std::size_t>(c)]; to != 0) {
                line[to] = std::move(grid.cell(row, c));
                if (plan.columns[to].totalled())
                    w.sums[to].add(line[to], plan.columns[to].prec);
            }
        w.rows.push_back(std::move(line));
    }
    w.grid = calc::WorkGrid(); // the month's cells are in its rows now
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
    auto found =
        std::find_if(choices.begin(), choices.end(), [&](const auto& c) { return c.name == wanted; });
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
        const std::string code =
            base::textBeforeBlank(std::string_view(departments).substr(from, comma - from));
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
    const Recordset rs =
        s.taskConn.query("Select a.F_TypeName from " + periodTable(p, "DepType") + " a," +
                             periodTable(p, "Depart") + " b where a.F_TypeNo=b.F_TypeNo and b.F_DepNo=?",
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

bool QueryColumn::totalled() const {
    return type == "数字" && !code.empty() && !items::isAccountCode(code);
}

QueryRun runQuery(Session& s, QueryConditions& q, Progress& progress) {
    QueryRun run;
    const auto first = periodOf(trim(q.year), trim(q.month));
    const auto last = periodOf(trim(q.year1), trim(q.month1));
    if (!first || !last) {
        run.outcome =
            Outcome::refuse(kQueryBadDate, "提示", Icon::Exclamation, first ? "txtYear1" : "txtYear");
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

    QueryPlan plan{q, r.columns, std::move(resultColumn), {s.roundOffMode, IsNotCalcOn(s)}, {}};
    plan.filter.depCodes = departmentCodes(q.departments);
    plan.filter.depInclude = true;
    plan.filter.empNo = trim(q.empNo);
    plan.filter.empName = trim(q.name);

    std::vector<ColumnSum> sums(r.columns.size());
    auto append = [&](MonthWork& w) {
        for (std::size_t c = 0; c < sums.size(); ++c)
            sums[c].merge(w.sums[c]);
        r.rowPeriods.insert(r.rowPeriods.end(), w.rows.size(), w.month);
        std::move(w.rows.begin(), w.rows.end(), std::back_inserter(r.rows));
        progress.step();
    };
    progress.begin("  正在准备数据，请稍候...", static_cast<int>(months.size()));
    struct End {
        Progress& p;
        ~End() { p.end(); }
    } end{progress};
    // Declared before the task so that, however the loop ends, the task is
    // waited for before its month goes away.
    std::unique_ptr<MonthWork> inFlight;
    std::future<void> working;
    for (const std::string& month : months) {
        std::unique_ptr<MonthWork> next = readMonth(s, plan, month);
        std::unique_ptr<MonthWork> done;
        if (working.valid()) {
            working.get();
            done = std::move(inFlight);
        }
        inFlight = std::move(next);
        working = std::async(std::launch::async, [&plan, w = inFlight.get()] { recalculateMonth(*w, plan); });
        if (done) {
            collectMonth(*done, plan);
            append(*done);
        }
    }
    if (working.valid()) {
        working.get();
        collectMonth(*inFlight, plan);
        append(*inFlight);
    }

    r.total.assign(r.columns.size(), std::string());
    r.total[0] = kQueryTotal;
    for (std::size_t c = 3; c < r.columns.size(); ++c)
        if (r.columns[c].totalled())
            r.total[c] = sums[c].exact() ? sums[c].text(r.columns[c].prec) : compensatedSum(r, c);
    return run;
}

} // namespace gzgl::reports

#include "exchange/divide.h"

#include "base/tree.h"
#include "calc/numformat.h"
#include "calc/recalc.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "monthly/workgrid_load.h"
#include "print/screen_jobs.h"

#include <algorithm>
#include <unordered_map>

namespace gzgl::exchange {

namespace {

constexpr const char* kCountHeadings[kDenominations] = {"100元", "50元", "10元", "5元", "2元", "1元",
                                                        "5角",   "2角",  "1角",  "5分", "2分", "1分"};

std::string fenText(std::int64_t fen) {
    return formatNumber(static_cast<double>(fen) / 100.0, "#0.00");
}

void addInto(DivideRow& into, const DivideRow& from) {
    into.netFen += from.netFen;
    if (!from.split)
        return;
    for (std::size_t i = 0; i < kDenominations; ++i)
        into.counts[i] += from.counts[i];
}

// One employee's row from his net pay as the recalculated grid shows it.
DivideRow employeeRow(std::string code, std::string name, const std::string& netPayCell) {
    DivideRow row;
    row.code = std::move(code);
    row.name = std::move(name);
    row.netFen = amountInFen(readNumber(netPayCell));
    row.split = row.netFen >= 0;
    if (row.split)
        row.counts = splitFen(row.netFen);
    return row;
}

} // namespace

std::int64_t amountInFen(double amount) {
    // Both steps round the decimal text: 1.15 (binary 1.1499999…) is 115
    // fen, never 114.
    const double yuan = roundToPattern(amount, 2);
    return static_cast<std::int64_t>(roundToPattern(yuan * 100.0, 0));
}

NoteCounts splitFen(std::int64_t fen) {
    NoteCounts counts{};
    if (fen <= 0)
        return counts;
    for (std::size_t i = 0; i < kDenominations && fen > 0; ++i) {
        counts[i] = fen / kDenominationFen[i];
        fen -= counts[i] * kDenominationFen[i];
    }
    return counts;
}

std::vector<std::string> DivideRow::cells() const {
    std::vector<std::string> out{code, name, fenText(netFen)};
    for (std::int64_t n : counts)
        out.push_back(split ? std::to_string(n) : std::string());
    return out;
}

std::vector<std::string> DivideSheet::headings() const {
    std::vector<std::string> out;
    if (employeeRows)
        out = {"员工编号", "员工姓名"};
    else
        out = {"部门编号", "部门名称"};
    out.push_back("实发工资");
    out.insert(out.end(), std::begin(kCountHeadings), std::end(kCountHeadings));
    return out;
}

std::string defaultDepartment(Session& s) {
    const std::string depart = periodTable(s.taskPrefix(), "Depart");
    const Value code = s.taskConn.scalar("Select min(F_DepNo) from " + depart + " where F_End=1");
    if (code.isNull())
        return {};
    const Value name = s.taskConn.scalar("Select F_DepName from " + depart + " where F_DepNo=?", {code});
    return trim(code.toString()) + "  " + trim(name.toString());
}

DivideResult cmdDivide(Session& s, const DivideRequest& request, Progress& progress) {
    const std::string prefix = s.taskPrefix();
    const std::string depart = periodTable(prefix, "Depart");
    const std::string employee = periodTable(prefix, "Employee");
    const std::string code = base::textBeforeBlank(request.department);

    DivideResult result;
    DivideSheet& sheet = result.sheet;
    sheet.depNo = code;
    sheet.depName = GetDepName(s, code, 0);
    if (!code.empty()) {
        const Recordset own = s.taskConn.query("Select F_End from " + depart + " where F_DepNo=?", {code});
        sheet.employeeRows = own.size() > 0 && own.row(0)[0].toInt() == 1;
    }

    // The department rows, known before any data is loaded.
    std::vector<DivideRow> departments;
    if (!sheet.employeeRows) {
        const Recordset leaves =
            code.empty()
                ? s.taskConn.query("Select F_DepNo,F_DepName from " + depart +
                                   " where F_End=1 order by F_DepNo")
                : s.taskConn.query("Select F_DepNo,F_DepName from " + depart +
                                       " where F_DepNo like ? Escape '\\' And F_End=1 order by F_DepNo",
                                   {base::likeEscaped(code) + "%"});
        if (leaves.size() == 0) {
            result.outcome = Outcome::refuse(kNoDepartmentFound, "提示", Icon::Exclamation, "txtDep");
            return result;
        }
        for (std::size_t i = 0; i < leaves.size(); ++i) {
            DivideRow row;
            row.code = trim(leaves.row(i)[0].toString());
            row.name = trim(leaves.row(i)[1].toString());
            departments.push_back(std::move(row));
        }
    }

    progress.begin(kDividePreparing, 0);
    monthly::LoadedGrid loaded;
    try {
        monthly::GridFilter filter;
        filter.depNo = code;
        loaded = monthly::loadWorkGrid(s, filter, false);
    } catch (...) {
        progress.end();
        throw;
    }
    progress.end();
    calc::WorkGrid& grid = loaded.grid;
    calc::RecalculateGrid(s, grid, {s.roundOffMode, IsNotCalcOn(s)}, progress);

    const int netCol = grid.columnOf("F000");
    static const std::string kNone;
    std::unordered_map<std::string, int> rowOf;
    rowOf.reserve(static_cast<std::size_t>(grid.employeeCount()));
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r)
        rowOf.emplace(trim(grid.cell(r, 0)), r);
    auto netPayOf = [&](const std::string& empNo) -> const std::string& {
        const auto it = rowOf.find(empNo);
        return it == rowOf.end() || netCol < 0 ? kNone : grid.cell(it->second, netCol);
    };

    if (sheet.employeeRows) {
        const Recordset emps = s.taskConn.query("Select F_EmpNo,F_EmpName from " + employee +
                                                    " where F_DepNo=? order by F_SortNo,F_EmpNo",
                                                {code});
        for (std::size_t i = 0; i < emps.size(); ++i) {
            std::string empNo = trim(emps.row(i)[0].toString());
            const std::string& net = netPayOf(empNo);
            sheet.rows.push_back(employeeRow(std::move(empNo), trim(emps.row(i)[1].toString()), net));
        }
    } else {
        std::unordered_map<std::string, std::size_t> indexOf;
        for (std::size_t i = 0; i < departments.size(); ++i)
            indexOf.emplace(departments[i].code, i);
        const Recordset emps = code.empty() ? s.taskConn.query("Select F_EmpNo,F_DepNo from " + employee)
                                            : s.taskConn.query("Select F_EmpNo,F_DepNo from " + employee +
                                                                   " where F_DepNo like ? Escape '\\'",
                                                               {base::likeEscaped(code) + "%"});
        for (std::size_t i = 0; i < emps.size(); ++i) {
            const auto dep = indexOf.find(trim(emps.row(i)[1].toString()));
            if (dep == indexOf.end())
                continue;
            const std::string empNo = trim(emps.row(i)[0].toString());
            addInto(departments[dep->second], employeeRow(empNo, {}, netPayOf(empNo)));
        }
        sheet.rows = std::move(departments);
    }

    // An empty sheet gets no total, so that it stays "no data" for the preview.
    if (request.total && !sheet.rows.empty()) {
        DivideRow total;
        total.code = kDivideTotal;
        for (const DivideRow& row : sheet.rows)
            addInto(total, row);
        sheet.rows.push_back(std::move(total));
        sheet.hasTotal = true;
    }
    return result;
}

print::PrintGrid dividePrintGrid(const DivideSheet& sheet) {
    print::PrintGrid out;
    out.fixedRows = 1;
    out.cells.push_back(sheet.headings());
    for (const DivideRow& row : sheet.rows)
        out.cells.push_back(row.cells());
    // Each column as wide as its widest text in the text font with a
    // little room: the fifteen columns then share a portrait page. The
    // engine still widens a figure that the project's fonts make wider.
    const print::FontSpec font = print::FontSpec::parse(print::kTextFont);
    for (int c = 0; c < kDivideColumns; ++c) {
        double widest = 0;
        for (const auto& r : out.cells)
            widest = std::max(widest, print::estimateTextWidthMm(r[static_cast<std::size_t>(c)], font));
        out.colWidthMm.push_back(std::clamp(widest + 3.0, 8.0, 60.0));
        out.colAlign.push_back(c < 2 ? 0 : 2);
        out.colText.push_back(c < 2);
    }
    return out;
}

print::clsGridPrint divideJob(Session& s, const DivideSheet& sheet) {
    print::clsGridPrint job = print::newJob(s, dividePrintGrid(sheet), kFormDivide);
    print::addTitle(job, kDivideSheetTitle);
    print::addDepartmentAndPage(job, sheet.depName);
    print::addDateAndMaker(job, s, 9);
    print::applySettings(job, 3, false);
    return job;
}

} // namespace gzgl::exchange

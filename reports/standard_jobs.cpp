#include "reports/standard_jobs.h"

#include "core/gbk.h"
#include "print/screen_jobs.h"

#include <algorithm>

namespace gzgl::reports {

namespace {

// A column without a stored width: its widest text at 2 mm a GBK byte,
// within reason.
double fittedWidthMm(const ReportGrid& g, int col) {
    std::size_t bytes = gbkLength(g.columns[static_cast<std::size_t>(col)].caption);
    for (int r = 0; r < static_cast<int>(g.rows.size()); ++r)
        bytes = std::max(bytes, gbkLength(g.cell(r, col)));
    return std::clamp(static_cast<double>(bytes) * 2.0 + 4.0, 12.0, 60.0);
}

print::PrintGrid gridOf(const ReportGrid& g, int fromRow, int toRow) {
    print::PrintGrid out;
    out.fixedRows = 1;
    std::vector<std::string> heading;
    for (const ReportColumn& c : g.columns)
        heading.push_back(c.caption);
    out.cells.push_back(std::move(heading));
    for (int c = 0; c < g.cols(); ++c) {
        const ReportColumn& col = g.columns[static_cast<std::size_t>(c)];
        out.colWidthMm.push_back(col.widthMm > 0 ? col.widthMm : fittedWidthMm(g, c));
        out.colAlign.push_back(col.text ? 0 : 2);
        out.colCode.push_back(col.code);
        out.colText.push_back(col.text);
    }
    for (int r = fromRow; r < toRow; ++r) {
        std::vector<std::string> row;
        row.reserve(g.columns.size());
        for (int c = 0; c < g.cols(); ++c)
            row.push_back(g.cell(r, c));
        out.cells.push_back(std::move(row));
    }
    return out;
}

print::clsGridPrint jobOf(Session& s, const BuiltReport& report, print::PrintGrid body) {
    const int type = report.type;
    print::clsGridPrint job = print::newJob(s, body, reportForm(type));
    if (type == kDepartmentSummary || type == kTypeSummary)
        job.SetHeadGrid(reportHeadGrid(report.grid));
    print::addTitle(job, reportNames()[static_cast<std::size_t>(type)]);
    print::addHeadLine(job, report.depLine, 0);
    print::addHeadLine(job, reportDateLine(type, report.first, report.last), 1);
    print::addHeadLine(job, type == kPaySheet || type == kPayslips ? print::kPageLineAscii : print::kPageLine,
                       2);
    const std::string blanks(8, ' ');
    if (type == kPayslips) {
        print::addFootLine(job, "制表：　　　　" + s.curOperName, 2);
    } else {
        print::addFootLine(job, "主管:" + blanks, 0);
        print::addFootLine(job, "复核:" + blanks, 1);
        print::addFootLine(job, "制表:" + blanks + s.curOperName, 2);
    }
    print::applySettings(job, 0, type == kPayslips);
    if (type == kPaySheet)
        job.SetSettingB(0, 0);
    job.SetSettingG(0);
    return job;
}

} // namespace

print::PrintGrid reportPrintGrid(const ReportGrid& grid) {
    return gridOf(grid, 0, static_cast<int>(grid.rows.size()));
}

print::PrintGrid reportHeadGrid(const ReportGrid& grid) {
    return gridOf(grid, 0, 0);
}

print::clsGridPrint reportJob(Session& s, const BuiltReport& report) {
    return jobOf(s, report, reportPrintGrid(report.grid));
}

print::clsGridPrint payslipJob(Session& s, const BuiltReport& report, int row) {
    return jobOf(s, report, gridOf(report.grid, row, row + 1));
}

std::vector<Payslip> payslips(const BuiltReport& report) {
    std::vector<Payslip> out;
    const ReportGrid& g = report.grid;
    for (int r = 0; r < g.dataRows(); ++r) {
        Payslip p;
        p.empNo = g.cell(r, 0);
        p.name = g.cols() > 1 ? g.cell(r, 1) : std::string();
        for (int c = 0; c < g.cols(); ++c)
            p.lines.emplace_back(g.columns[static_cast<std::size_t>(c)].caption, g.cell(r, c));
        out.push_back(std::move(p));
    }
    return out;
}

std::string payslipFileName(const std::string& empNo, const std::string& name) {
    auto clean = [](std::string t) {
        for (char& ch : t) {
            const unsigned char u = static_cast<unsigned char>(ch);
            if (u < 0x20 || u == 0x7f || std::string_view("/\\:*?\"<>|").find(ch) != std::string_view::npos)
                ch = '_';
        }
        while (!t.empty() && (t.back() == '.' || t.back() == ' '))
            t.pop_back();
        return t;
    };
    return clean(empNo) + "_" + clean(name) + ".pdf";
}

} // namespace gzgl::reports

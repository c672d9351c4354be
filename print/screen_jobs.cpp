#include "print/screen_jobs.h"

#include "core/gbk.h"
#include "core/schema.h"
#include "core/text.h"

#include <algorithm>
#include <map>
#include <set>

namespace gzgl::print {

namespace {

// Widths of roster columns: their text's GBK bytes at 2 mm each, within
// reason, since the roster has no stored widths.
double fittedWidthMm(const std::vector<std::vector<std::string>>& rows, const std::string& caption, std::size_t col) {
    std::size_t bytes = gbkLength(caption);
    for (const auto& r : rows)
        if (col < r.size())
            bytes = std::max(bytes, gbkLength(r[col]));
    return std::clamp(static_cast<double>(bytes) * 2.0 + 4.0, 12.0, 60.0);
}

} // namespace

std::optional<Outcome> noDataMessage(const PrintGrid& grid, bool preview) {
    if (grid.dataRows() > 0)
        return std::nullopt;
    return Outcome::refuse(preview ? "没有数据可供预览！" : "没有数据可供打印！", "提示", Icon::Exclamation);
}

std::string dateLine(const std::string& period) {
    return "日期:" + period.substr(0, 4) + "年" + (period.size() >= 6 ? period.substr(4, 2) : std::string()) + "月";
}

clsGridPrint newJob(Session& s, const PrintGrid& grid, long formID) {
    clsGridPrint job;
    const PrintTables t = PrintTables::forPrefix(s.taskPrefix());
    job.SetConnection(s.taskConn);
    job.SetTables(t.prj, t.head, t.foot, t.col);
    job.SetGrid(grid);
    job.SetFormID(formID);
    return job;
}

void addTitle(clsGridPrint& job, const std::string& title) { job.AddHead(title, true, true, kTitleFont, 1, 0.0, 10.0, 0); }

void addHeadLine(clsGridPrint& job, const std::string& text, long align, double topDist) {
    job.AddHead(text, true, true, kTextFont, align, 0.0, topDist, 0);
}

void addFootLine(clsGridPrint& job, const std::string& text, long align) {
    job.AddFoot(text, true, true, kTextFont, align, 0.0, 1.0, 0);
}

void addDepartmentAndPage(clsGridPrint& job, const std::string& depName, const char* pageLine) {
    addHeadLine(job, "部门：" + depName, 0);
    addHeadLine(job, pageLine, 2);
}

void addDateAndMaker(clsGridPrint& job, Session& s, int blanks) {
    addFootLine(job, dateLine(s.curPeriod), 0);
    addFootLine(job, "制表:" + std::string(static_cast<std::size_t>(blanks), ' ') + s.curOperName, 2);
}

void applySettings(clsGridPrint& job, long settingA, bool payslips) {
    job.SetSettingA(settingA);
    job.SetSettingC(payslips);
    job.SetSettingD(0);
    job.SetSettingE(true);
    job.SetSettingF(1);
}

PrintGrid entryPrintGrid(Session& s, const calc::WorkGrid& grid, const std::vector<monthly::ItemColumn>& columns) {
    // The items' print settings as they stand now, not as the screen loaded
    // them, so that a width changed meanwhile reaches this print.
    std::set<std::string> notPrinted;
    std::map<std::string, int> widths;
    const Recordset rs =
        s.taskConn.query("Select F_Code,F_Print,F_Width from " + periodTable(s.taskPrefix(), "Item"));
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const std::string code = upperAscii(trim(rs.row(i)[0].toString()));
        if (rs.row(i)[1].toInt() == 0)
            notPrinted.insert(code);
        widths[code] = static_cast<int>(rs.row(i)[2].toInt());
    }
    if (s.roundOffMode == 0)
        notPrinted.insert({"FFFF", "FFFE", "FFFD"});

    PrintGrid out;
    out.fixedRows = 1;
    const int cols = grid.cols();
    std::vector<std::string> heading;
    for (int c = 0; c < cols; ++c) {
        const monthly::ItemColumn* item = c < static_cast<int>(columns.size()) ? &columns[c] : nullptr;
        heading.push_back(grid.rows() > 1 ? grid.cell(1, c) : std::string());
        const std::string code = item ? upperAscii(trim(item->code)) : std::string();
        const bool printed = item && !notPrinted.count(code);
        const auto stored = widths.find(code);
        const int width = stored != widths.end() ? stored->second : item ? item->width : 0;
        out.colWidthMm.push_back(printed ? std::max(width, 8) : 0.0);
        out.colAlign.push_back(item && item->type == "数字" ? 2 : 0);
        out.colCode.push_back(code);
        out.colText.push_back(!item || item->type != "数字");
    }
    out.cells.push_back(heading);
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < cols; ++c)
            row.push_back(grid.cell(r, c));
        out.cells.push_back(std::move(row));
    }
    return out;
}

clsGridPrint entryGridJob(Session& s, const calc::WorkGrid& grid, const std::vector<monthly::ItemColumn>& columns,
                          const std::string& depName) {
    clsGridPrint job = newJob(s, entryPrintGrid(s, grid, columns), kFormEntryGrid);
    addHeadLine(job, "工资录入", 0, 10.0);
    addDepartmentAndPage(job, depName);
    addDateAndMaker(job, s, 0);
    applySettings(job, 0, false);
    return job;
}

PrintGrid rosterPrintGrid(const base::RosterGrid& roster) {
    PrintGrid out;
    out.fixedRows = 1;
    out.cells.push_back(roster.captions);
    // Codes, names and account numbers: no column holds an amount.
    out.colText.assign(roster.captions.size(), true);
    for (std::size_t c = 0; c < roster.captions.size(); ++c) {
        const bool visible = c >= roster.visible.size() || roster.visible[c];
        out.colWidthMm.push_back(visible ? fittedWidthMm(roster.rows, roster.captions[c], c) : 0.0);
    }
    for (const auto& r : roster.rows) {
        std::vector<std::string> row = r;
        row.resize(roster.captions.size());
        out.cells.push_back(std::move(row));
    }
    return out;
}

clsGridPrint rosterJob(Session& s, const PrintGrid& grid, const std::string& depName) {
    clsGridPrint job = newJob(s, grid, kFormRoster);
    addTitle(job, "部门人员管理表");
    addDepartmentAndPage(job, depName);
    addDateAndMaker(job, s, 9);
    applySettings(job, 3, false);
    return job;
}

} // namespace gzgl::print

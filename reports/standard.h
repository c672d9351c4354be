// The four standard salary reports of frmReport: the department summary,
// the department-type summary, the pay sheet and the payslips, over one
// month or a range of months.
//
// Design. A report is built month by month. Each month is read from its
// own table set (PeriodScope): its items, its employees' values loaded
// into a working grid and recalculated with that month's formula lines,
// and one query for the month's employees with their department and
// department type. The month becomes a ReportGrid of its own, which is
// merged into the report (report_grid.h): columns by caption, rows by
// their first two cells, values added. The totals row "合   计" follows
// after the last month. A range is read two months at a time on two
// threads, each with a connection of its own to the task database (the
// session is left alone meanwhile), and merged in month order as the
// months come in.
//
// Rows. The summaries list their rows before any month is read: the
// departments (or department types) of the heading, taken from every month
// of the range, named as the latest of those months names them, so that a
// department that was renamed or removed since still has its row. An
// employee counts for the listed department whose code is the longest
// prefix of his department's code in that month; one under no listed
// department counts nowhere. The pay sheet and the payslips have one row
// per employee (code, name, department, then the items); an employee who
// changed his name within the range has a row per name.
//
// Columns. Summaries: "部门编码", "部门名称", "人 数" (or "部门类型编码",
// "部门类型", "人 数"), then the numeric items that print (F_Print not 0)
// in F_ID order. Pay sheet and payslips: the employee code and name items,
// "部门", then every other item that prints; text and date items are text
// columns and are not summed.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "reports/report_grid.h"

#include <string>
#include <vector>

namespace gzgl::reports {

enum ReportType { kDepartmentSummary = 0, kTypeSummary = 1, kPaySheet = 2, kPayslips = 3 };

// The names of cmbType in list order, which are also the report titles.
const std::vector<std::string>& reportNames();
// The print form of a report type: 108, 118 or 128.
long reportForm(int type);

// frmReport's fields as typed.
struct ReportRequest {
    int type = -1;             // cmbType's index, -1 when none is chosen
    std::string year, month;   // first month
    std::string year1, month1; // last month
    std::string departments;   // txtDep: "code name" entries separated by ","
    std::string depTypes;      // txtDepType: type names (or "NN name") separated by ","
    std::string level;         // txtGrade: a department level, empty or 0 for none
    bool lowest = false;       // "显示最末级单位" instead of "显示下一级单位"
};

// What the screen shows when it opens.
struct ReportScreenStart {
    std::vector<std::string> types; // cmbType
    std::string year, month;        // both month pairs: the current period
};

// Opening frmReport: the month-data refresh on the current period, the
// transient column states of the print projects reset, and the fields'
// first values. Throws DbError when the refresh fails (the month is then
// left as it was).
ReportScreenStart openReportScreen(Session& s);

// The row a summary lists: a department or a department type.
struct HeadingRow {
    std::string code;
    std::string name;
};

// A report built and ready to print or list.
struct BuiltReport {
    Outcome outcome;
    int type = 0;
    std::string first, last;         // yyyymm, after a reversed range was swapped
    std::string depLine;             // the department line of the page header
    std::vector<HeadingRow> heading; // the summaries' rows as listed
    ReportGrid grid;                 // summaries and pay sheet with the totals row
};

// Builds the report of the request (Search over the checked months). The
// checks, in the screen's order, each refusing with its message under the
// caption "提示" and the field to focus: no report type
// "请选择报表类型！"; a month field empty or no month "请输入所需打印报表日期！";
// the range as checkMonthRange checks it (a reversed range is swapped in
// rq, which the screen shows); a department of txtDep that no month of the
// range has, "不存在此部门：" + code; a type of txtDepType no month has,
// "不存在此部门类型：" + the entry; for the department summary a level that
// the coding scheme does not define, "输入的部门级数不存在！". When no employee
// falls under the choice in any month: "没有找到符合条件的员工！". Reads
// only; throws DbError when a month cannot be read.
BuiltReport buildReport(Session& s, ReportRequest& rq, Progress& progress);

// The date line of the page header: "日期:" + yyyy + "年" + mm + "月" for one
// month, "日期:" + y1 + "年" + m1 + "月--" + y2 + "年" + m2 + "月" for a range,
// which the department-type summary opens with 17 blanks.
std::string reportDateLine(int type, const std::string& first, const std::string& last);

} // namespace gzgl::reports

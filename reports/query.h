// The salary query: employees of one month or a range of months chosen by
// department, department type, employee type, code and name, narrowed by
// conditions on their recalculated salary items, with a total row.
//
// Design note: the result grid. Columns, in order:
//   0 "所属部门"  the department's name (empty for a department not on file)
//   1 "银行账号"  the employee's bank account, as text
//   2 the employee's name
//   3... one column per salary item, keyed by item code, in F_ID order
// A range of months may span items added or removed on the way: the item
// columns are those of the range's last month, followed by the codes that
// only earlier months have, each captioned and flagged (F_Show, F_Print,
// type, precision) as in the latest month that has it. A month that lacks
// an item leaves its cells empty.
// Rows: one per employee and month, month by month from the first, within
// a month by department, sort number and employee number. Item cells hold
// the recalculated figures as the working grid writes them (numbers with
// their item's precision, "no value" empty). The total row is kept apart
// from the rows: "合   计", two empty cells, then the sum of every number
// column (account columns excepted) written with the column's precision.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "exchange/xlsx.h"
#include "print/gridprint.h"

#include <string>
#include <vector>

namespace gzgl::reports {

inline constexpr const char* kQueryTitle = "工资查询";
inline constexpr const char* kQuerySetTitle = "工资综合查询条件设置";
inline constexpr const char* kQueryExitQuestion = "退出本模块吗？";
inline constexpr long kFormQuery = 3939;
inline constexpr const char* kQueryTotal = "合   计";
inline constexpr const char* kAnd = "并且";
inline constexpr const char* kOr = "或者";
// A condition compares numbers; a value that is not one would read as 0.
inline constexpr const char* kQueryValueNotNumber = "查询条件的值必须是数字。";
// A typed year or month that is no period at all.
inline constexpr const char* kQueryBadDate = "请输入正确的查询年月。";

// One row of the condition list flgQuery. link joins the condition to the
// NEXT one; the last condition's link has no effect.
struct QueryCondition {
    std::string code;
    std::string name;
    std::string op;    // one of queryOperators()
    std::string value; // as typed; a plain number
    std::string link;  // kAnd or kOr
    bool operator==(const QueryCondition&) const = default;
};

// What frmQuerySet collects, as its boxes hold it.
struct QueryConditions {
    std::string year, month;   // txtYear / txtMonth: the first month
    std::string year1, month1; // txtYear1 / txtMonth1: the last month
    std::string departments;   // txtDep: "code name" entries separated by ","
    std::string depType;       // a department type name, empty for all
    std::string empType;       // employee type code (text before a blank)
    std::string empNo;         // employee code prefix
    std::string name;          // name prefix
    std::vector<QueryCondition> conditions;
    bool operator==(const QueryConditions&) const = default;
};

// cmbSym: "=", "<", "<=", ">", ">=".
const std::vector<std::string>& queryOperators();
// cmbAndOr: "并且", "或者".
const std::vector<std::string>& queryLinks();

struct AddQueryConditionResult {
    Outcome outcome;
    QueryCondition condition;
};

// cmdAdd (条件加入): the item (a condition item's name, or its code; see
// monthly::conditionItems), the operator, the value and the link must all
// be given and be from their lists, else "请选择查询的条件" titled "提示".
// A value that is not one plain number is refused with
// kQueryValueNotNumber. The condition carries the item's code and name.
AddQueryConditionResult addQueryCondition(Session& s, const std::string& item, const std::string& op,
                                          const std::string& value, const std::string& link);

// The department codes of txtDep: each ","-separated entry up to its first
// blank, empty entries left out.
std::vector<std::string> departmentCodes(const std::string& departments);

// cmdHelp: the type name of the first department of txtDep, read from the
// open period's department and type tables; empty when the department is
// unknown or has no type.
std::string proposedDepartmentType(Session& s, const std::string& departments);

// Whether a row with these condition values (one per condition, in list
// order) qualifies: the conditions are read left to right without
// precedence, each link joining the result so far to the next condition.
// An empty list keeps every row.
bool rowQualifies(const std::vector<QueryCondition>& conditions, const std::vector<double>& values);

struct QueryColumn {
    std::string code; // item code; empty for the three leading columns
    std::string caption;
    std::string type = "文字"; // 数字, 文字 or 日期
    bool show = true;
    bool print = true;
    int width = 15; // millimetres
    int prec = 0;
    // Totalled: a number item other than an account item.
    bool totalled() const;
};

struct QueryResult {
    std::string first, last; // the months queried, yyyymm
    std::vector<QueryColumn> columns;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> rowPeriods; // the month of each row
    std::vector<std::string> total;
};

struct QueryRun {
    Outcome outcome;
    QueryResult result;
};

// cmdBegin and the query. The typed months must form periods (else
// kQueryBadDate) and pass checkMonthRange with the query's messages; a
// reversed range is swapped in the request as the dialog shows it. Every
// condition value must be a number (kQueryValueNotNumber). Then, month by
// month, the employees that have a data row and meet every filter (all
// bound; department codes, employee type, code and name as literal
// prefixes, the department type by name) are loaded, recalculated with
// the task's rounding-off and per-employee exceptions switch, narrowed by
// the item conditions and appended; last the total row is worked out.
// An employee whose department is not on file, or has no type, is found
// as long as no department type is asked for. Nothing is written.
QueryRun runQuery(Session& s, QueryConditions& request, Progress& progress);

// The print grid of the result: the captions as the heading row, the rows
// and the total row; columns hidden on screen (F_Show 0) and items with
// F_Print 0 left out; item widths from F_Width, numbers right-aligned.
print::PrintGrid queryPrintGrid(const QueryResult& r);

// The print job (form 3939) on the print projects of the range's last
// month: "工资查询" as a left-aligned line in the text font, the page line
// on the right, the footer date line (one month, or "日期:" y1 "年" m1
// "月--" y2 "年" m2 "月" for a range) on the left and "制表:" + the
// operator on the right; setting A 0 for a preview, 3 for a print. The
// caller first asks print::noDataMessage of the job's grid.
print::clsGridPrint queryJob(Session& s, const QueryResult& r, bool preview);

// The sheet of the result: the shown columns, the captions as the first
// row, the rows and the total row. Number items are number cells; the
// account, identity, code, name and every other non-number column are text
// cells, so a 19-digit account keeps every digit.
exchange::SheetTable querySheet(const QueryResult& r);

// SaveExcel: an existing file asks path + "磁盘中已有Excel文件,是否要覆盖"
// (No: nothing written, no message). The workbook is written under a
// temporary name in the target folder and renamed over path when
// complete. Ends with "Excel表格已经成功导出。存放在" + path, or with the
// writer's message. Answers whether the file was written.
bool exportQueryXlsx(Session& s, Prompt& p, const std::string& path, const QueryResult& r);

// KeySave (frmSave): the result as a delimited text file through
// exchange::writeDelimited, with every column's caption as its title and
// the employee rows (the total row is no employee and stays out, so that
// the file reads back as salary lines). The header's period and the period
// put into the file name are those of the range's last month. The
// refusals, the overwrite question and the closing message are
// writeDelimited's; the outcome is the caller's to show.
Outcome exportQueryDelimited(Session& s, Prompt& p, Progress& progress, const QueryResult& r,
                             const std::string& folder, const std::string& name, const std::string& separator,
                             const std::string& today, std::string* written = nullptr);

} // namespace gzgl::reports

// The banknote denomination sheet: every employee's net pay (F000) split
// greedily into notes and coins, so that the cashier knows how many of each
// to fetch for cash pay envelopes.
//
// Sheet layout (the grid msfDivide and the printed 票额分割表), 15 columns:
//   0  code     员工编号 (employee rows) or 部门编号 (department rows)
//   1  name     员工姓名 or 部门名称
//   2  net pay  实发工资, "#0.00"
//   3..14       the counts of 100元 50元 10元 5元 2元 1元 5角 2角 1角 5分
//               2分 1分 (no 20-yuan note), whole numbers
// A lowest-level department gives one row per employee of that very
// department; any other department, or none, gives one row per
// lowest-level department below it, holding the sums of its employees'
// net pay and counts. The optional last row "总   计" holds the column
// totals. Amounts are split in whole fen, never in floating yuan, so that
// 0.30 is one 2角 and one 1角 and 1.15 is not one fen short.
//
// A negative net pay cannot be put into an envelope: its row shows the
// amount with the count cells empty, it adds nothing to any count, and it
// does take part in the net-pay sums of its department and the total, so
// that those agree with the pay sheet.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "print/gridprint.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gzgl::exchange {

inline constexpr std::size_t kDenominations = 12;
// The denominations in fen, largest first, in the order of the columns.
inline constexpr std::array<std::int64_t, kDenominations> kDenominationFen = {
    10000, 5000, 1000, 500, 200, 100, 50, 20, 10, 5, 2, 1};
inline constexpr const char* kDivideCaption = "工资票面分配处理";
inline constexpr const char* kDivideSheetTitle = "票额分割表";
inline constexpr const char* kDividePreparing = "  正在准备数据，请稍候...";
inline constexpr const char* kNoDepartmentFound = "没有查到部门！";
inline constexpr const char* kDivideCloseQuestion = "退出本模块吗？";
inline constexpr const char* kDivideTotal = "总   计";
inline constexpr long kFormDivide = 1134;
inline constexpr int kDivideColumns = 3 + static_cast<int>(kDenominations);

using NoteCounts = std::array<std::int64_t, kDenominations>;

// The amount in whole fen: rounded to two decimals by the program's one
// rounding routine (half away from zero on its decimal text), then scaled.
// A value that is not finite counts as 0.
std::int64_t amountInFen(double amount);

// The greedy split of a non-negative amount of fen over kDenominationFen.
// A negative amount gives all zeros (it is not split).
NoteCounts splitFen(std::int64_t fen);

// One line of the sheet.
struct DivideRow {
    std::string code;
    std::string name;
    std::int64_t netFen = 0; // net pay (or its sum) in fen
    NoteCounts counts{};
    bool split = true; // false: a negative net pay, counts shown empty
    // The 15 cell texts as the grid shows them.
    std::vector<std::string> cells() const;
    bool operator==(const DivideRow&) const = default;
};

struct DivideSheet {
    bool employeeRows = false;
    std::string depNo;           // the code the sheet was computed for ("" = all)
    std::string depName;         // its name for the printed header
    std::vector<DivideRow> rows; // the total row last when asked for
    bool hasTotal = false;
    // The 15 headings, 员工… or 部门… in columns 0 and 1.
    std::vector<std::string> headings() const;
    // Rows other than the total.
    int dataRows() const { return static_cast<int>(rows.size()) - (hasTotal ? 1 : 0); }
};

// The department field's opening text: the lowest-numbered lowest-level
// department as code + two blanks + name; empty when the period has none.
std::string defaultDepartment(Session& s);

struct DivideRequest {
    std::string department; // the field's text; its code is the part before the first blank
    bool total = false;     // 统计分割总结果: add the "总   计" row
};

struct DivideResult {
    Outcome outcome;
    DivideSheet sheet;
};

// Computes the sheet for the department field's code (cmdDivide). Loads the
// month's data of the department and everything below it, recalculates it
// with the task's rounding-off and exception switch so that F000 is current
// (nothing is written), and lays out employee or department rows as the
// design note above says. The month-data refresh is the caller's (the
// screen runs it when it opens). Refuses with "没有查到部门！" when department
// rows are due and no lowest-level department lies under the code; a code
// holding quotes or LIKE wildcards matches only itself. Throws DbError.
DivideResult cmdDivide(Session& s, const DivideRequest& request, Progress& progress);

// The sheet as the print engine's grid: headings row, then the rows; code
// and name columns are text, the rest right-aligned figures.
print::PrintGrid dividePrintGrid(const DivideSheet& sheet);

// The preview job of the sheet (form 1134): title 票额分割表 centred in the
// title font, "部门：" + the department's name and the page line, the date
// line and "制表:" + nine blanks + the operator, settings A 3, D 0, E on,
// F 1. Check print::noDataMessage on its grid before showing it.
print::clsGridPrint divideJob(Session& s, const DivideSheet& sheet);

} // namespace gzgl::exchange

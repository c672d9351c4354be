// Cumulative withholding of income tax (累计预扣法) beside the monthly
// bracket table.
//
// Design note. A task withholds tax either by the monthly brackets of
// _TaxRate ("按月税率表", the default) or cumulatively over the tax year
// ("累计预扣法"). With the cumulative method, month m's tax is the annual
// table applied to the year's taxable income up to and including month m,
// less the tax withheld in the earlier months of the year, never below zero.
//
// What the year so far amounts to is kept per employee in three reserved
// number items, input items like 上月扣零 (FFFF), created when the method is
// chosen (codes of "F" and digits only, as a formula can name no other):
//   FFF1 上月累计应税收入  income less deductions of the earlier months
//   FFF2 上月累计减除费用  the basic deduction of the earlier months
//   FFF3 上月累计已扣税额  tax withheld in the earlier months
// Closing a month carries them: the new month's value is the old month's
// value plus the old month's amount (income less the chosen deductions, the
// monthly basic deduction, the tax item), all from a full recalculation;
// the first month of a new tax year starts from zero, and so does a new
// employee (an empty cell reads 0). A clerk who starts mid-year types the
// year's figures so far into them.
//
// The calculation itself stays in the formula language: the generator
// writes onto the tax item one line "0" and one line per bracket of the
// annual table,
//   {[X>S]&[X<=E]&[X*R-Q>FFF3],X*R-Q-FFF3}   (closed bracket)
//   {[X>S]&[X*R-Q>FFF3],X*R-Q-FFF3}          (open top bracket)
// with X = (FFF1+income-deductions...-FFF2-basic deduction), so that at most
// one line assigns and the tax is 0 when nothing is due.
//
// The method, the annual table (one parameter per bracket), the monthly
// basic deduction and the chosen items are task parameters in tbSysSet, so
// they are the same in every month and travel with a task export.
#pragma once

#include "calc/workgrid.h"
#include "core/prompt.h"
#include "core/session.h"
#include "items/formulas.h"
#include "items/taxrates.h"

#include <string>
#include <string_view>
#include <vector>

namespace gzgl::items {

inline constexpr const char* kMonthlyMethod = "按月税率表";
inline constexpr const char* kCumulativeMethod = "累计预扣法";

// The method names in the order the tax page lists them.
const std::vector<std::string>& taxMethods();

// The open task's method name; the monthly one when none is stored.
std::string loadTaxMethod(Session& s);
bool cumulativeMethod(Session& s);

struct ReservedItem {
    const char* code;
    const char* name;
};
// FFF1, FFF2, FFF3 with their names, in that order.
const std::vector<ReservedItem>& cumulativeItems();
bool isCumulativeCode(std::string_view code);

// Chooses the method. The cumulative one creates the reserved items (with
// their _Data columns) in the open period when they are missing, in the same
// transaction that stores the method. Refuses an unknown name, and a
// reserved name already used by another item.
Outcome setTaxMethod(Session& s, const std::string& method);

// The annual table: brackets of the year's taxable income as the monthly
// grid edits them, and the monthly basic deduction (减除费用).
struct AnnualTable {
    std::string deduction;
    std::vector<TaxRow> rows;
    bool operator==(const AnnualTable&) const = default;
};

// 36,000 at 3 % ... above 960,000 at 45 % less 181,920; deduction 5,000.
AnnualTable builtInAnnualTable();
// The stored table, or the built-in one when none is stored; cells "#0.00",
// the open end empty.
AnnualTable loadAnnualTable(Session& s);
// "必须输入每月减除费用!" without a deduction, the bracket check of the
// monthly table (with the deduction in the place of the threshold), an
// empty table refused; then the table replaces the stored one:
// "成功存贮完毕！".
Outcome saveAnnualTable(Session& s, const AnnualTable& table);

// Which items feed the calculation.
struct CumulativeChoice {
    std::string income;                  // this month's taxable income
    std::vector<std::string> deductions; // this month's deductions
    std::string tax;                     // receives the tax
    bool complete() const { return !income.empty() && !tax.empty(); }
    bool operator==(const CumulativeChoice&) const = default;
};

CumulativeChoice loadCumulativeChoice(Session& s);
// The items the page offers for income and deductions (number items other
// than net pay, the rounding-off and the reserved items), in F_ID order;
// the tax item is any of them but 应发工资.
std::vector<ItemChoice> cumulativeCandidates(Session& s);
// Checks that income and tax are chosen, that every code is a number item of
// the open period other than net pay and the reserved items, that the tax
// item can take formula lines and is not 应发工资, and that no item is
// chosen twice; then stores the choice.
Outcome setCumulativeChoice(Session& s, const CumulativeChoice& choice);

// 存盘 on the cumulative page: both checks, then the table and the choice
// in one transaction.
Outcome saveCumulativeSettings(Session& s, const AnnualTable& table, const CumulativeChoice& choice);

// The lines the generator writes, in order.
std::vector<std::string> annualFormulaTexts(const AnnualTable& table, const CumulativeChoice& choice);

// 生成累计预扣公式: refuses a task on the monthly method, a missing choice
// and a table that fails its check; then the tax item's lines are replaced
// by the generated ones (replaceFormulaLines: its question and placement,
// after the lines of the income and deduction items).
FormulaResult generateAnnualFormulas(Session& s, Prompt& p);

// The month-end carry into the new period's _Data (prefix of the new
// period) from the recalculated grid of the month being closed; newTaxYear
// starts every employee from zero. Refuses (throws DbError) when the task
// is on the cumulative method without a complete choice. A task on the
// monthly method is left alone.
void carryCumulative(Session& s, const calc::WorkGrid& grid, const std::string& nextPrefix, bool newTaxYear);

// The refusal of a close that cannot carry: the method is cumulative but
// income or tax item is not chosen, or a chosen item is gone. Empty when
// the close may go on.
std::string cumulativeCloseRefusal(Session& s);

} // namespace gzgl::items

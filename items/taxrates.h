// Income-tax brackets (_TaxRate: F_Start exclusive lower bound, F_End
// inclusive upper bound, 0 on the open last bracket, F_Rate in percent,
// F_Quick quick deduction) and the generator that turns them into formula
// lines of the chosen item.
//
// The grid msfRate is edited as text: a row is four cell texts, an entirely
// empty row is skipped everywhere. The threshold (起征值) is typed on the
// page and never stored; the check needs it both before saving and before
// generating.
#pragma once

#include "core/prompt.h"
#include "core/session.h"
#include "items/formulas.h"

#include <string>
#include <vector>

namespace gzgl::items {

struct TaxRow {
    std::string start, end, rate, quick;
    bool empty() const;
    bool operator==(const TaxRow&) const = default;
};

// The grid's captions "起 始 值", "终 止 值", "税  率", "速算扣除".
const std::vector<std::string>& taxCaptions();
// The page's note and its example table, line by line.
const std::vector<std::string>& taxExampleLines();

// The stored brackets in ascending F_Start, every cell "#0.00"; an end of
// 1E+15 or more (the built-in 1E+99) shows empty, as the open end it is.
std::vector<TaxRow> loadTaxRows(Session& s);

// One edited cell: only "0123456789." ("含有非法字符！", the cell keeps its
// value); the accepted text is shown "#0.00" (an empty cell stays empty).
struct CellResult {
    Outcome outcome;
    std::string shown;
};
CellResult acceptTaxCell(const std::string& typed);

// The bracket check, title "警告": "必须输入起征值!" without a threshold;
// "范围输入错误!" for a row without start and end or whose start is not below
// its end; "范围有重叠!" when two rows share part of their range; "范围有遗漏!"
// when, ordered by start, a row does not begin where the previous one ends.
// Cells (and the threshold) with other characters than "0123456789." are
// refused with "含有非法字符！" first.
Outcome checkBrackets(const std::string& threshold, const std::vector<TaxRow>& rows);

// 存盘: the check, then the table is replaced by the non-empty rows (an
// empty cell stores 0) in one transaction; "成功存贮完毕！" on success.
Outcome saveBrackets(Session& s, const std::string& threshold, const std::vector<TaxRow>& rows);

// The question of 退出 before it saves.
inline constexpr const char* kSaveQuestion = "将当前值存盘吗？";

// The formula texts of the brackets, one per row with any non-zero value,
// in grid order: "{[F003-T>S]&[F003-T<=E],(F003-T)*R-Q}" for a closed
// bracket and "{F003-T>S,(F003-T)*R-Q}" for the open one, every number as
// plain decimal text and R = rate / 100 with at least two decimals (0.10).
// An end of 0, empty, or too large to be written without an exponent
// (>= 1E+15, such as the built-in table's 1E+99) makes the open form: the
// formula reader would take "1E+99" as 1+99. Rows are not checked here.
std::vector<std::string> taxFormulaTexts(const std::string& threshold, const std::vector<TaxRow>& rows);

// 生成所得税公式: the check, then every text added as a new line of code
// through addFormulaLines (its refusals and question apply).
FormulaResult generateTaxFormulas(Session& s, Prompt& p, const std::string& code, const std::string& threshold,
                                  const std::vector<TaxRow>& rows);

// Whether a bracket end makes the open top bracket: 0, or too large to be
// written without an exponent (>= 1E+15, such as the built-in 1E+99).
bool openBracketEnd(double end);

// rate / 100 as a formula writes it, with at least two decimals: 10 gives
// 0.10, 7.5 gives 0.075.
std::string rateFraction(double percent);

// The decimal text of a value without exponent: at most 15 significant
// digits, no trailing zeros (800, 0.1, 100000000000000000000).
std::string plainDecimal(double v);

// A value in the "#0.00" pattern (the shared rounding of calc/numformat.h).
std::string formatMoney(double v);

} // namespace gzgl::items

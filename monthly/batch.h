// Batch adjustment (工资成批调整): one input item changed for a chosen
// group of employees in one go — set to a new value, scaled by a ratio, or
// computed by a formula over the employee's recalculated values.
//
// Design note. A run goes: the checks of the request (item, input, the
// formula's characters and brackets) before anything is read; the group
// loaded into a working grid (every item a column, numbers as "#0.00",
// empty number cells "0.00") from the department type, department,
// employee type, employee number and name filters, all bound LIKE
// prefixes; the grid recalculated so that conditions and formulas see
// calculated items; the rows narrowed by the conditions; then the new value
// of every remaining row, rounded to the item's precision, written in ONE
// transaction. A row that fails (a formula that cannot be evaluated) rolls
// the whole run back, so no employee is changed and a rerun of a ratio
// never scales anybody twice.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "items/items.h"

#include <string>
#include <vector>

namespace gzgl::monthly {

// Title of every message of the screen.
inline constexpr const char* kBatchTitle = "提示";
inline constexpr const char* kAnd = "并且";
inline constexpr const char* kOr = "或者";
// A condition compares numbers: a value that is not one would read as 0.
inline constexpr const char* kConditionNotNumber = "调整条件的值必须是数字。";

// The three modes of cmbWay, by list position.
enum class BatchWay { NewValue = 0, Ratio = 1, Formula = 2 };

// "调整为新数值", "将原数值按比例调整", "按以下公式计算".
const std::vector<std::string>& batchWays();
// The label beside the input box for a mode.
std::string batchWayLabel(int way);
// cmbSym1: ">", ">=", "=", "<", "<=".
const std::vector<std::string>& conditionOperators();
// "并且", "或者".
const std::vector<std::string>& joinWords();

// The items that can be adjusted: number items without a formula line, in
// F_ID order.
std::vector<items::ItemChoice> adjustableItems(Session& s);
// The items a condition can name: number items other than F001, F002,
// FFFF, FFFE and FFFD, in F_ID order.
std::vector<items::ItemChoice> conditionItems(Session& s);
// cmbType: the department type names by type number.
std::vector<std::string> departmentTypeNames(Session& s);

// One row of the condition list flgQuery.
struct BatchCondition {
    std::string code;
    std::string name;
    std::string op;    // one of conditionOperators()
    std::string value; // as typed, compared as a number
    std::string join;  // 并且 or 或者
    bool operator==(const BatchCondition&) const = default;
};

struct AddConditionResult {
    Outcome outcome;
    BatchCondition condition;
};

// cmdAdd (条件加入): the item (a condition item's name, or its code), the
// operator and the value must all be given, the operator one of the list
// and the joining word one of the two; otherwise "请选择查询的条件" titled
// "提示". A value that is not one plain number (isNumberText) is refused
// with "调整条件的值必须是数字。". The condition carries the item's code.
AddConditionResult addCondition(Session& s, const std::string& item, const std::string& op,
                                const std::string& value, const std::string& join);

// Whether a row with these values (by item code) stays in the group: every
// condition joined with 并且 holds and, when any is joined with 或者, at
// least one of those holds. An empty list keeps every row.
bool keepsRow(const std::vector<BatchCondition>& conditions, const std::vector<double>& values);

// What cmdOk1 works on, as the screen's boxes hold it.
struct BatchRequest {
    std::string item;    // the adjusted item's code
    int way = 0;         // BatchWay
    std::string input;   // txtFormula: the value, the ratio or the formula
    std::string depType; // cmbType: a department type name, empty for all
    std::string dep;     // txtDep: department number, up to the first blank
    std::string empType; // txtType: employee type code, up to the first blank
    std::string empNo;   // txtCode: employee number prefix
    std::string name;    // txtName: name prefix
    std::vector<BatchCondition> conditions;
};

// The mode-2 check that runs before anything is read: only the characters
// "0123456789+-*/.()[]{}><F" and "," ("公式含有非法字符！"), then (), [] and
// {} in equal numbers and at most two "," ("公式错误，请进行维护！").
Outcome checkBatchFormula(const std::string& formula);

struct BatchResult {
    Outcome outcome;                  // the refusal, or "数据更改完毕！"
    std::vector<std::string> changed; // employee numbers written, in grid order
};

// cmdOk1 (确定): the checks in their order — no adjustable item chosen
// "请选择调整的工资项目。"; for mode 0 no number "请输入调整后的数值。",
// mode 1 "请输入调整的比例。" (a box whose text is not a number counts as
// empty), mode 2 an empty box "请输入调整的公式。", the formula check, and
// "公式错误！" for a code that is not a number item with a value (a _Data
// column or a formula line); a condition
// value that is not a number "调整条件的值必须是数字。"; a new value beyond
// the entry grid's bound "谁这么大款，有这么多工资？" (amountFits).
// Then loads, recalculates and narrows the group and works out the new
// value of every remaining employee: modes 0 and 1 the value rounded to
// the item's precision; mode 2 the row's values substituted into the
// formula and evaluated, a conditional that assigns nothing leaving that
// row unchanged. A failed evaluation refuses the run with "公式错误！", and
// otherwise a value beyond the bound with "谁这么大款，有这么多工资？";
// either way nothing is written. Then writes the item of those employees
// ("Update .._Data set code=? where F_EmpNo=?"), all in one transaction; a
// missing _Data column of the item is added first. The last employee
// written becomes the session's current employee. Throws DbError (nothing
// written) when the database fails.
BatchResult runBatch(Session& s, const BatchRequest& request, Progress& progress);

} // namespace gzgl::monthly

// Formula lines: the _Formula table of the open period, one row per line
// (F_ID order = order of calculation, F_Code = the item it computes,
// F_Formula = the text), and the check a text passes before it is stored.
//
// Column rule. A formula item keeps no stored values: when per-employee
// exceptions are on, a stored value takes the place of the formula for that
// employee, so values left over from the item's input days would silently
// override it. Therefore the item's _Data column is dropped when it gets its
// first line (after the question "此项目已有数据存在，是否全部清除?" when the
// column holds values; F003 and F000 without a question) and a number column
// is added back when its last line is removed (not for F000, which the entry
// screen adds when it needs it).
#pragma once

#include "core/prompt.h"
#include "core/session.h"
#include "items/items.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gzgl::items {

struct FormulaLine {
    int id = 0;
    std::string code;
    std::string formula;
    bool operator==(const FormulaLine&) const = default;
};

// fgAlready: every line in F_ID order.
std::vector<FormulaLine> loadFormulaLines(Session& s);
bool hasFormula(Session& s, const std::string& code);

// lstWait: the number items in F_ID order without FFFF, FFFE, FFFD.
std::vector<ItemChoice> waitingItems(Session& s);

// The text as it is checked and stored: every space, tab and line break
// removed.
std::string cleanFormula(std::string_view text);

// The check of a cleaned text, in order: characters outside
// "0123456789()[]{}.,+-*/><&|=F" ("含有非法字符！"); at every "F" a number
// item's code ("公式有错误，请进行维护！") followed by an operator or the end
// ("公式有错误，请进行维护！！"); no "=" among the first five characters; the
// brackets pair up and there are at most two commas. Title "提示窗".
Outcome checkFormula(Session& s, const std::string& cleaned);

// The formula page's 确认公式 (picAdd).
struct FormulaEdit {
    std::string code;               // the item chosen in lstWait
    std::string text;               // txtFormula
    std::optional<int> selectedId;  // the line selected in fgAlready
};

struct FormulaResult {
    Outcome outcome;
    int id = 0;            // the line written (or moved)
    bool changed = false;  // false when nothing was written
};

// Refuses no item, an empty text; asks the clearing question for an item
// without lines whose column holds values (No stops); does nothing when the
// text equals the selected line of this item; checks the text; then
// replaces the selected line when it belongs to the item, else adds a new
// line with the next id (dropping the item's column with its first line).
FormulaResult putFormula(Session& s, Prompt& p, const FormulaEdit& edit);

// Adds each text as a new line of code, as putFormula adds one: the same
// refusals, the one question before the first line, every text checked
// before any is stored, all lines in one transaction. The tax generator's
// way in. id is the last line added.
FormulaResult addFormulaLines(Session& s, Prompt& p, const std::string& code, const std::vector<std::string>& texts);

// Replaces every line of code by the texts, as one block: where the item's
// first line stood, or, for an item without lines, before the first line
// whose formula uses the item (so that net pay still comes after its tax),
// else at the end; but never before a line that computes one of inputs,
// the items the texts read. The refusals, question and checks of
// addFormulaLines; all lines are renumbered 1, 2, ... in one transaction.
// id is the last line written.
FormulaResult replaceFormulaLines(Session& s, Prompt& p, const std::string& code,
                                  const std::vector<std::string>& texts, const std::vector<std::string>& inputs = {});

// 去除公式 (picLeft): removes line id of code; refuses no selection
// ("请选择需要删除的项目！"). The item's number column comes back with its
// last line, except for F000.
Outcome removeFormula(Session& s, const std::string& code, std::optional<int> id);

// 向上/向下移动公式顺序: swaps the line with its neighbour and stores the new
// order (every line rewritten with F_ID 1, 2, ...). id is the moved line's
// new id. An id of no line is refused with "不存在此公式！".
FormulaResult moveFormula(Session& s, Prompt& p, int id, bool up);

// Every way lines are added, replaced or moved above first runs the order
// check (items/line_order.h): a line that would read an item a later line
// computes, where it did not before, is asked about, and No writes nothing.

} // namespace gzgl::items

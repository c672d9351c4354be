// The order check of formula lines: a line that reads an item which a later
// line computes uses that item's value from before the later line (empty or
// left over), which is the commonest formula mistake. Nothing is refused,
// since an order may be intended; a change of lines that brings a new such
// case is asked about, and the whole task can be listed.
#pragma once

#include "core/prompt.h"
#include "core/session.h"
#include "items/formulas.h"

#include <map>
#include <string>
#include <vector>

namespace gzgl::items {

struct OrderWarning {
    int line = 0;      // 1-based place of the line that reads too early
    std::string code;  // that line's item
    std::string item;  // the item it reads
    int laterLine = 0; // the first later line computing item
    std::string text;  // "第3行（实发工资 F000）中的“个人所得税”(F005)由后面的第5行计算，本行将使用其计算前的值"
};

// Every line and item it reads (its own item aside) that a later line
// computes, in line order; names maps codes to item names.
std::vector<OrderWarning> checkLineOrder(const std::vector<FormulaLine>& lines,
                                         const std::map<std::string, std::string>& names);

// 检查公式顺序: the task's lines; "公式顺序没有问题。" when there is nothing
// to report, else every warning, one per line of the message.
std::vector<OrderWarning> checkLineOrder(Session& s);
Outcome lineOrderReport(Session& s);

// Before lines are written in the order after: the warnings after brings
// that before did not have are put as one question (Yes keeps the change).
// True when there is nothing to ask or the answer is Yes.
bool acceptLineOrder(Session& s, Prompt& p, const std::vector<FormulaLine>& before,
                     const std::vector<FormulaLine>& after);

} // namespace gzgl::items

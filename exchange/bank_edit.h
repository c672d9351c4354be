// The edits the bank screen makes to a template between loading and
// saving: moving and removing rows, adding department entries, and the one
// message that sums up the lines a damaged template file lost.
#pragma once

#include "core/prompt.h"
#include "exchange/bank.h"

#include <string>
#include <vector>

namespace gzgl::exchange {

inline constexpr const char* kRowAtBottom = "不能再向下移了！";
inline constexpr const char* kRowAtTop = "不能再向上移了！";

// Moves row index (0-based) one place up (delta -1) or down (+1). Refuses
// at the first row going up and at the last row going down, leaving the
// rows as they were; an index outside the rows is refused without a
// message.
Outcome moveBankRow(BankTemplate& tpl, int index, int delta);

// Removes row index (0-based); false when there is no such row.
bool removeBankRow(BankTemplate& tpl, int index);

// Appends the department entry "code name" unless an entry with that code
// is already listed. Answers the index of the entry (new or old), or -1
// for an empty code.
int addBankDepartment(BankTemplate& tpl, const std::string& code, const std::string& name);

// The code of a department entry: the text before its first blank.
std::string departmentCodeOf(const std::string& entry);

// One message for the problems loadBankTemplate reported: the first
// `shown` of them, one a line, and how many more there were. Empty when
// there were none.
std::string templateProblemsMessage(const std::vector<std::string>& problems, std::size_t shown = 10);

} // namespace gzgl::exchange

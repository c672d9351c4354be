// The one-employee view of the entry grid (frmInput): the items of one
// grid row as rows of caption and value, stepping through the employees
// of the main grid. Editing goes through SalaryEntry::endInputEdit.
#pragma once

#include "monthly/entry.h"

#include <string>
#include <vector>

namespace gzgl::monthly {

struct InputRow {
    int column = 0;        // the grid column the row shows
    std::string code;
    std::string caption;   // the rounding-off items and net pay by their fixed names
    std::string value;
    bool editable = false;
    bool operator==(const InputRow&) const = default;
};

// The items of grid row r shown in the main grid, from net pay on (the
// number and name head the view), in the grid's column order.
std::vector<InputRow> inputRows(const SalaryEntry& e, int r);

// cmdFront / cmdAfter: the employee row before or after r, r itself at
// either end.
int previousEmployee(const SalaryEntry& e, int r);
int nextEmployee(const SalaryEntry& e, int r);

} // namespace gzgl::monthly

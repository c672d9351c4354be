// Loading the month's working grid as the salary entry screen shows it: one
// column per item in F_ID order, one row per employee ordered by department,
// sort number and employee number, stored values formatted with their
// item's precision, "no value" (Null or -9999) left empty.
#pragma once

#include "calc/workgrid.h"
#include "core/session.h"

#include <string>
#include <vector>

namespace gzgl::monthly {

// One item column of the grid, as the entry screens need it for widths,
// visibility and editing.
struct ItemColumn {
    std::string code;
    std::string name;
    std::string type; // 数字, 文字, 日期
    bool show = true;
    int width = 15; // millimetres
    int prec = 0;
    bool fixedValue = false; // F_Change
    double fixedAmount = 0; // F_ChgValue
    std::string precisionFormat() const;
};

// Which employees the grid holds and in which order. Every filter is a
// prefix (empty = all) matched literally: a "%" or "_" typed in it matches
// only itself.
struct GridFilter {
    std::string depNo{};
    std::string empNo{};
    std::string empName{};
    // A department list by code prefix (a code takes in its sub-departments):
    // with depInclude only employees under one of the codes take part, else
    // those under any of them are left out. An empty list leaves everyone in.
    std::vector<std::string> depCodes{};
    bool depInclude = false;
    enum class Order { Department, Account, EmployeeNo };
    // Department: department, sort number, employee number (the entry grid);
    // Account: bank account, then employee number; EmployeeNo alone.
    Order order = Order::Department;
};

struct LoadedGrid {
    std::vector<ItemColumn> columns;
    calc::WorkGrid grid;
};

// The items of the open task's current period in F_ID order.
std::vector<ItemColumn> loadItemColumns(Session& s);

// Loads the grid. The entry screen first gives every employee a data row
// and resets the fixed-value items in the database; asIfOpened shows that
// state without writing it (employees without a data row appear with empty
// cells, fixed-value items without formula show their fixed value), for
// callers that must not change the month.
LoadedGrid loadWorkGrid(Session& s, const GridFilter& filter, bool asIfOpened);

} // namespace gzgl::monthly

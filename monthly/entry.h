// The salary entry screen (工资录入, frmSalary) and its one-employee view
// (frmInput): the month's working grid of a department, edited cell by
// cell, each accepted value stored at once and the row recalculated.
//
// Design note. SalaryEntry holds what the open screen holds: the item
// columns, the working grid (rows 0 and 1 codes and captions, employees
// from row 2), the formula lines with their precisions read when the
// screen opened (the one-row recalculation after an edit uses this copy,
// as the screen's hidden formula and precision grids did), the department
// shown and the items ticked for display. Only input values are stored:
// an accepted number goes to its item's _Data column formatted with the
// item's precision, a text or date item as typed; calculated items live in
// the grid only. A refused entry changes neither the database nor the
// cell. Opening the screen runs the month-data refresh first, so every
// employee has a data row and the fixed-value items hold their value.
//
// Every message is titled with the program's title.
#pragma once

#include "calc/recalc.h"
#include "calc/trace.h"
#include "calc/workgrid.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "items/pickers.h"
#include "monthly/workgrid_load.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace gzgl::monthly {

inline constexpr const char* kEntryTitle = "工资录入";
inline constexpr int kEntryForm = 9989;
inline constexpr const char* kCloseQuestion = "退出本模块吗？";
inline constexpr const char* kNoCondition = "请填入查询条件！";
inline constexpr const char* kNoSuchPerson = "查无此人！";
inline constexpr const char* kTooRich = kAmountTooLarge;
inline constexpr const char* kIllegal = "含有非法字符！";
// The one-employee view's text box check words it without the mark.
inline constexpr const char* kIllegalInBox = "含有非法字符";

// "部门人数：" + n + "人".
std::string headcountText(long long n);

// What ending an edit did.
struct EditResult {
    bool written = false;  // a value reached _Data
    std::string shown;     // what the cell shows now
    Outcome outcome;       // a refusal: its message (ok false)
};

class SalaryEntry {
public:
    explicit SalaryEntry(Session& s) : s_(s) {}

    // The opening sequence: the month-data refresh; the department (the
    // first lowest-level one, or the settings' department, "" for all) and
    // its headcount; the formula lines with their precisions; the grid of
    // that department, loaded and fully recalculated. With settings the
    // employee filters and the ticked items come from them as well;
    // without, the items shown are those marked for display (F_Show).
    // Throws DbError; the refresh then leaves the month as it was.
    void open(Progress& progress, const items::SalarySettings* settings = nullptr);

    // The display settings (frmSalarySet's cmdBegin): the grid rebuilt from
    // the filters and ticked items and recalculated.
    void applySettings(const items::SalarySettings& settings, Progress& progress);
    items::SalarySettings settings() const;

    // Another department: its name and headcount (both by code prefix,
    // "" for all), the grid rebuilt for it and recalculated.
    void chooseDepartment(const std::string& depNo, Progress& progress);

    // cmdQuery: the employees whose number and name begin with the texts.
    // Refuses both empty ("请填入查询条件！") and no match ("查无此人！");
    // the grid is left as it was then.
    Outcome find(const std::string& empNo, const std::string& empName, Progress& progress);

    const calc::WorkGrid& grid() const { return grid_; }
    const std::vector<ItemColumn>& columns() const { return columns_; }
    const ItemColumn& column(int c) const { return columns_.at(static_cast<std::size_t>(c)); }
    const std::string& depNo() const { return depNo_; }
    const std::string& depName() const { return depName_; }
    // lblRs.
    const std::string& headcount() const { return headcount_; }
    bool exceptionsOn() const { return settings_.exceptions; }
    bool showCodes() const { return showCodes_; }
    Session& session() { return s_; }

    // Whether the column is shown: ticked in the display settings, and not
    // one of FFFF, FFFE, FFFD while the task rounds nothing off.
    bool columnVisible(int c) const;
    // Its width, F_Width × 55 twips; 0 when hidden.
    int columnTwips(int c) const;
    // Whether an item has formula lines (never FFFF, FFFE, FFFD).
    bool hasFormula(const std::string& code) const;
    // A cell can be edited from column 3 on, in an employee row, when its
    // item has no formula and its value is stored in _Data (every input
    // item; F000 gets its column when first written). The account items
    // show employee fields and have no _Data column, so they are not typed
    // here.
    bool editable(int r, int c) const;

    // Where Enter moves from (r, c): the next shown, editable column to
    // the right, else the first one of the next row; (r, c) itself at the
    // end of the grid.
    std::pair<int, int> nextCell(int r, int c) const;
    // Up and Down: the same column one row up or down, kept within the
    // employee rows.
    int rowAbove(int r) const;
    int rowBelow(int r) const;

    // Ends the edit of cell (r, c), which held start when editing began,
    // with the text typed:
    //  - unchanged (for a number item: the same "#0.00" text): nothing;
    //  - a text or date item: stored as typed, a single blank when empty;
    //  - a number item: refused with "谁这么大款，有这么多工资？" when its
    //    whole part runs to nine or more characters (the first "." at
    //    position 10 or later), typed or once rounded to the item's
    //    precision (amountTextFits); with "含有非法字符！" for characters
    //    outside "0123456789.-" or a text that is not one number; empty
    //    counts as 0; stored formatted with the item's precision;
    //  - then the employee becomes the current one and the row is
    //    recalculated.
    // A cell that is not editable is left alone.
    EditResult endEdit(int r, int c, const std::string& start, const std::string& entry);

    // frmInput: the cell can be typed in the one-employee view. Beside the
    // grid's editable cells, a formula item's cell while the per-employee
    // exceptions are on: the value typed is stored for this employee and
    // takes the place of the formula (an empty entry removes it again).
    bool inputEditable(int r, int c) const;
    // frmInput's write-back: endEdit's rules with the box's wording of the
    // illegal-character message, and the per-employee value of a formula
    // item (its _Data column added when missing; -9999 = none stored).
    EditResult endInputEdit(int r, int c, const std::string& start, const std::string& entry);

    // The one-row recalculation with the copy of the formula lines taken
    // when the screen opened. The cells the lines write start from what
    // the grid loaded for them, so the row comes out as a full
    // recalculation of the stored values gives it, even where a line
    // assigns nothing this time (a tax line below the threshold).
    void recalculateRow(int r);

    // 计算过程 of row r: the same one-row recalculation on a copy of the
    // row, with every step recorded; the grid is not changed.
    calc::EmployeeTrace traceRow(int r);
    // The same as the text the trace window shows, prints and copies.
    std::string traceText(int r);

private:
    enum class Box { Grid, Input };
    EditResult write(int r, int c, const std::string& start, const std::string& entry, Box box);
    void reload(const GridFilter& filter, Progress& progress);
    void readDepartment(const std::string& depNo, bool exact);

    Session& s_;
    std::vector<ItemColumn> columns_;
    calc::WorkGrid grid_;
    std::vector<calc::FormulaLine> lines_;
    std::set<std::string> formulaCodes_;
    std::set<std::string> dataColumns_; // upper-case
    std::set<std::string> ticked_;
    // The columns the formula lines write (their targets; FFFE and FFFD
    // with a net-pay line) and, row by row, their cells as loaded.
    std::vector<int> computedCols_;
    std::vector<std::string> loadedComputed_;
    calc::RecalcSettings settings_;
    GridFilter filter_;
    std::string depNo_, depName_, headcount_;
    bool showCodes_ = false;
};

} // namespace gzgl::monthly

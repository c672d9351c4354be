// The working grid: the month's salary data as every screen that shows,
// prints or exports it holds it while it recalculates.
//
// Layout (the contract between the screens and the recalculation):
//   row 0     the item code of each column (F_Code)
//   row 1     the captions (F_Name)
//   row 2...  one row per employee
// Every item of the task has a column in F_ID order, so F001 (employee
// number) is column 0 and F002 (name) column 1; codes are looked up from
// column 2 on. Every cell is text: a number formatted with its item's
// precision, or empty.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gzgl::calc {

inline constexpr int kFirstEmployeeRow = 2;
inline constexpr int kFirstItemColumn = 2;

class WorkGrid {
public:
    WorkGrid() = default;
    // A grid with the two header rows, one column per code.
    WorkGrid(const std::vector<std::string>& codes, const std::vector<std::string>& captions);

    int rows() const { return cols_ == 0 ? 0 : static_cast<int>(cells_.size() / cols_); }
    int cols() const { return cols_; }
    std::string& cell(int r, int c) { return cells_[static_cast<std::size_t>(r) * cols_ + c]; }
    const std::string& cell(int r, int c) const { return cells_[static_cast<std::size_t>(r) * cols_ + c]; }
    // Appends an employee row of empty cells and answers its index.
    int addRow();
    // Makes room for that many more rows, so that filling a large grid row
    // by row does not move its cells again and again.
    void reserveRows(int more);
    // The column from column 2 on whose row-0 text is code; -1 when none.
    int columnOf(std::string_view code) const;
    int employeeCount() const { return rows() < kFirstEmployeeRow ? 0 : rows() - kFirstEmployeeRow; }

private:
    int cols_ = 0;
    std::vector<std::string> cells_;
};

} // namespace gzgl::calc

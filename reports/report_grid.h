// The body of a standard report, and how the months of a range add up.
//
// Layout. A report grid is one caption row (the lowest row of the printed
// heading) and data rows; every column is either a text column (codes,
// names, the department, text and date items) or a number column (the
// head count and the numeric items). A row keeps its number cells as sums
// in doubles and its text cells as text; cells are written out only when
// the report is printed or listed. The first two cells of a row are its
// key: department code and name in the summaries, employee code and name
// in the pay sheet and the payslips.
//
// Month merge. Each month of a range is built into a grid of its own and
// added into the report: a month column is matched by its caption (the
// n-th of equal captions with the n-th), and a caption the report lacks
// becomes a new column at the end; a month row is matched by its key, and
// a key the report lacks becomes a new row at the end. Number cells are
// added, text cells take the month's text where it has one, so a moved
// employee shows his last department. A number column keeps the most
// decimals any month gave it. The totals row "合   计" is added once,
// after the last month, as the column sums of the rows above.
//
// Exactness. Every value put into a number cell has at most its column's
// decimals, and every addition is rounded to those decimals through
// roundToPattern, so a sum is the exact decimal sum of what the rows show:
// the totals row equals, to the cent, the sum of the rows printed above it,
// and a range equals the sum of its months.
#pragma once

#include <string>
#include <vector>

namespace gzgl::reports {

inline constexpr const char* kTotalCaption = "合   计";

struct ReportColumn {
    std::string caption;
    std::string code;  // item code; empty for the report's own columns
    bool text = false; // not summed
    int decimals = 0;
    double widthMm = 0; // 0: fitted to the texts when printed
};

struct ReportRow {
    std::vector<std::string> texts; // per column; used in text columns
    std::vector<double> values;     // per column; used in number columns
};

class ReportGrid {
public:
    std::vector<ReportColumn> columns;
    std::vector<ReportRow> rows; // data rows, then the totals row once added

    int cols() const { return static_cast<int>(columns.size()); }
    // A new row of empty texts and zero values; answers its index.
    int addRow();
    // Adds v to a number cell, rounded to the column's decimals.
    void add(int row, int col, double v);
    // The cell as it prints: a number column's value with its decimals.
    std::string cell(int row, int col) const;
    // The row's key: its first two cells.
    std::string key(int row) const;
    bool hasTotal() const { return hasTotal_; }
    // Data rows only (the totals row left out).
    int dataRows() const { return static_cast<int>(rows.size()) - (hasTotal_ ? 1 : 0); }

    // Appends the row "合   计": the first cell that caption, the other
    // text cells empty, each number column the sum of the data rows. A
    // second call replaces the first.
    void addTotalRow();
    // Takes the totals row away again (none: nothing happens).
    void removeTotalRow();

private:
    bool hasTotal_ = false;
};

// Adds a month's grid (without totals row) into the report as described in
// the design note. The report's totals row, if any, is dropped first; the
// caller adds it again after the last month.
void mergeMonth(ReportGrid& report, const ReportGrid& month);

} // namespace gzgl::reports

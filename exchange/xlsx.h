// Writing a table of captions and rows to an Excel workbook (.xlsx), the
// common output of the program's exports and query results.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace gzgl::exchange {

// How the cells of one column are written.
enum class CellKind {
    Number, // a number cell; an empty text stays an empty cell, a text that
            // does not read as a number is written as text
    Text,   // always a text cell, so long digit strings such as bank account
            // numbers keep every digit
};

// One worksheet: the captions form the first row, then the rows follow.
// kinds and widths are per column; a missing kind means Text, a missing or
// non-positive width leaves the column at Excel's default.
struct SheetTable {
    std::string sheetName = "Sheet1";
    std::vector<std::string> captions;
    std::vector<CellKind> kinds;
    std::vector<std::vector<std::string>> rows;
    std::vector<double> widths; // in characters
};

// A workbook that could not be written; what() is a message for the user.
class XlsxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes t as the only sheet of a new workbook at path (UTF-8), replacing an
// existing file. Throws XlsxError when the file cannot be written.
void writeXlsx(const std::string& path, const SheetTable& t);

} // namespace gzgl::exchange

// Print projects: the page setups the print engine keeps per form number in
// a period's four tables _PrnPrj (one row per project), _PrnHead and
// _PrnFoot (its header and footer lines) and _StdPrnCol (its columns).
//
// Design note. A form may hold several projects; the one printed is the
// form's default (F_defPrj = 1, else the lowest project number). Every form
// that prints with one form number therefore shares one page setup. Lines
// and columns are keyed by their index: the job's i-th header line takes
// its layout (visibility, font, alignment, distances) from the stored line
// i, and its text from the job while the stored line's F_Pkg is 1 ("text
// from the program"); a line whose F_Pkg is 0 prints its stored text, which
// is how the page setup holds a user's own wording.
//
// Columns. A column that shows a salary item is keyed by the item's code,
// so moving, adding or deleting an item never hands one item's width or
// alignment to another; F_Col then holds the code's four ASCII bytes as
// one big-endian number (F010 -> 0x46303130), far above any grid index.
// Other columns (grids without item codes) are keyed by their grid index.
// Rows written by grid index for a grid that now has codes are taken over
// by the item at that index when the form next prints (see clsGridPrint::
// project). F_ColWidth 0 means "the width the screen gives", which for an
// item is its F_Width, so a changed F_Width reaches the next print; a
// positive width is the user's own from the page setup.
// Meaning of the settings the tables leave open:
//   F_FixHeight   data row height in millimetres
//   F_Rows        data rows per page; 0 = as many as fit
//   F_Forms       payslips per page; 0 = as many as fit
//   F_FormDist    gap between payslips (mm); F_SalaryHeight the least
//                 height of one payslip in centimetres
//   F_PageHead/F_PageFoot  1 = header/footer lines printed
//   F_Zero        0 = zero values print as they are, 1 = left blank
//   F_Thousand    1 = numbers with thousands separators
//   F_dPara1/F_dPara2  paper width and height in mm (0 = A4)
//   F_iPara3      1 = landscape
// F_SpRow, F_PreNext, F_PreNextCol, F_Pkg and the other spare parameters
// are kept as stored.
#pragma once

#include "core/connection.h"
#include "core/session.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gzgl::print {

// The four full table names of one period.
struct PrintTables {
    std::string prj, head, foot, col;
    // The tables of the period with this task prefix ("ID0001_200603_").
    static PrintTables forPrefix(const std::string& prefix);
    bool operator==(const PrintTables&) const = default;
};

// A header or footer line. dist is F_TopDist for a header line (gap above
// it), F_BottomDist for a footer line (gap below it).
struct PrintLine {
    bool visible = true;
    bool pkg = true;
    std::string font;
    int align = 0; // 0 left, 1 centre, 2 right
    double lrDist = 0;
    double dist = 1.0;
    std::string content;
    bool operator==(const PrintLine&) const = default;
};

struct PrintColumn {
    PrintColumn() = default;
    // Most columns are written without a code: a constructor rather than
    // aggregate braces, which would leave code out with a warning.
    PrintColumn(int col, double width, int align, int headAlign, int inPage, std::string code = {})
        : col(col), width(width), align(align), headAlign(headAlign), inPage(inPage), code(std::move(code)) {}
    int col = 0;      // grid index; -1 for a column keyed by item code
    double width = 0; // mm; 0 = the width the screen gives
    int align = 0;    // data cells
    int headAlign = 1;
    int inPage = 1;   // 1 printed; anything else not (-1 is transient)
    std::string code; // item code; empty = keyed by grid index
    // The F_Col value the column is stored under.
    std::int64_t key() const;
    bool operator==(const PrintColumn&) const = default;
};

// The F_Col value of an item code: its four ASCII bytes, big-endian; 0
// for a code that is not four printable ASCII characters.
std::int64_t codeColumnKey(const std::string& code);
// The item code an F_Col value stands for; empty for a grid index.
std::string codeOfColumnKey(std::int64_t key);

struct PrintProject {
    long formID = 0;
    long prjID = 1;
    std::string name = "默认方案";
    bool isDefault = true;
    int rows = 0;
    int spRow = 0;
    double rowHeight = 6.0; // F_FixHeight
    int forms = 0;
    double formDist = 6.0;
    int fixCols = 0;
    bool pageHead = true;
    bool pageFoot = true;
    int preNext = 0;
    int preNextCol = 0;
    int zero = 0;
    bool thousand = false;
    double top = 15, bottom = 15, left = 15, right = 15;
    std::string colHeadFont = "1,0,宋体,9,0,0,0,";
    std::string dataFont = "0,0,宋体,9,0,0,0,";
    int pkg = 0;
    double salaryHeight = 2; // cm
    double paperWidth = 0, paperHeight = 0; // 0 = A4
    bool landscape = false;
    int iPara4 = 0;
    std::string sPara5, sPara6;
    std::vector<PrintLine> heads;
    std::vector<PrintLine> foots;
    std::vector<PrintColumn> columns; // ordered by key()
    bool operator==(const PrintProject&) const = default;

    // The column entry of the item code, or of grid column col when code
    // is empty; nullptr when none is stored.
    const PrintColumn* column(int col, const std::string& code = {}) const;
    PrintColumn* column(int col, const std::string& code = {});
};

// The project the print engine writes for a form that has none yet: A4
// portrait, the leading two columns (number and name) repeated on every
// horizontal page.
PrintProject defaultProject(long formID);

// The form's default project, nullopt when the form has none. Throws
// DbError when the tables cannot be read.
std::optional<PrintProject> loadDefaultProject(Connection& c, const PrintTables& t, long formID);

// Replaces the stored rows of p's form and project (project row, lines,
// columns) in one transaction; p becomes the form's default project.
// Throws DbError; nothing is changed then.
void saveProject(Connection& c, const PrintTables& t, const PrintProject& p);

// Clears the transient column state of the current period: every column
// left with F_InPage = -1 prints again. Answers the columns changed.
int resetTransientColumns(Session& s);

} // namespace gzgl::print

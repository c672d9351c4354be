// clsGridPrint: the print engine every printable screen hands its grid to.
// A job is built in the order the screens call it (SetConnection,
// SetTables, SetGrid / SetHeadGrid, SetFormID, AddHead, AddFoot, the seven
// settings) and then paginated into a page model: pages of positioned
// text items and lines in millimetres, each text with its font spec. The
// model is drawn by the renderer (print/render) on a printer, a PDF or the
// preview; here it stays plain data so that tests can read it page by page.
//
// Layout. The page is the paper (A4 unless the project says otherwise)
// less its margins. From the top: the header lines, then the table with
// the heading rows repeated on every page and at most F_Rows data rows;
// the footer lines stand at the bottom margin. Header (and footer) lines
// that follow each other with rising alignment (left, centre, right) share
// one text line, so "部门：…" on the left and the page line on the right
// read as one line. When the printed columns are wider than the page, the
// columns are cut into horizontal pages, and the first F_FixCols printed
// columns are repeated on each. Pages run over the vertical row blocks,
// and within each block over its horizontal pages; "<当前页号>" and
// "<总页号>" count all of them.
//
// Figures are never cut. A figure (see isFigure) that does not fit its
// column widens the column for this job only: the widths stored in the
// project stay as they are, since one month's large amount should not
// widen every later print. When the widened columns need more horizontal
// pages than before, the data font is made smaller, in half points down
// to kMinDataFontPt at the least, as far as that saves a horizontal page;
// what still does not fit continues on horizontal pages. Texts are
// measured by an injected TextMeasure (the renderer's fonts); without one
// a conservative estimate per character class stands in. Other texts
// keep the column's width and may be cut.
//
// Payslip mode (setting C): each data row is printed as its own small form
// with the heading rows above it, F_Forms forms to a page (0 = as many as
// fit) with F_FormDist millimetres between them; a form too wide for the
// page continues in further bands below, fixed columns repeated.
#pragma once

#include "core/connection.h"
#include "core/prompt.h"
#include "print/projects.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gzgl::print {

// The grid the screen prints. Rows x cols of text; the first fixedRows rows
// are the column headings.
struct PrintGrid {
    int fixedRows = 1;
    std::vector<std::vector<std::string>> cells; // rows x cols, heading rows first
    std::vector<double> colWidthMm; // per column; 0 = column not printed
    std::vector<int> colAlign; // optional per column 0 left 1 centre 2 right; empty = text left, numbers right
    std::vector<std::string> colCode; // optional per column item code; empty = keyed by column index
    // Optional per column: true for a text column, whose digits (account
    // and identity numbers) never get thousands separators or blanked as
    // zero; where not given, a cell that reads as a number is one.
    std::vector<bool> colText;
    int dataRows() const;
    int cols() const;
    // The width the screen gives column c: 20 mm where it gives none.
    double colWidth(int c) const;
    // The item code of column c; empty where the screen gives none.
    std::string code(int c) const;
    bool isText(int c) const { return c >= 0 && c < static_cast<int>(colText.size()) && colText[c]; }
};

// The two font specs the screens pass.
inline constexpr const char* kTitleFont = "1,0,宋体,15,0,0,255,";
inline constexpr const char* kTextFont = "0,0,宋体,9,0,0,0,";

// A font spec's fields: seven, each followed by a comma. Field 1 bold,
// field 2 italic, field 3 the face name, field 4 the size in points,
// fields 5 and 6 underline and strike-out; field 7 is not used.
struct FontSpec {
    bool bold = false;
    bool italic = false;
    std::string face = "宋体";
    double size = 9;
    bool underline = false;
    bool strike = false;
    static FontSpec parse(const std::string& spec);
    std::string text() const;
    // Height of one text line in mm.
    double lineHeightMm() const;
    bool operator==(const FontSpec&) const = default;
};

// The data font is never made smaller than this to fit widened columns.
inline constexpr double kMinDataFontPt = 6.0;

// The width in millimetres of text set in font, as the output will draw it.
using TextMeasure = std::function<double(std::string_view text, const FontSpec& font)>;

// A width that no usual face exceeds, for a job without fonts: digits and
// figure punctuation 0.6 em, other ASCII 0.75 em, anything else 1 em;
// bold 5 % more.
double estimateTextWidthMm(std::string_view text, const FontSpec& font);

// A text that must print whole: printable ASCII holding a digit, i.e.
// amounts, account and identity numbers, employee numbers and dates.
bool isFigure(std::string_view text);

// One piece of text in its box (millimetres from the paper's top-left
// corner), aligned horizontally in the box and centred vertically.
struct TextItem {
    double x = 0, y = 0, w = 0, h = 0;
    std::string text;
    std::string font;
    int align = 0; // 0 left, 1 centre, 2 right
    bool whole = false; // a figure: drawn whole even where it overhangs its box
};

struct LineItem {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0.2; // mm
};

struct Page {
    int number = 0;  // 1-based
    int block = 0;   // vertical row block (payslip mode: sheet)
    int part = 0;    // horizontal page within the block
    std::vector<TextItem> texts;
    std::vector<LineItem> lines;
    // Every text of the page in model order, for tests and searching.
    std::vector<std::string> allTexts() const;
    bool hasText(const std::string& t) const;
};

struct PageModel {
    double paperWidth = 210; // mm, as the page stands (landscape swapped)
    double paperHeight = 297;
    bool landscape = false;
    std::string title; // the document's name: the first header line
    std::vector<Page> pages;
    int pageCount() const { return static_cast<int>(pages.size()); }
};

class clsGridPrint {
public:
    clsGridPrint() = default;

    // The job's interface, in the order the screens call it.
    void SetConnection(Connection& c);
    void SetTables(const std::string& prnPrj, const std::string& prnHead, const std::string& prnFoot,
                   const std::string& stdPrnCol);
    void SetGrid(const PrintGrid& grid);
    void SetHeadGrid(const PrintGrid& grid);
    void SetFormID(long formID);
    void AddHead(const std::string& content, bool visible, bool pkg, const std::string& font, long align,
                 double lrDist, double topDist, long reserved);
    void AddFoot(const std::string& content, bool visible, bool pkg, const std::string& font, long align,
                 double lrDist, double bottomDist, long reserved);
    void SetSettingA(long v) { settingA_ = v; }
    void SetSettingB(long v1, long v2) { settingB_ = {v1, v2}; }
    void SetSettingC(bool payslips) { payslips_ = payslips; }
    void SetSettingD(long v) { settingD_ = v; }
    void SetSettingE(bool v) { settingE_ = v; }
    void SetSettingF(long v) { settingF_ = v; }
    void SetSettingG(long v) { settingG_ = v; }
    // How texts are measured for the column widths; the renderer passes
    // its fonts' metrics. Unset: estimateTextWidthMm.
    void SetTextMeasure(TextMeasure m) { measure_ = std::move(m); }

    // The project the job prints with: the form's default project, loaded
    // on first use. A form without a project gets the default one written
    // (lines and columns from this job, column widths 0 so that they follow
    // the screen's); lines and columns the stored project lacks are added
    // to it and written likewise. Columns stored by grid index for a grid
    // with item codes become the columns of the items now at those
    // indexes (a width equal to the screen's becomes 0). Throws DbError
    // (and std::logic_error without a connection or tables).
    PrintProject& project();
    // Stores the (edited) project as the form's page setup, in one
    // transaction, and prints with it from now on. Throws DbError.
    void saveProject(const PrintProject& p);

    // Lays the job out into pages.
    PageModel paginate();

    // What the job was given.
    long formID() const { return formID_; }
    bool payslips() const { return payslips_; }
    const PrintGrid& grid() const { return grid_; }
    const std::optional<PrintGrid>& headGrid() const { return headGrid_; }
    const std::vector<PrintLine>& heads() const { return heads_; }
    const std::vector<PrintLine>& foots() const { return foots_; }
    const PrintTables& tables() const { return tables_; }
    long settingA() const { return settingA_; }

private:
    Connection* conn_ = nullptr;
    PrintTables tables_;
    PrintGrid grid_;
    std::optional<PrintGrid> headGrid_;
    long formID_ = 0;
    std::vector<PrintLine> heads_;
    std::vector<PrintLine> foots_;
    long settingA_ = 0;
    std::pair<long, long> settingB_{0, 0};
    bool payslips_ = false;
    long settingD_ = 0;
    bool settingE_ = true;
    long settingF_ = 1;
    long settingG_ = 0;
    std::optional<PrintProject> project_;
    TextMeasure measure_;
};

// "<当前页号>" and "<总页号>" of text replaced by the page numbers.
std::string substitutePageNumbers(const std::string& text, int page, int total);

// The lines as they print: the stored lines' layout, each with the job's
// text of the same index while the stored line takes the program's text
// (F_Pkg 1); stored lines beyond the job's keep their own text.
std::vector<PrintLine> effectiveLines(const std::vector<PrintLine>& job, const std::vector<PrintLine>& stored);

// The page setup's edit of a line's text: shown is what the setup showed,
// typed what the user left there. An unchanged text keeps the line as it
// is; a changed one becomes the line's own text (F_Pkg 0), printed in
// place of the program's from now on; an emptied one gives the line back
// to the program.
void setLineText(PrintLine& stored, const std::string& shown, const std::string& typed);

// The page setup's checks before it is stored: margins that leave at least
// 40 mm of paper each way, font sizes of 4 to 72 points, a row height of
// 1 to 50 mm. nullopt when the setup may be stored.
std::optional<Outcome> checkPageSetup(const PrintProject& p);

} // namespace gzgl::print

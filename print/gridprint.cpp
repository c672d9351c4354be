#include "print/gridprint.h"

#include "core/numtext.h"
#include "core/text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace gzgl::print {

namespace {

constexpr double kA4Width = 210, kA4Height = 297;
constexpr double kCellPad = 1.0; // mm of room inside a cell on each side
constexpr double kMmPerPoint = 0.3528;

std::string withThousands(const std::string& t) {
    const std::string s = trim(t);
    const std::size_t start = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    const std::size_t dot = std::min(s.find('.'), s.size());
    std::string out = s.substr(0, start);
    for (std::size_t i = start; i < dot; ++i) {
        out += s[i];
        const std::size_t left = dot - i - 1;
        if (left > 0 && left % 3 == 0)
            out += ',';
    }
    return out + s.substr(dot);
}

// One printed column: its grid index, width and alignments.
struct Col {
    int index;
    double width;
    int align;
    int headAlign;
};

// Horizontal pages: the fixed columns, then as many others as fit; a
// column wider than the page still gets a page of its own.
std::vector<std::vector<Col>> splitParts(const std::vector<Col>& cols, std::size_t fixedCount,
                                         double contentWidth) {
    double fixedWidth = 0;
    for (std::size_t i = 0; i < fixedCount; ++i)
        fixedWidth += cols[i].width;
    std::vector<std::vector<Col>> parts;
    std::vector<Col> part(cols.begin(), cols.begin() + static_cast<std::ptrdiff_t>(fixedCount));
    double used = fixedWidth;
    bool hasOwn = false;
    for (std::size_t i = fixedCount; i < cols.size(); ++i) {
        if (hasOwn && used + cols[i].width > contentWidth) {
            parts.push_back(part);
            part.assign(cols.begin(), cols.begin() + static_cast<std::ptrdiff_t>(fixedCount));
            used = fixedWidth;
        }
        part.push_back(cols[i]);
        used += cols[i].width;
        hasOwn = true;
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

// Lines that follow each other with rising alignment share one text row.
std::vector<std::vector<PrintLine>> lineRows(const std::vector<PrintLine>& lines) {
    std::vector<std::vector<PrintLine>> rows;
    for (const PrintLine& l : lines) {
        if (!l.visible)
            continue;
        if (rows.empty() || l.align <= rows.back().back().align)
            rows.emplace_back();
        rows.back().push_back(l);
    }
    return rows;
}

// A text row's distance from the row before and its height: the largest
// of its lines'.
std::pair<double, double> rowSpacing(const std::vector<PrintLine>& row) {
    double dist = 0, line = 0;
    for (const PrintLine& l : row) {
        dist = std::max(dist, l.dist);
        line = std::max(line, FontSpec::parse(l.font).lineHeightMm());
    }
    return {dist, line};
}

double rowsHeight(const std::vector<std::vector<PrintLine>>& rows) {
    double h = 0;
    for (const auto& row : rows) {
        const auto [dist, line] = rowSpacing(row);
        h += dist + line;
    }
    return h;
}

// Lays the line rows out from y downwards (header) in the box [x0, x1].
void placeLines(Page& page, const std::vector<std::vector<PrintLine>>& rows, double x0, double x1, double y) {
    for (const auto& row : rows) {
        const auto [dist, line] = rowSpacing(row);
        y += dist;
        for (const PrintLine& l : row) {
            const double left = x0 + (l.align == 0 ? l.lrDist : 0);
            const double right = x1 - (l.align == 2 ? l.lrDist : 0);
            page.texts.push_back({left, y, right - left, line, l.content, l.font, l.align});
        }
        y += line;
    }
}

} // namespace

int PrintGrid::dataRows() const {
    return cells.size() > static_cast<std::size_t>(std::max(fixedRows, 0))
               ? static_cast<int>(cells.size()) - std::max(fixedRows, 0)
               : 0;
}

double PrintGrid::colWidth(int c) const {
    return c >= 0 && c < static_cast<int>(colWidthMm.size()) ? colWidthMm[static_cast<std::size_t>(c)] : 20.0;
}

std::string PrintGrid::code(int c) const {
    return c >= 0 && c < static_cast<int>(colCode.size()) ? colCode[static_cast<std::size_t>(c)]
                                                          : std::string();
}

int PrintGrid::cols() const { return cells.empty() ? 0 : static_cast<int>(cells.front().size()); }

FontSpec FontSpec::parse(const std::string& spec) {
    FontSpec f;
    std::vector<std::string> fields;
    std::string cur;
    for (char c : spec) {
        if (c == ',') {
            fields.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    auto flag = [&](std::size_t i) { return i < fields.size() && trim(fields[i]) == "1"; };
    f.bold = flag(0);
    f.italic = flag(1);
    if (fields.size() > 2 && !trim(fields[2]).empty())
        f.face = trim(fields[2]);
    if (fields.size() > 3 && readNumber(fields[3]) > 0)
        f.size = readNumber(fields[3]);
    f.underline = flag(4);
    f.strike = flag(5);
    return f;
}

std::string FontSpec::text() const {
    return std::string(bold ? "1" : "0") + "," + (italic ? "1" : "0") + "," + face + "," + decimalText(size) + "," +
           (underline ? "1" : "0") + "," + (strike ? "1" : "0") + ",0,";
}

// A point is 0.3528 mm; a line takes its font size and some leading.
double FontSpec::lineHeightMm() const {
    return size * kMmPerPoint * 1.5;
}

double estimateTextWidthMm(std::string_view text, const FontSpec& font) {
    double ems = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b >= 0x80) {
            // One character of any width class per UTF-8 lead byte.
            if ((b & 0xc0) != 0x80)
                ems += 1.0;
        } else {
            ems += std::isdigit(b) || std::strchr(" .,-+/:()", b) ? 0.6 : 0.75;
        }
    }
    return ems * font.size * kMmPerPoint * (font.bold ? 1.05 : 1.0);
}

bool isFigure(std::string_view text) {
    bool digit = false;
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < ' ' || b >= 0x7f)
            return false;
        digit = digit || std::isdigit(b);
    }
    return digit;
}

std::vector<std::string> Page::allTexts() const {
    std::vector<std::string> out;
    for (const TextItem& t : texts)
        out.push_back(t.text);
    return out;
}

bool Page::hasText(const std::string& t) const {
    return std::any_of(texts.begin(), texts.end(), [&](const TextItem& i) { return i.text == t; });
}

std::string substitutePageNumbers(const std::string& text, int page, int total) {
    std::string out = text;
    ReplaceAll(out, "<当前页号>", std::to_string(page));
    ReplaceAll(out, "<总页号>", std::to_string(total));
    return out;
}

std::vector<PrintLine> effectiveLines(const std::vector<PrintLine>& job, const std::vector<PrintLine>& stored) {
    std::vector<PrintLine> out = stored;
    for (std::size_t i = 0; i < out.size() && i < job.size(); ++i)
        if (out[i].pkg)
            out[i].content = job[i].content;
    return out;
}

void setLineText(PrintLine& stored, const std::string& shown, const std::string& typed) {
    if (typed == shown)
        return;
    stored.pkg = trim(typed).empty();
    stored.content = stored.pkg ? std::string() : typed;
}

std::optional<Outcome> checkPageSetup(const PrintProject& p) {
    const double width = p.paperWidth > 0 ? p.paperWidth : kA4Width;
    const double height = p.paperHeight > 0 ? p.paperHeight : kA4Height;
    const double w = p.landscape ? std::max(width, height) : width;
    const double h = p.landscape ? std::min(width, height) : height;
    auto refuse = [](const char* text, const char* focus) {
        return Outcome::refuse(text, "页面设置", Icon::Exclamation, focus);
    };
    if (p.left < 0 || p.right < 0 || p.top < 0 || p.bottom < 0 || w - p.left - p.right < 40 ||
        h - p.top - p.bottom < 40)
        return refuse("页边距过大，纸上没有足够的打印区域！", "spnLeft");
    for (const std::string* f : {&p.colHeadFont, &p.dataFont}) {
        const double size = FontSpec::parse(*f).size;
        if (size < 4 || size > 72)
            return refuse("字号应在4到72磅之间！", "spnHeadSize");
    }
    if (p.rowHeight < 1 || p.rowHeight > 50)
        return refuse("行高应在1到50毫米之间！", "spnRowHeight");
    return std::nullopt;
}

void clsGridPrint::SetConnection(Connection& c) { conn_ = &c; }

void clsGridPrint::SetTables(const std::string& prnPrj, const std::string& prnHead, const std::string& prnFoot,
                             const std::string& stdPrnCol) {
    tables_ = {prnPrj, prnHead, prnFoot, stdPrnCol};
    project_.reset();
}

void clsGridPrint::SetGrid(const PrintGrid& grid) { grid_ = grid; }
void clsGridPrint::SetHeadGrid(const PrintGrid& grid) { headGrid_ = grid; }

void clsGridPrint::SetFormID(long formID) {
    formID_ = formID;
    project_.reset();
}

void clsGridPrint::AddHead(const std::string& content, bool visible, bool pkg, const std::string& font, long align,
                           double lrDist, double topDist, long) {
    heads_.push_back({visible, pkg, font, static_cast<int>(align), lrDist, topDist, content});
}

void clsGridPrint::AddFoot(const std::string& content, bool visible, bool pkg, const std::string& font, long align,
                           double lrDist, double bottomDist, long) {
    foots_.push_back({visible, pkg, font, static_cast<int>(align), lrDist, bottomDist, content});
}

PrintProject& clsGridPrint::project() {
    if (project_)
        return *project_;
    if (!conn_ || tables_.prj.empty())
        throw std::logic_error("print job without connection or tables");
    std::optional<PrintProject> stored = loadDefaultProject(*conn_, tables_, formID_);
    PrintProject p = stored ? *stored : defaultProject(formID_);
    bool changed = !stored;
    // Lines and columns the project lacks come from this job.
    for (std::size_t i = p.heads.size(); i < heads_.size(); ++i, changed = true)
        p.heads.push_back(heads_[i]);
    for (std::size_t i = p.foots.size(); i < foots_.size(); ++i, changed = true)
        p.foots.push_back(foots_[i]);
    // Rows stored by grid index before the grid had item codes describe the
    // item now at that index; they become that item's, unless it has its own.
    for (PrintColumn& pc : p.columns) {
        const std::string code = pc.code.empty() ? grid_.code(pc.col) : std::string();
        if (code.empty() || p.column(-1, code))
            continue;
        if (pc.width == grid_.colWidth(pc.col))
            pc.width = 0;
        pc.code = code;
        pc.col = -1;
        changed = true;
    }
    for (int c = 0; c < grid_.cols(); ++c) {
        const std::string code = grid_.code(c);
        if (p.column(c, code))
            continue;
        int align = c < static_cast<int>(grid_.colAlign.size()) ? grid_.colAlign[c] : -1;
        if (align < 0) {
            align = 0;
            for (int r = grid_.fixedRows; r < static_cast<int>(grid_.cells.size()); ++r)
                if (!trim(grid_.cells[r][c]).empty()) {
                    align = isNumberText(trim(grid_.cells[r][c])) ? 2 : 0;
                    break;
                }
        }
        p.columns.push_back({code.empty() ? c : -1, 0.0, align, 1, 1, code});
        changed = true;
    }
    std::sort(p.columns.begin(), p.columns.end(),
              [](const PrintColumn& a, const PrintColumn& b) { return a.key() < b.key(); });
    if (changed)
        print::saveProject(*conn_, tables_, p);
    project_ = std::move(p);
    return *project_;
}

void clsGridPrint::saveProject(const PrintProject& p) {
    if (!conn_)
        throw std::logic_error("print job without connection");
    print::saveProject(*conn_, tables_, p);
    project_ = p;
}

PageModel clsGridPrint::paginate() {
    const PrintProject& p = project();
    PageModel m;
    m.landscape = p.landscape;
    m.paperWidth = p.paperWidth > 0 ? p.paperWidth : kA4Width;
    m.paperHeight = p.paperHeight > 0 ? p.paperHeight : kA4Height;
    if (p.landscape && m.paperWidth < m.paperHeight)
        std::swap(m.paperWidth, m.paperHeight);
    if (!heads_.empty())
        m.title = heads_.front().content;

    const auto headRows = p.pageHead ? lineRows(effectiveLines(heads_, p.heads)) : std::vector<std::vector<PrintLine>>{};
    const auto footRows = p.pageFoot ? lineRows(effectiveLines(foots_, p.foots)) : std::vector<std::vector<PrintLine>>{};

    const int headingRows = std::min(std::max(grid_.fixedRows, 0), static_cast<int>(grid_.cells.size()));
    const int dataRows = grid_.dataRows();
    auto cellText = [&](int r, int c) {
        std::string t = grid_.cells[r][c];
        if (r >= headingRows && !grid_.isText(c) && isNumberText(trim(t))) {
            if (p.zero == 1 && readNumber(t) == 0)
                return std::string();
            if (p.thousand)
                return withThousands(t);
        }
        return t;
    };

    // The printed columns: given a width by the screen and in the page.
    std::vector<Col> cols;
    for (int c = 0; c < grid_.cols(); ++c) {
        const double gridWidth = grid_.colWidth(c);
        const PrintColumn* pc = p.column(c, grid_.code(c));
        if (gridWidth <= 0 || (pc && pc->inPage != 1))
            continue;
        cols.push_back({c, pc && pc->width > 0 ? pc->width : gridWidth, pc ? pc->align : 0, pc ? pc->headAlign : 1});
    }

    const double x0 = p.left, x1 = m.paperWidth - p.right;
    const double contentWidth = std::max(10.0, x1 - x0);
    const std::size_t fixedCount = std::min<std::size_t>(static_cast<std::size_t>(std::max(p.fixCols, 0)), cols.size());

    // The widest figure of each column in the data font; widths scale with
    // the font size, so one measurement serves every size tried below.
    FontSpec dataFont = FontSpec::parse(p.dataFont);
    const double fullSize = dataFont.size;
    const TextMeasure& measure = measure_ ? measure_ : TextMeasure(estimateTextWidthMm);
    std::vector<double> figureWidth(cols.size(), 0.0);
    for (std::size_t i = 0; i < cols.size(); ++i)
        for (int r = headingRows; r < headingRows + dataRows; ++r) {
            const std::string t = cellText(r, cols[i].index);
            if (isFigure(t))
                figureWidth[i] = std::max(figureWidth[i], measure(t, dataFont));
        }
    auto partsAt = [&](double size) {
        std::vector<Col> sized = cols;
        for (std::size_t i = 0; i < sized.size(); ++i)
            if (figureWidth[i] > 0)
                sized[i].width = std::max(sized[i].width, figureWidth[i] * size / fullSize + 2 * kCellPad);
        return splitParts(sized, fixedCount, contentWidth);
    };
    std::vector<std::vector<Col>> parts = partsAt(fullSize);
    // A smaller font only where it saves a horizontal page: the largest size
    // that needs no more pages than the smallest allowed one.
    const double floorSize = std::min(fullSize, kMinDataFontPt);
    if (parts.size() > 1 && floorSize < fullSize) {
        const std::size_t fewest = partsAt(floorSize).size();
        for (double size = fullSize - 0.5; fewest < parts.size(); size -= 0.5) {
            size = std::max(size, floorSize);
            if (auto fewer = partsAt(size); fewer.size() <= fewest) {
                parts = std::move(fewer);
                dataFont.size = size;
            }
        }
    }
    const std::string dataSpec = dataFont.size == fullSize ? p.dataFont : dataFont.text();

    const FontSpec headFont = FontSpec::parse(p.colHeadFont);
    const double rowH =
        std::max({p.rowHeight, headFont.lineHeightMm(), FontSpec::parse(p.dataFont).lineHeightMm()});
    const double headerH = rowsHeight(headRows), footerH = rowsHeight(footRows);
    const double tableTop = p.top + headerH + 2;
    const double available = m.paperHeight - p.bottom - footerH - 2 - tableTop;

    // Draws rows [from, to) of the grid's part at y, heading rows first.
    auto placeTable = [&](Page& page, const std::vector<Col>& partCols, int from, int to, double y) {
        double width = 0;
        for (const Col& c : partCols)
            width += c.width;
        std::vector<int> rows;
        for (int r = 0; r < headingRows; ++r)
            rows.push_back(r);
        for (int r = from; r < to; ++r)
            rows.push_back(r);
        const double top = y;
        for (int r : rows) {
            double x = x0;
            const bool heading = r < headingRows;
            for (const Col& c : partCols) {
                std::string text = cellText(r, c.index);
                const bool whole = !heading && isFigure(text);
                page.texts.push_back({x + kCellPad, y, c.width - 2 * kCellPad, rowH, std::move(text),
                                      heading ? p.colHeadFont : dataSpec, heading ? c.headAlign : c.align,
                                      whole});
                x += c.width;
            }
            page.lines.push_back({x0, y, x0 + width, y});
            y += rowH;
        }
        page.lines.push_back({x0, y, x0 + width, y, 0.3});
        page.lines.push_back({x0, top, x0 + width, top, 0.3});
        double x = x0;
        page.lines.push_back({x, top, x, y, 0.3});
        for (const Col& c : partCols) {
            x += c.width;
            page.lines.push_back({x, top, x, y, 0.3});
        }
        return y;
    };
    auto newPage = [&](int block, int partNo) {
        Page page;
        page.block = block;
        page.part = partNo;
        placeLines(page, headRows, x0, x1, p.top);
        // The footer stands at the bottom margin.
        placeLines(page, footRows, x0, x1, m.paperHeight - p.bottom - footerH);
        return page;
    };

    if (!payslips_) {
        const int fit = std::max(1, static_cast<int>(std::floor((available - headingRows * rowH) / rowH)));
        const int perPage = p.rows > 0 ? std::min(p.rows, fit) : fit;
        const int blocks = std::max(1, (dataRows + perPage - 1) / perPage);
        for (int b = 0; b < blocks; ++b)
            for (std::size_t k = 0; k < parts.size(); ++k) {
                Page page = newPage(b, static_cast<int>(k));
                const int from = headingRows + b * perPage;
                placeTable(page, parts[k], from, std::min(from + perPage, headingRows + dataRows), tableTop);
                m.pages.push_back(std::move(page));
            }
    } else {
        // One form per data row: its bands (horizontal parts) stacked.
        const double bandH = (headingRows + 1) * rowH;
        const double formH = std::max(parts.size() * bandH + (parts.size() - 1) * 2.0, p.salaryHeight * 10.0);
        const int fit = std::max(1, static_cast<int>(std::floor((available + p.formDist) / (formH + p.formDist))));
        const int perPage = p.forms > 0 ? std::min(p.forms, fit) : fit;
        const int sheets = std::max(1, (dataRows + perPage - 1) / perPage);
        for (int b = 0; b < sheets; ++b) {
            Page page = newPage(b, 0);
            double y = tableTop;
            for (int f = 0; f < perPage; ++f) {
                const int r = headingRows + b * perPage + f;
                if (r >= headingRows + dataRows)
                    break;
                double by = y;
                for (const auto& partCols : parts)
                    by = placeTable(page, partCols, r, r + 1, by) + 2.0;
                y += formH + p.formDist;
            }
            m.pages.push_back(std::move(page));
        }
    }

    const int total = m.pageCount();
    for (std::size_t i = 0; i < m.pages.size(); ++i) {
        m.pages[i].number = static_cast<int>(i) + 1;
        for (TextItem& t : m.pages[i].texts)
            if (t.text.find('<') != std::string::npos)
                t.text = substitutePageNumbers(t.text, m.pages[i].number, total);
    }
    return m;
}

} // namespace gzgl::print

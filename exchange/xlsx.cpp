#include "exchange/xlsx.h"

#include <xlsxwriter.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>

namespace gzgl::exchange {

namespace {

// The whole text (blanks around it aside) as a finite number, or nothing.
// Stricter than reading a field's numeric prefix: "12abc" is text, not 12.
std::optional<double> strictNumber(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    if (s.empty())
        return std::nullopt;
    if (s.front() == '+')
        s.remove_prefix(1);
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Owns the workbook so that a failure part way frees it.
struct Workbook {
    lxw_workbook* wb = nullptr;
    ~Workbook() {
        if (wb)
            lxw_workbook_free(wb); // a failed write: release without writing half a file
    }
};

[[noreturn]] void fail(const std::string& path) {
    throw XlsxError("无法写入Excel文件：" + path +
                    "\n请检查文件夹是否存在、是否可写，以及文件是否已被其他程序打开。");
}

// Excel refuses sheet names over 31 characters or with []:*?/\ in them.
std::string sheetNameFor(lxw_workbook* wb, const std::string& wanted) {
    if (wanted.empty() || workbook_validate_sheet_name(wb, wanted.c_str()) != LXW_NO_ERROR)
        return "Sheet1";
    return wanted;
}

} // namespace

void writeXlsx(const std::string& path, const SheetTable& t) {
    // The library reports a missing folder only when the book is closed,
    // after building every cell, and then on stderr as well.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (path.empty() || (!folder.empty() && !std::filesystem::is_directory(folder, ec)))
        fail(path);

    Workbook book;
    book.wb = workbook_new(path.c_str());
    if (!book.wb)
        fail(path);
    lxw_worksheet* ws = workbook_add_worksheet(book.wb, sheetNameFor(book.wb, t.sheetName).c_str());
    if (!ws)
        fail(path);

    for (std::size_t c = 0; c < t.widths.size(); ++c) {
        if (t.widths[c] > 0)
            worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), t.widths[c],
                                 nullptr);
    }

    auto check = [&](lxw_error e) {
        if (e != LXW_NO_ERROR)
            fail(path);
    };
    for (std::size_t c = 0; c < t.captions.size(); ++c)
        check(worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), t.captions[c].c_str(), nullptr));

    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        const auto& cells = t.rows[r];
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string& text = cells[c];
            if (text.empty())
                continue; // an empty cell stays empty in either kind
            const auto col = static_cast<lxw_col_t>(c);
            const bool number = c < t.kinds.size() && t.kinds[c] == CellKind::Number;
            if (number) {
                if (auto v = strictNumber(text)) {
                    check(worksheet_write_number(ws, row, col, *v, nullptr));
                    continue;
                }
            }
            check(worksheet_write_string(ws, row, col, text.c_str(), nullptr));
        }
    }

    // The file itself is created only here; an unwritable path shows now.
    lxw_workbook* wb = book.wb;
    book.wb = nullptr;
    check(workbook_close(wb));
}

} // namespace gzgl::exchange

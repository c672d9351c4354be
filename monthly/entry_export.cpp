#include "monthly/entry_export.h"

#include "core/text.h"
#include "items/itemcode.h"

#include <filesystem>
#include <system_error>

namespace gzgl::monthly {

namespace {

// Columns whose digits are identifiers, not amounts.
bool isAccountColumn(const ItemColumn& item) {
    return items::isAccountCode(upperAscii(item.code)) || item.name == "身份证号" || item.name == "银行账号";
}

} // namespace

exchange::SheetTable entrySheet(const SalaryEntry& e) {
    exchange::SheetTable t;
    const calc::WorkGrid& g = e.grid();
    std::vector<int> shown;
    for (int c = 0; c < g.cols(); ++c) {
        if (!e.columnVisible(c))
            continue;
        const ItemColumn& item = e.column(c);
        shown.push_back(c);
        t.captions.push_back(g.cell(1, c));
        t.kinds.push_back(item.type == "数字" && !isAccountColumn(item) ? exchange::CellKind::Number
                                                                         : exchange::CellKind::Text);
        // F_Width × 55 twips at 110 twips a character.
        t.widths.push_back(item.width / 2.0);
    }
    t.rows.reserve(static_cast<std::size_t>(g.employeeCount()));
    for (int r = calc::kFirstEmployeeRow; r < g.rows(); ++r) {
        std::vector<std::string> row;
        row.reserve(shown.size());
        for (int c : shown)
            row.push_back(g.cell(r, c));
        t.rows.push_back(std::move(row));
    }
    return t;
}

bool exportSheet(Prompt& p, const std::string& title, const std::string& path, const exchange::SheetTable& t) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::path(path), ec) &&
        !p.askYesNo(kOverwriteQuestion, title, Icon::Question))
        return false;
    try {
        exchange::writeXlsx(path, t);
    } catch (const exchange::XlsxError& e) {
        p.message(e.what(), title, Icon::Critical);
        return false;
    }
    p.message(kExported, title, Icon::Information);
    return true;
}

} // namespace gzgl::monthly

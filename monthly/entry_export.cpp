#include "monthly/entry_export.h"

#include "core/text.h"
#include "items/itemcode.h"

#include "core/gbk.h"
#include "core/schema.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <unordered_map>
#include <system_error>

namespace gzgl::monthly {

namespace {

// Columns whose digits are identifiers, not amounts.
bool isAccountColumn(const ItemColumn& item) {
    return items::isAccountCode(upperAscii(item.code)) || item.name == "身份证号" || item.name == "银行账号";
}

// The employee fields behind the account items FFFG..FFFL, in their order.
struct AccountField {
    const char* code;
    const char* column;
    const char* caption;
};
constexpr AccountField kAccountFields[] = {
    {"FFFG", "F_CID", "身份证号"},         {"FFFH", "F_AccNo", "银行账号"},    {"FFFI", "F_OldNo", "养老保险账号"},
    {"FFFJ", "F_HouseNo", "住房公积金账号"}, {"FFFK", "F_OtherNo1", "其他账号1"}, {"FFFL", "F_OtherNo2", "其他账号2"},
};

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

exchange::SheetTable entrySheetWithAccounts(SalaryEntry& e) {
    exchange::SheetTable t = entrySheet(e);
    const calc::WorkGrid& g = e.grid();
    std::set<std::string> shownCodes;
    std::size_t after = 0; // the sheet column the accounts follow
    for (int c = 0, sheetCol = 0; c < g.cols(); ++c) {
        if (!e.columnVisible(c))
            continue;
        const std::string code = upperAscii(e.column(c).code);
        shownCodes.insert(code);
        ++sheetCol;
        if (code == "F002" || (code == "F001" && after == 0))
            after = static_cast<std::size_t>(sheetCol);
    }
    // The grid's first column holds the employee codes (F001).
    const int codeCol = 0;
    if (g.cols() == 0)
        return t;

    std::string select = "Select F_EmpNo";
    for (const AccountField& f : kAccountFields)
        select += std::string(",") + f.column;
    const Recordset rs = e.session().taskConn.query(select + " from " + periodTable(e.session().taskPrefix(), "Employee"));
    std::unordered_map<std::string, std::size_t> rowOf;
    for (std::size_t i = 0; i < rs.size(); ++i)
        rowOf.emplace(rs.row(i)[0].toString(), i);

    std::size_t at = after;
    for (std::size_t k = 0; k < std::size(kAccountFields); ++k) {
        const AccountField& f = kAccountFields[k];
        if (shownCodes.count(f.code))
            continue;
        std::vector<std::string> values;
        values.reserve(t.rows.size());
        bool any = false;
        std::size_t widest = gbkLength(f.caption);
        for (int r = calc::kFirstEmployeeRow; r < g.rows(); ++r) {
            const auto hit = rowOf.find(g.cell(r, codeCol));
            std::string v = hit == rowOf.end() ? std::string() : trim(rs.row(hit->second)[k + 1].toString());
            any = any || !v.empty();
            widest = std::max(widest, gbkLength(v));
            values.push_back(std::move(v));
        }
        if (!any)
            continue;
        t.captions.insert(t.captions.begin() + static_cast<std::ptrdiff_t>(at), f.caption);
        t.kinds.insert(t.kinds.begin() + static_cast<std::ptrdiff_t>(at), exchange::CellKind::Text);
        t.widths.insert(t.widths.begin() + static_cast<std::ptrdiff_t>(at), static_cast<double>(widest) + 2);
        for (std::size_t r = 0; r < t.rows.size(); ++r)
            t.rows[r].insert(t.rows[r].begin() + static_cast<std::ptrdiff_t>(at), std::move(values[r]));
        ++at;
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

#include "items/pickers.h"

#include "core/text.h"
#include "items/itemcode.h"

namespace gzgl::items {

std::vector<ItemChoice> numberItems(Session& s) {
    const Recordset rs =
        s.taskConn.query("Select F_Code,F_Name from " + itemTable(s) + " where F_Type=? order by F_ID", {kNumber});
    std::vector<ItemChoice> out;
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back({rs.row(i)[0].toString(), rs.row(i)[1].toString()});
    return out;
}

std::vector<std::string> splitCodes(std::string_view list) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from <= list.size()) {
        std::size_t comma = list.find(',', from);
        if (comma == std::string_view::npos)
            comma = list.size();
        std::string code = trim(list.substr(from, comma - from));
        if (!code.empty())
            out.push_back(std::move(code));
        from = comma + 1;
    }
    return out;
}

std::string joinCodes(const std::vector<std::string>& codes) {
    std::string out;
    for (const std::string& c : codes) {
        if (!out.empty())
            out += ",";
        out += c;
    }
    return out;
}

std::vector<ItemChoice> describeCodes(Session& s, std::string_view list) {
    std::vector<ItemChoice> out;
    for (const std::string& code : splitCodes(list)) {
        const std::optional<Item> item = findItem(s, code);
        out.push_back({code, item ? item->name : std::string()});
    }
    return out;
}

std::vector<SalarySetItem> salarySetItems(Session& s) {
    std::vector<SalarySetItem> out;
    for (const Item& it : loadItems(s)) {
        const bool fixed = it.code == "F001" || it.code == "F002";
        out.push_back({it.code, it.name, fixed || it.show, fixed});
    }
    return out;
}

SalarySettings salarySettings(const std::string& department, const std::string& empNo, const std::string& empName,
                              const std::vector<SalarySetItem>& items, bool showCodes) {
    SalarySettings out;
    out.department = trim(department);
    out.empNo = trim(empNo);
    out.empName = trim(empName);
    out.showCodes = showCodes;
    for (const SalarySetItem& i : items)
        if (i.ticked || i.code == "F001" || i.code == "F002")
            out.codes.push_back(i.code);
    return out;
}

} // namespace gzgl::items

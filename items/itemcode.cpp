#include "items/itemcode.h"

#include "core/schema.h"

#include <cctype>
#include <stdexcept>

namespace gzgl::items {

const std::string& checkedCode(const std::string& code) {
    if (!isItemCode(code))
        throw std::invalid_argument("not an item code: " + code);
    return code;
}

bool isAccountCode(std::string_view code) {
    return code.size() == 4 && code.substr(0, 3) == "FFF" && code[3] >= 'G' && code[3] <= 'L';
}

bool neverHoldsColumn(std::string_view code) { return code == "F001" || code == "F002" || isAccountCode(code); }

std::string dataTable(const Session& s) { return periodTable(s.taskPrefix(), "Data"); }
std::string itemTable(const Session& s) { return periodTable(s.taskPrefix(), "Item"); }
std::string formulaTable(const Session& s) { return periodTable(s.taskPrefix(), "Formula"); }
std::string taxTable(const Session& s) { return periodTable(s.taskPrefix(), "TaxRate"); }

bool hasDataColumn(Session& s, const std::string& code) { return s.taskConn.hasColumn(dataTable(s), code); }

void addDataColumn(Session& s, const std::string& code, const std::string& typeWords) {
    s.taskConn.execute("Alter Table " + dataTable(s) + " Add " + sqliteColumns(checkedCode(code) + typeWords));
}

void dropDataColumn(Session& s, const std::string& code) {
    if (hasDataColumn(s, checkedCode(code)))
        s.taskConn.execute("Alter Table " + dataTable(s) + " Drop COLUMN " + code);
}

} // namespace gzgl::items

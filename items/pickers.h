// The small pickers around items: the number-item picker (frmItemHelp) that
// edits a comma-separated list of item codes such as an employee's F_NotCalc,
// the list view of such a list (frmEmpItemHelp), and the display settings of
// the salary entry screen (frmSalarySet).
#pragma once

#include "core/session.h"
#include "items/items.h"

#include <string>
#include <string_view>
#include <vector>

namespace gzgl::items {

// The number items (code, name) in F_ID order.
std::vector<ItemChoice> numberItems(Session& s);

// The codes of a comma-separated list, trimmed, empty entries left out.
std::vector<std::string> splitCodes(std::string_view list);
// The codes joined with ",".
std::string joinCodes(const std::vector<std::string>& codes);

// The items a list names, in the list's order; a code that names no item
// shows with an empty name.
std::vector<ItemChoice> describeCodes(Session& s, std::string_view list);

// One entry of frmSalarySet's item list lstFcode.
struct SalarySetItem {
    std::string code;
    std::string name;
    bool ticked = false;
    bool fixed = false; // F001 and F002: always ticked
    bool operator==(const SalarySetItem&) const = default;
};

// Every item in F_ID order; ticked are those shown in the entry screens
// (F_Show) and F001, F002.
std::vector<SalarySetItem> salarySetItems(Session& s);

// What cmdBegin hands to the entry screen.
struct SalarySettings {
    std::string department;  // txtDep
    std::string empNo;       // txtCode
    std::string empName;     // name filter
    std::vector<std::string> codes; // the ticked items in list order
    bool showCodes = false;  // chkFcode
    bool operator==(const SalarySettings&) const = default;
};

// The settings of the dialog's values: filters trimmed, the ticked codes in
// list order with F001 and F002 always among them.
SalarySettings salarySettings(const std::string& department, const std::string& empNo, const std::string& empName,
                              const std::vector<SalarySetItem>& items, bool showCodes);

} // namespace gzgl::items

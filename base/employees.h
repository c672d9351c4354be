// Employees (_Employee) of the current period, each with its salary data
// row (_Data) created and deleted together with it, in one transaction.
//
// Codes are fixed-length numbers: a typed code is formatted with the task's
// code mask (F_RYBMCD zeros, s.empNoMask), so "7" becomes "0007". An
// employee belongs to an existing leaf department. On entry the six
// account fields, the not-calculated list and the joining date are stored
// as a single blank when left empty; on modification the accounts too, the
// list and the date trimmed. Every other value is stored as typed
// (trimmed where the screens trim) and always bound; a name that cannot be
// stored as typed (' or |, a control character, outside GBK, over 32 GBK
// bytes) is refused.
#pragma once

#include "core/prompt.h"
#include "core/session.h"
#include "items/items.h"

#include <optional>
#include <string>
#include <vector>

namespace gzgl::base {

// The fields of frmAddEmp and frmEmp in insert order. depNo and empType may
// hold a list entry ("01  总部"): the code is the text before the first
// blank.
struct EmployeeFields {
    std::string empNo;     // txtEmpNo
    std::string depNo;     // cmbDep
    std::string name;      // txtEmpName
    std::string sex;       // cmbSex: "", "男", "女"
    std::string nation;    // cmbNation
    std::string cid;       // txtCID
    std::string accNo;     // txtAccNo
    std::string oldNo;     // txtOldNo
    std::string houseNo;   // txtHouseNo
    std::string otherNo1;  // txtOtherNo1
    std::string otherNo2;  // txtOtherNo2
    std::string sortNo;    // txtSortNo
    std::string character; // txtCharacter: digits only
    std::string empType;   // cmbEmpType
    std::string notCalc;   // txtNotCalc: comma-separated item codes
    std::string lashMonth; // txtRq1: yyyy.mm.dd or empty
    bool operator==(const EmployeeFields&) const = default;
};

// A typed code formatted with the code mask; a text that is not a number
// (or an empty mask) is returned trimmed and unchanged.
std::string formatEmployeeCode(Session& s, const std::string& typed);
// The proposal of frmAddEmp: the largest code's first (code length)
// characters as a number + 1, formatted; 1 formatted for no employee.
std::string nextEmployeeCode(Session& s);
// The department's largest sort number + 1; 1 for a department without
// employees.
int nextSortNo(Session& s, const std::string& depNo);

// cmbDep of frmAddEmp: the leaf departments, code + "  " + name.
std::vector<std::string> leafDepartmentEntries(Session& s);
// cmbEmpType: code + "   " + name per type, then an empty entry.
std::vector<std::string> employeeTypeEntries(Session& s);
// The choices of cmbSex and cmbNation.
const std::vector<std::string>& sexChoices();
const std::vector<std::string>& nationChoices();

// The joining date check: empty, or yyyy.mm.dd naming a real date.
bool isJoiningDate(const std::string& text);
// The check on leaving txtRq1: "错误的日期" (information icon) or success.
Outcome checkJoiningDate(const std::string& text);

struct SaveEmployeeResult {
    Outcome outcome;
    std::string code; // the formatted code (shown in the code box)
};

// OK on frmAddEmp: transfer attribute digits, empty code, empty or unknown
// (or not leaf) department, empty name, a name that cannot be stored as
// typed, the joining date, an existing code;
// then inserts the sixteen fields and the data row in one transaction and
// sets the first date item of every data row to the period (2024年05月).
SaveEmployeeResult addEmployee(Session& s, const EmployeeFields& f);

// frmEmp's load of an employee; the type shown as code + "   " + name, the
// not-calculated list only when BJSGZX is on. nullopt: "查无此人!".
std::optional<EmployeeFields> loadEmployee(Session& s, const std::string& code);

// The modify button of frmEmp: empty code (nothing saved, not ok, no
// message), duplicate code rows, empty department, transfer attribute,
// unknown (or not leaf) department, empty name, a name that cannot be
// stored as typed, sex, the joining date, an
// unknown code ("查无此人!"); then updates every field but the code. With
// BJSGZX off the stored not-calculated list is kept.
SaveEmployeeResult modifyEmployee(Session& s, const EmployeeFields& f);

// DelEmp: empty code does nothing (not ok, no message); asks
// "您确定要删除本员工吗？"; deletes the employee and its data row in one
// transaction. An unknown code is refused with "查无此人!".
Outcome deleteEmployee(Session& s, Prompt& p, const std::string& code);

// frmAddEmpApplst: the items that have a formula, by code, with their names.
std::vector<items::ItemChoice> formulaItemChoices(Session& s);
// A picked code added to a not-calculated list unless the list holds it.
std::string appendItemCode(const std::string& list, const std::string& code);

// The roster grid's row of one employee (mode 1 columns), for rewriting the
// current row after a modification.
std::vector<std::string> employeeRosterRow(Session& s, const std::string& code);

} // namespace gzgl::base

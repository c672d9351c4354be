// Department types (_DepType: two-digit numbers, a flat list) and employee
// types (_EmpType: two-digit codes and four-digit codes below them).
// Departments refer to a department type by F_TypeNo, employees to an
// employee type by F_EmpType. Every message is titled with the program's
// title and uses the exclamation icon.
#pragma once

#include "base/tree.h"
#include "core/prompt.h"
#include "core/session.h"

#include <string>
#include <vector>

namespace gzgl::base {

struct TypeRow {
    std::string code;
    std::string name;
    bool operator==(const TypeRow&) const = default;
};

// msfKind: the department types by number.
std::vector<TypeRow> departmentTypes(Session& s);
// frmDK1's proposal: the largest number of the list + 1 as "00" ("01" for
// an empty list).
std::string nextDepartmentTypeNo(const std::vector<TypeRow>& types);

// OK on frmDK1: empty number or name, a number that is not one or two
// digits, a name that cannot be stored as typed (' or |, a control
// character, outside GBK, over 32 GBK bytes), a name already used, a number
// already used (focus "txtNo" / "txtType"); then inserts number and trimmed
// name.
Outcome addDepartmentType(Session& s, const std::string& no, const std::string& name);
// OK on frmDK2: empty name, a name that cannot be stored as typed, a name
// another type has (focus "txtName"); then renames. An unknown number is
// refused.
Outcome renameDepartmentType(Session& s, const std::string& no, const std::string& name);
// cmdDel on frmDepKind: no number, an unknown number ("不存在此部门类型！"),
// the question (No: not ok, no message), a type still used by a
// department; then deletes.
Outcome deleteDepartmentType(Session& s, Prompt& p, const std::string& no);

// The employee types by code.
std::vector<TypeRow> employeeTypes(Session& s);
// frmEmpKind's tree: root "Dm0" "员工类型", level-1 codes under it, level-2
// codes under the latest level-1 code.
std::vector<TreeNode> employeeTypeTree(Session& s);

// Add on frmEmpKind: empty code or name, odd length or more than four,
// non-digits, a name that cannot be stored as typed, an existing code, a
// four-digit code without its parent (focus "txtCode" / "txtName"); then
// inserts.
Outcome addEmployeeType(Session& s, const std::string& code, const std::string& name);
// Delete on frmEmpKind: no selection, a code that is no type
// ("不存在此员工类型！"); asks (OK/Cancel) when employees of
// the type or its sub-types exist; then deletes the type and its sub-types
// and clears those employees' type, in one transaction.
Outcome deleteEmployeeType(Session& s, Prompt& p, const std::string& code);

// frmDepTypeHelp: root "部门列表" and one node per department type ("Dm1_" +
// number, number + " " + name).
std::vector<TreeNode> departmentTypePickerTree(Session& s);
// frmEmpTypeHelp: root "Dm0" with the task's name, the types as in the
// employee type tree.
std::vector<TreeNode> employeeTypePickerTree(Session& s);

} // namespace gzgl::base

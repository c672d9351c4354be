// Departments: the coded hierarchy of a task's current period (_Depart) and
// its coding scheme (F_BMJB of the task's GZSysInfo row).
//
// Design note. The scheme is five decimal digits, one per level, each the
// length of that level's code segment; "0" marks a level not yet defined,
// and the defined levels are those before the first "0". A department's
// code is its parent's code followed by its own segment, so its length
// names its level. The first department entered below the deepest level
// defines the next level's length (after a Yes to the confirmation); when
// the last department of the deepest level goes, that level is dropped
// again, and deleting the last department of all resets the scheme to
// "00000". F_End is 1 for a department without sub-departments; adding a
// sub-department clears the parent's flag and deleting the last one sets it
// again, in the same transaction as the change itself. The scheme lives in
// the system database, so it is written after the task database's change
// has committed. Employees belong to leaf departments only: a department
// with employees gets no sub-department.
//
// Every message is titled with the program's title.
#pragma once

#include "base/tree.h"
#include "core/prompt.h"
#include "core/session.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace gzgl::base {

inline constexpr const char* kDepRootText = "部门列表";

// The five level lengths of a scheme text ("22300"); a missing or
// non-digit character counts as "0".
struct CodingScheme {
    std::array<int, 5> lengths{};

    static CodingScheme parse(std::string_view text);
    std::string text() const;
    int defined() const; // D: the levels before the first 0
    int total() const;   // T: the sum of the defined lengths
    // The level whose code ends at length len (1..D), 0 when none does.
    int levelEnding(int len) const;
    // The code length of the levels before level n.
    int parentLength(int level) const;
};

CodingScheme readScheme(Session& s);

// InitTree: the root "Dm0" / "部门列表" and every department in code order;
// a leaf without employees is red.
std::vector<TreeNode> departmentTree(Session& s);
// InitTreeHide: the root and the leaf departments directly under it.
std::vector<TreeNode> leafDepartmentTree(Session& s);
// The picker's tree (frmDepHelp, frmTrans): every department, none red.
std::vector<TreeNode> departmentPickerTree(Session& s);

// The right-hand grid of the staff roster.
enum class RosterMode { Departments = 0, Employees = 1, AllEmployees = 2 };

struct RosterGrid {
    std::vector<std::string> captions;
    std::vector<bool> visible; // per column: frmSet's choice
    std::vector<std::vector<std::string>> rows; // Null as empty text
};

// InitGrid: mode 0 the sub-departments of code, mode 1 the employees of the
// department code, mode 2 every employee with its department's name; the
// employees by department and sort number when sortBySortNo, else by
// department and code (mode 2: by code). Mode 1 carries the column
// "不计算" when the per-employee exceptions (BJSGZX) are on. The visible
// flags follow s.rosterColumns.
RosterGrid rosterGrid(Session& s, RosterMode mode, const std::string& code, bool sortBySortNo);

// The department type names of frmAddDep's cmbType, in table order.
std::vector<std::string> departmentTypeNames(Session& s);

struct AddDepartmentResult {
    Outcome outcome;
    bool added = false;
    int level = 0;
    std::string code;
    std::string scheme; // the scheme after the call
};

// OK on frmAddDep: name and code trimmed; a name holding ' or | or a
// control character, a character outside GBK or more than 32 GBK bytes is
// refused (focus "txtName") before anything else. Classifies the code against the scheme, checks
// it (existing code, parent with employees, missing parent), asks for the
// length of a new level (No adds nothing), then clears the parent's leaf
// flag and inserts the department at its level as a leaf, in one
// transaction; the type is looked up by its name (none: empty). The scheme
// is written back in every case. Refusals name the focus field "txtCode".
AddDepartmentResult addDepartment(Session& s, Prompt& p, const std::string& code, const std::string& name,
                                  const std::string& typeName);

struct DepartmentRecord {
    std::string code;
    std::string name;
    std::string typeNo;
    std::string subject;
    std::string oppSubject;
    bool operator==(const DepartmentRecord&) const = default;
};

// frmDep's load; nullopt for an unknown code.
std::optional<DepartmentRecord> loadDepartment(Session& s, const std::string& code);

struct TypeSubjects {
    std::string subject;
    std::string oppSubject;
};
// Enter in frmDep's type field: the type's subjects, nullopt for an unknown
// type (the screen shows "不存在此部门类型！" and clears the field).
std::optional<TypeSubjects> departmentTypeSubjects(Session& s, const std::string& typeNo);

// The modify button of frmDep: an unknown code is refused with
// "不存在此部门！", an unknown non-empty type with "不存在此部门类型！" (focus
// "txtType"), a name as addDepartment refuses it (focus "txtName"); then
// the trimmed name and the type are written (an empty type as a single
// blank).
Outcome modifyDepartment(Session& s, const std::string& code, const std::string& name, const std::string& typeNo);

// DelDep: refuses a department with employees in its branch; asks
// "您确定要删除本部门吗？"; then deletes the row and repairs the parent's leaf
// flag in one transaction, and shortens or resets the scheme. An empty code
// does nothing; an unknown code is refused with "不存在此部门！".
Outcome deleteDepartment(Session& s, Prompt& p, const std::string& code);

} // namespace gzgl::base

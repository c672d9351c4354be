// Staff transfer (frmTrans): moving ticked employees of a department's
// branch to a leaf department. Only F_DepNo changes; codes, data rows and
// values stay. Every message uses the exclamation icon and the program's
// title.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <string>
#include <vector>

namespace gzgl::base {

struct TransferList {
    // "部门编号", "部门名称", "部门分类": the sub-departments of the node.
    std::vector<std::vector<std::string>> departments;
    // "员工编号" .. "员工类型" (without the tick column): every employee of
    // the department and its sub-departments, by sort number.
    std::vector<std::vector<std::string>> employees;
};

const std::vector<std::string>& transferDepartmentCaptions();
// Starts with "选择", the tick column.
const std::vector<std::string>& transferEmployeeCaptions();

TransferList transferList(Session& s, const std::string& depNo);
// "  共" + n + "人".
std::string transferCountText(std::size_t employees);

// cmbDep's drop-down: leaf departments whose name contains typed, code + " "
// + name.
std::vector<std::string> transferTargets(Session& s, const std::string& typed);

// cmdTrans: empty target, a target that is no leaf department, no ticked
// employee, a code of no employee ("查无此人：" + code); then moves every
// listed employee to the target in one transaction, advancing progress per
// employee.
Outcome transferEmployees(Session& s, const std::string& target, const std::vector<std::string>& empNos,
                          Progress* progress = nullptr);

} // namespace gzgl::base

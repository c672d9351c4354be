#include "base/types.h"

#include "core/numtext.h"
#include "core/schema.h"
#include "core/text.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace gzgl::base {

namespace {

std::string depTypeTable(const Session& s) { return periodTable(s.taskPrefix(), "DepType"); }
std::string empTypeTable(const Session& s) { return periodTable(s.taskPrefix(), "EmpType"); }
std::string departTable(const Session& s) { return periodTable(s.taskPrefix(), "Depart"); }
std::string employeeTable(const Session& s) { return periodTable(s.taskPrefix(), "Employee"); }

Outcome refuse(const Session& s, const char* message, const char* focus = "") {
    return Outcome::refuse(message, s.productTitle, Icon::Exclamation, focus);
}

// F_TypeName of both type tables is varchar(32).
constexpr std::size_t kNameBytes = 32;

// A type name that cannot be stored as typed, refused on its box.
std::optional<Outcome> nameRefused(const Session& s, const std::string& name, const char* field,
                                   const char* focus) {
    std::string why = nameRefusal(name, field, kNameBytes);
    if (why.empty())
        return std::nullopt;
    return Outcome::refuse(std::move(why), s.productTitle, Icon::Exclamation, focus);
}

Outcome failure(const Session& s, const char* what, const std::exception& e) {
    return Outcome::refuse(std::string(what) + "\n" + e.what(), s.productTitle, Icon::Critical);
}

Outcome declined() { return Outcome::refuse({}, {}, Icon::None); }

std::vector<TypeRow> readTypes(Session& s, const std::string& table) {
    std::vector<TypeRow> out;
    const Recordset rs = s.taskConn.query("Select F_TypeNo,F_TypeName From " + table + " Order By F_TypeNo");
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back({rs.row(i)[0].toString(), rs.row(i)[1].toString()});
    return out;
}


// A numeric code shown with its level's width: up to two characters as
// "00", longer ones as "0000"; other codes as they are.
std::string shownTypeCode(const std::string& code) {
    const std::string t = trim(code);
    if (t.empty() || !allDigits(t) || t.size() > 18)
        return t;
    return zeroPad(std::stoll(t), t.size() <= 2 ? 2 : 4);
}

// The type nodes under the root: two-digit codes below it, four-digit codes
// below the latest two-digit code.
void appendTypeNodes(std::vector<TreeNode>& nodes, const std::vector<TypeRow>& types) {
    std::string latest;
    for (const TypeRow& t : types) {
        TreeNode n;
        n.code = shownTypeCode(t.code);
        n.level = std::max<int>(1, static_cast<int>(charCount(n.code) / 2));
        n.key = nodeKey(n.level, n.code);
        n.text = n.code + " " + t.name;
        if (n.level == 1) {
            n.parentKey = kRootKey;
            latest = n.code;
        } else {
            n.parentKey = latest.empty() ? std::string(kRootKey) : nodeKey(1, latest);
        }
        nodes.push_back(std::move(n));
    }
}

} // namespace

std::vector<TypeRow> departmentTypes(Session& s) { return readTypes(s, depTypeTable(s)); }

std::string nextDepartmentTypeNo(const std::vector<TypeRow>& types) {
    double largest = 0;
    for (const TypeRow& t : types)
        largest = std::max(largest, readNumber(t.code));
    return zeroPad(static_cast<long long>(std::floor(largest)) + 1, 2);
}

Outcome addDepartmentType(Session& s, const std::string& no, const std::string& name) {
    const std::string number = trim(no);
    const std::string typeName = trim(name);
    if (number.empty() || typeName.empty())
        return refuse(s, "部门类型或编号不能为空！", number.empty() ? "txtNo" : "txtType");
    // Departments refer to the type by this number (F_TypeNo varchar(2)).
    if (number.size() > 2 || !allDigits(number))
        return refuse(s, "部门类型编号应为一到两位数字！", "txtNo");
    if (std::optional<Outcome> o = nameRefused(s, typeName, "部门类型名称", "txtType"))
        return *o;
    try {
        for (const TypeRow& t : departmentTypes(s))
            if (trim(t.name) == typeName)
                return refuse(s, "该部门类型已存在！", "txtType");
        // Two types under one number could be told apart by nothing, and
        // deleting one would delete both.
        if (!s.taskConn.query("Select F_TypeNo from " + depTypeTable(s) + " where F_TypeNo=?", {number}).empty())
            return refuse(s, "该部门类型编号已存在！", "txtNo");
        s.taskConn.execute("insert into " + depTypeTable(s) + "(F_TypeNo,F_TypeName) values(?,?)", {number, typeName});
    } catch (const DbError& e) {
        return failure(s, "增加部门类型失败！", e);
    }
    return Outcome::success();
}

Outcome renameDepartmentType(Session& s, const std::string& no, const std::string& name) {
    const std::string number = trim(no);
    const std::string typeName = trim(name);
    try {
        if (number.empty() ||
            s.taskConn.query("Select F_TypeNo from " + depTypeTable(s) + " where F_TypeNo=?", {number}).empty())
            return refuse(s, "请选择所需修改的部门类型!");
        if (typeName.empty())
            return refuse(s, "请输入部门类型！", "txtName");
        if (std::optional<Outcome> o = nameRefused(s, typeName, "部门类型名称", "txtName"))
            return *o;
        if (!s.taskConn
                 .query("Select F_TypeName from " + depTypeTable(s) + " where F_TypeName=? and F_TypeNo<>?",
                        {typeName, number})
                 .empty())
            return refuse(s, "此部门类型已存在！", "txtName");
        s.taskConn.execute("Update " + depTypeTable(s) + " set F_TypeName=? where F_TypeNo=?", {typeName, number});
    } catch (const DbError& e) {
        return failure(s, "修改部门类型失败！", e);
    }
    return Outcome::success();
}

Outcome deleteDepartmentType(Session& s, Prompt& p, const std::string& no) {
    const std::string number = trim(no);
    if (number.empty())
        return refuse(s, "请选择要删除的部门类型！");
    try {
        if (s.taskConn.query("Select F_TypeNo from " + depTypeTable(s) + " where F_TypeNo=?", {number})
                .empty())
            return refuse(s, "不存在此部门类型！");
        if (!p.askYesNo("是否真的要将此种部门类型删去?", s.productTitle, Icon::Question))
            return declined();
        if (!s.taskConn.query("Select F_TypeNo from " + departTable(s) + " where F_TypeNo=?", {number}).empty())
            return refuse(s, "有此类型的部门存在，不可删除该部门类型！");
        s.taskConn.execute("Delete from " + depTypeTable(s) + " where F_TypeNo=?", {number});
    } catch (const DbError& e) {
        return failure(s, "删除部门类型失败！", e);
    }
    return Outcome::success();
}

std::vector<TypeRow> employeeTypes(Session& s) { return readTypes(s, empTypeTable(s)); }

std::vector<TreeNode> employeeTypeTree(Session& s) {
    std::vector<TreeNode> nodes{{kRootKey, "员工类型", "", "", 0, false}};
    appendTypeNodes(nodes, employeeTypes(s));
    return nodes;
}

Outcome addEmployeeType(Session& s, const std::string& code, const std::string& name) {
    const std::string c = trim(code);
    const std::string typeName = trim(name);
    if (c.empty() || typeName.empty())
        return refuse(s, "请填写类型代码和名称", c.empty() ? "txtCode" : "txtName");
    const std::size_t len = charCount(c);
    if (len > 4 || len % 2 != 0)
        return refuse(s, "员工类型为不超过4位的偶数！", "txtCode");
    if (!allDigits(c))
        return refuse(s, "类型代码应由数字组成！", "txtCode");
    if (std::optional<Outcome> o = nameRefused(s, typeName, "员工类型名称", "txtName"))
        return *o;
    try {
        const std::string sql = "Select F_TypeNo from " + empTypeTable(s) + " where F_TypeNo=?";
        if (!s.taskConn.query(sql, {c}).empty())
            return refuse(s, "此种员工类型已存在！", "txtCode");
        if (len == 4 && s.taskConn.query(sql, {c.substr(0, 2)}).empty())
            return refuse(s, "请先定义上级员工类型！", "txtCode");
        s.taskConn.execute("Insert into " + empTypeTable(s) + "(F_TypeNo,F_TypeName) values(?,?)", {c, typeName});
    } catch (const DbError& e) {
        return failure(s, "增加员工类型失败！", e);
    }
    return Outcome::success();
}

Outcome deleteEmployeeType(Session& s, Prompt& p, const std::string& code) {
    // The selection may be the node's text: its code is the part before the
    // first blank.
    const std::string c = textBeforeBlank(code);
    if (c.empty())
        return refuse(s, "请选择要删除的类型！");
    const Params branch{likeEscaped(c) + "%"};
    try {
        // Only a type is deleted with its branch: any other prefix ("0")
        // would take types it does not name.
        if (s.taskConn.query("Select F_TypeNo from " + empTypeTable(s) + " where F_TypeNo=?", {c}).empty())
            return refuse(s, "不存在此员工类型！");
        if (!s.taskConn
                 .query("Select F_EmpNo from " + employeeTable(s) + " where F_EmpType Like ? Escape '\\' Limit 1",
                        branch)
                 .empty() &&
            !p.askYesNo("存在本类员工，确定要删除本员工类型？", s.productTitle, Icon::Question))
            return declined();
        Transaction t(s.taskConn);
        s.taskConn.execute("Delete from " + empTypeTable(s) + " where F_TypeNo Like ? Escape '\\'", branch);
        s.taskConn.execute("Update " + employeeTable(s) + " set F_EmpType='' where F_EmpType Like ? Escape '\\'",
                           branch);
        t.commit();
    } catch (const DbError& e) {
        return failure(s, "删除员工类型失败！", e);
    }
    return Outcome::success();
}

std::vector<TreeNode> departmentTypePickerTree(Session& s) {
    std::vector<TreeNode> nodes{{kRootKey, "部门列表", "", "", 0, false}};
    for (const TypeRow& t : departmentTypes(s))
        nodes.push_back({nodeKey(1, t.code), t.code + " " + t.name, kRootKey, t.code, 1, false});
    return nodes;
}

std::vector<TreeNode> employeeTypePickerTree(Session& s) {
    const std::string task =
        s.sysConn.scalar("Select F_GZMC from GZSysInfo where F_ID=?", {s.curTaskID}).toString();
    std::vector<TreeNode> nodes{{kRootKey, task, "", "", 0, false}};
    appendTypeNodes(nodes, employeeTypes(s));
    return nodes;
}

} // namespace gzgl::base

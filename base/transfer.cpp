#include "base/transfer.h"

#include "base/tree.h"
#include "core/schema.h"
#include "core/text.h"

namespace gzgl::base {

namespace {

std::string employeeTable(const Session& s) { return periodTable(s.taskPrefix(), "Employee"); }
std::string departTable(const Session& s) { return periodTable(s.taskPrefix(), "Depart"); }

Outcome refuse(const Session& s, const char* message, const char* focus) {
    return Outcome::refuse(message, s.productTitle, Icon::Exclamation, focus);
}

std::vector<std::vector<std::string>> rowsOf(const Recordset& rs) {
    std::vector<std::vector<std::string>> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        std::vector<std::string>& row = out.emplace_back();
        row.reserve(rs.row(i).size());
        for (const Value& v : rs.row(i))
            row.push_back(v.toString());
    }
    return out;
}

// Ends the progress display however the transfer leaves.
struct ProgressScope {
    Progress* p;
    ProgressScope(Progress* progress, const std::string& status, int maximum) : p(progress) {
        if (p)
            p->begin(status, maximum);
    }
    ~ProgressScope() {
        if (p)
            p->end();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    void step() {
        if (p)
            p->step();
    }
};

} // namespace

const std::vector<std::string>& transferDepartmentCaptions() {
    static const std::vector<std::string> captions = {"部门编号", "部门名称", "部门分类"};
    return captions;
}

const std::vector<std::string>& transferEmployeeCaptions() {
    static const std::vector<std::string> captions = {
        "选择",      "员工编号",  "员工姓名", "性别",     "民族",     "身份证号", "银行账号",
        "养老保险账号", "住房公积金账号", "其他账号1", "其他账号2", "转账属性", "员工类型"};
    return captions;
}

TransferList transferList(Session& s, const std::string& depNo) {
    TransferList l;
    const std::string code = trim(depNo);
    l.departments = rowsOf(s.taskConn.query("Select F_DepNo,F_DepName,F_TypeNo From " + departTable(s) +
                                                " Where F_DepNo Like ? Escape '\\' Order By F_DepNo",
                                            {likeEscaped(code) + "_%"}));
    // The whole branch; ties keep a fixed order by code.
    l.employees = rowsOf(
        s.taskConn.query("Select F_EmpNo,F_EmpName,F_Sex,F_Nation,F_CID,F_AccNo,F_OldNo,F_HouseNo,F_OtherNo1,"
                         "F_OtherNo2,F_Character,F_EmpType From " +
                             employeeTable(s) + " Where F_DepNo Like ? Escape '\\' Order By F_SortNo,F_EmpNo",
                         {likeEscaped(code) + "%"}));
    return l;
}

std::string transferCountText(std::size_t employees) { return "  共" + std::to_string(employees) + "人"; }

std::vector<std::string> transferTargets(Session& s, const std::string& typed) {
    std::vector<std::string> out;
    const Recordset rs = s.taskConn.query("Select F_DepNo,F_DepName From " + departTable(s) +
                                              " Where F_End=1 and F_DepName Like ? Escape '\\' Order By F_DepNo",
                                          {"%" + likeEscaped(typed) + "%"});
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back(trim(rs.row(i)[0].toString()) + " " + trim(rs.row(i)[1].toString()));
    return out;
}

Outcome transferEmployees(Session& s, const std::string& target, const std::vector<std::string>& empNos,
                          Progress* progress) {
    if (trim(target).empty())
        return refuse(s, "您首先要选择部门！", "cmbDep");
    const std::string dep = textBeforeBlank(target);
    try {
        if (s.taskConn
                .query("Select F_DepNo From " + departTable(s) + " Where F_End=1 and F_DepNo=?", {dep})
                .empty())
            return refuse(s, "请您选择正确的部门！", "cmbDep");
        if (empNos.empty())
            return refuse(s, "请选择要调动的人员！", "lstEmp");
        // A code that names nobody would move nobody: the whole transfer is
        // refused rather than reported done for people it did not move.
        for (const std::string& no : empNos)
            if (s.taskConn.query("Select F_EmpNo From " + employeeTable(s) + " Where F_EmpNo=?", {no})
                    .empty())
                return Outcome::refuse("查无此人：" + no, s.productTitle, Icon::Exclamation, "lstEmp");
        ProgressScope shown(progress, "  正在进行人员调动...", static_cast<int>(empNos.size()));
        Transaction t(s.taskConn);
        const std::string sql = "Update " + employeeTable(s) + " Set F_DepNo=? Where F_EmpNo=?";
        for (const std::string& no : empNos) {
            s.taskConn.execute(sql, {dep, no});
            shown.step();
        }
        t.commit();
    } catch (const std::exception& e) {
        return Outcome::refuse(std::string("人员调动失败！\n") + e.what(), s.productTitle, Icon::Exclamation);
    }
    return Outcome::success();
}

} // namespace gzgl::base

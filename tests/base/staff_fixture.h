// A logged-in task (period 200602, code length 4) with departments made by
// plain inserts, for the employee and transfer tests: a branch 01 with the
// leaves 0101 and 0102, and the leaf 02.
#pragma once

#include "base/employees.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace gzgl::test {

struct StaffTest : ::testing::Test {
    PayrollTask task;
    Session& s = task.s;
    RecordingPrompt& p = task.prompt;

    StaffTest() {
        department("01", "生产部", 1, false);
        department("0101", "一车间", 2, true);
        department("0102", "二车间", 2, true);
        department("02", "销售部", 1, true);
    }

    std::string table(const char* suffix) const { return task.table(suffix); }

    void department(const std::string& code, const std::string& name, int level, bool leaf) {
        s.taskConn.execute("Insert Into " + table("Depart") +
                               "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',?,?)",
                           {code, name, level, leaf ? 1 : 0});
    }

    void employeeType(const std::string& code, const std::string& name) {
        s.taskConn.execute("Insert Into " + table("EmpType") + "(F_TypeNo,F_TypeName) Values(?,?)", {code, name});
    }

    Value field(const std::string& empNo, const std::string& column) {
        return s.taskConn.scalar("Select " + column + " From " + table("Employee") + " Where F_EmpNo=?", {empNo});
    }
    std::string text(const std::string& empNo, const std::string& column) { return field(empNo, column).toString(); }
    std::int64_t count(const char* suffix) {
        return s.taskConn.scalar("Select count(*) From " + table(suffix)).toInt();
    }
    bool hasDataRow(const std::string& empNo) {
        return !s.taskConn.query("Select 1 From " + table("Data") + " Where F_EmpNo=?", {empNo}).empty();
    }

    // The fields of a valid new employee.
    static base::EmployeeFields fields(const std::string& code, const std::string& dep = "0101  一车间",
                                       const std::string& name = "张三") {
        base::EmployeeFields f;
        f.empNo = code;
        f.depNo = dep;
        f.name = name;
        return f;
    }
};

} // namespace gzgl::test

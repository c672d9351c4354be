// Logged-in tasks (period 200602) for the base-record tests.
//  BaseTest   scheme "00000"; departments added through the engine, the
//             stored scheme, and direct looks at the rows.
//  StaffTest  code length 4, with departments made by plain inserts: a
//             branch 01 with the leaves 0101 and 0102, and the leaf 02.
#pragma once

#include "base/departments.h"
#include "base/employees.h"
#include "base/types.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace gzgl::test {

// What both share: the task, its session and prompt, and row counts.
struct TaskTest : ::testing::Test {
    PayrollTask task;
    Session& s = task.s;
    RecordingPrompt& p = task.prompt;

    std::string table(const char* suffix) const { return task.table(suffix); }
    std::int64_t count(const char* suffix) {
        return s.taskConn.scalar("Select count(*) from " + table(suffix)).toInt();
    }
};

struct BaseTest : TaskTest {
    std::string scheme() {
        return s.sysConn.scalar("Select F_BMJB from GZSysInfo where F_ID=?", {s.curTaskID}).toString();
    }
    void setScheme(const std::string& text) {
        s.sysConn.execute("Update GZSysInfo set F_BMJB=? where F_ID=?", {text, s.curTaskID});
    }

    // Adds a department through the engine, answering Yes to a question
    // about a new level; fails the test when it is not added.
    base::AddDepartmentResult add(const std::string& code, const std::string& name = "部门",
                                  const std::string& type = "") {
        p.answers = {true};
        base::AddDepartmentResult r = base::addDepartment(s, p, code, name, type);
        p.answers.clear();
        EXPECT_TRUE(r.added) << code << ": " << r.outcome.message;
        return r;
    }

    // Deletes through the engine with Yes to the question.
    Outcome remove(const std::string& code) {
        p.answers = {true};
        Outcome o = base::deleteDepartment(s, p, code);
        p.answers.clear();
        return o;
    }

    bool exists(const std::string& code) {
        return !s.taskConn.query("Select 1 from " + table("Depart") + " where F_DepNo=?", {code}).empty();
    }
    Value field(const std::string& code, const std::string& column) {
        return s.taskConn.scalar("Select " + column + " from " + table("Depart") + " where F_DepNo=?", {code});
    }
    std::int64_t endFlag(const std::string& code) { return field(code, "F_End").toInt(); }

    void employee(const std::string& no, const std::string& dep, int sort = 0) { task.employee(no, "员工" + no, dep, sort); }
};

struct StaffTest : TaskTest {
    StaffTest() {
        department("01", "生产部", 1, false);
        department("0101", "一车间", 2, true);
        department("0102", "二车间", 2, true);
        department("02", "销售部", 1, true);
    }

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

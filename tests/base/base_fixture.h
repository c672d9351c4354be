// A logged-in task (period 200602, scheme "00000") with helpers for the
// department and type tests: departments added through the engine, the
// stored scheme, and direct looks at the rows.
#pragma once

#include "base/departments.h"
#include "base/types.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace gzgl::test {

struct BaseTest : ::testing::Test {
    PayrollTask task;
    Session& s = task.s;
    RecordingPrompt& p = task.prompt;

    std::string table(const char* suffix) const { return task.table(suffix); }

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
    std::int64_t count(const char* suffix) {
        return s.taskConn.scalar("Select count(*) from " + table(suffix)).toInt();
    }

    void employee(const std::string& no, const std::string& dep, int sort = 0) { task.employee(no, "员工" + no, dep, sort); }
};

} // namespace gzgl::test

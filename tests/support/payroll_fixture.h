// A logged-in task with items, employees, values and formula lines made by
// plain inserts, for the tests and benchmarks of the monthly work.
#pragma once

#include "core/login.h"
#include "core/schema.h"
#include "core/settings.h"
#include "support/test_support.h"

#include <stdexcept>
#include <string>

namespace gzgl::test {

struct PayrollTask {
    TempHome home;
    Session s;
    RecordingPrompt prompt;

    explicit PayrollTask(int roundOffMode = 0, const std::string& year = "2006", const std::string& month = "2",
                         const std::string& op = "管理员", const std::string& pw = "") {
        openHome(s, home.path);
        makeTask(s, "工资", op, pw, year, month);
        if (!loginByName(s, prompt, "工资", op, pw))
            throw std::runtime_error("login failed: " + prompt.last());
        s.roundOffMode = roundOffMode;
    }

    std::string table(const char* suffix) const { return periodTable(s.taskPrefix(), suffix); }

    // A user item at the end of the item order, with its data column.
    void item(const std::string& code, const std::string& name, const std::string& type = "数字", int prec = 2,
              bool column = true) {
        const auto id = s.taskConn.scalar("Select max(F_ID) from " + table("Item")).toInt() + 1;
        s.taskConn.execute("Insert Into " + table("Item") + " Values(?,?,?,?,?,1,15,1,0,0)", {id, code, name, type, prec});
        if (column)
            s.taskConn.execute("Alter Table " + table("Data") + " Add " + code +
                               (type == "数字" ? " float" : " VARCHAR(16)"));
    }

    void employee(const std::string& empNo, const std::string& name, const std::string& dep = "01", int sort = 0,
                  const std::string& notCalc = "") {
        s.taskConn.execute("Insert Into " + table("Employee") +
                               "(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_NotCalc) Values(?,?,?,?,?)",
                           {empNo, dep, name, sort, notCalc.empty() ? Value() : Value(notCalc)});
        s.taskConn.execute("Insert Into " + table("Data") + "(F_EmpNo) Values(?)", {empNo});
    }

    void value(const std::string& empNo, const std::string& code, const Value& v) {
        s.taskConn.execute("Update " + table("Data") + " Set " + code + "=? Where F_EmpNo=?", {v, empNo});
    }

    void formula(const std::string& code, const std::string& text) {
        const auto id = s.taskConn.scalar("Select max(F_ID) from " + table("Formula")).toInt() + 1;
        s.taskConn.execute("Insert Into " + table("Formula") + "(F_ID,F_Code,F_Formula) Values(?,?,?)",
                           {id, code, text});
    }

    void exceptions(bool on) { setNotCalc(s, on); }
};

} // namespace gzgl::test

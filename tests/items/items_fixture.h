// A logged-in task (period 200602) with a few employees, for the item,
// formula and tax-bracket tests.
#pragma once

#include "items/itemcode.h"
#include "items/items.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace gzgl::test {

struct ItemsTest : ::testing::Test {
    PayrollTask task{0, "2006", "2", "张三", "pw"};
    Session& s = task.s;
    RecordingPrompt& p = task.prompt;

    void SetUp() override {
        p.clear();
        for (const char* no : {"0001", "0002", "0003"})
            s.taskConn.execute("Insert into " + items::dataTable(s) + "(F_EmpNo) values(?)", {no});
    }

    // Adds a number item (or of the given type) and answers its code.
    std::string add(const std::string& name, const std::string& type = items::kNumber) {
        items::ItemFields f;
        f.name = name;
        f.type = type;
        f.prec = type == items::kNumber ? "2" : "";
        const items::AddItemResult r = items::addItem(s, f);
        EXPECT_TRUE(r.outcome.ok) << name << ": " << r.outcome.message;
        return r.code;
    }

    bool hasColumn(const std::string& code) {
        const auto c = s.taskConn.columns(items::dataTable(s));
        return std::find(c.begin(), c.end(), code) != c.end();
    }

    std::vector<Value> column(const std::string& code) {
        const Recordset rs = s.taskConn.query("select " + code + " from " + items::dataTable(s) + " order by F_EmpNo");
        std::vector<Value> out;
        for (std::size_t i = 0; i < rs.size(); ++i)
            out.push_back(rs.row(i)[0]);
        return out;
    }

    void setAll(const std::string& code, const Value& v) {
        s.taskConn.execute("update " + items::dataTable(s) + " set " + code + "=?", {v});
    }

    std::int64_t itemCount() { return s.taskConn.scalar("select count(*) from " + items::itemTable(s)).toInt(); }
};

} // namespace gzgl::test

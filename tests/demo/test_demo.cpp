// The demo data home: laid out whole in a new folder, never over existing
// data, and a task one can log in to and recalculate.
#include "demo/demo.h"

#include "accounting/link.h"
#include "calc/recalc.h"
#include "core/login.h"
#include "core/numtext.h"
#include "core/startup.h"
#include "exchange/bank.h"
#include "monthly/workgrid_load.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

using namespace gzgl;
namespace fs = std::filesystem;

TEST(DemoHome, LogsInRecalculatesAndIsLinkedToItsAccounting) {
    test::TempHome parent;
    const std::string home = parent.path + "/演示";
    SilentProgress progress;
    const Outcome o = demo::layOutDemoHome(home, 2026, 12, progress);
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_NE(o.message.find("口令：demo"), std::string::npos);
    // Nothing but the home itself is left beside it.
    std::set<std::string> beside;
    for (const auto& e : fs::directory_iterator(parent.path))
        beside.insert(e.path().filename().string());
    EXPECT_EQ(beside, std::set<std::string>{"演示"});

    Session s;
    test::openHome(s, home);
    test::RecordingPrompt p;
    ASSERT_TRUE(loginByName(s, p, demo::kTaskName, demo::kOperator, demo::kPassword)) << p.last();
    EXPECT_EQ(s.curPeriod, "202612");
    monthly::LoadedGrid g = monthly::loadWorkGrid(s, {}, true);
    calc::RecalculateGrid(s, g.grid, {s.roundOffMode, IsNotCalcOn(s)}, progress);
    ASSERT_EQ(g.grid.employeeCount(), demo::kEmployees);
    // Every employee's pay works out: gross is the sum of its parts, net is
    // gross less contributions, tax and deductions, held back to whole yuan.
    auto num = [&](int r, const char* code) { return readNumber(g.grid.cell(r, g.grid.columnOf(code))); };
    std::set<std::string> names;
    for (int r = calc::kFirstEmployeeRow; r < g.grid.rows(); ++r) {
        const double gross = num(r, "F004") + num(r, "F005") + num(r, "F006") + num(r, "F007") + num(r, "F008");
        EXPECT_NEAR(num(r, "F003"), gross, 0.005);
        EXPECT_EQ(num(r, "F008"), 300);
        const double net = gross - num(r, "F009") - num(r, "F010") - num(r, "F011") - num(r, "F012") - num(r, "F013");
        EXPECT_GT(num(r, "F000"), 0);
        EXPECT_LE(num(r, "F000"), net + 1e-9);
        EXPECT_GT(num(r, "F000"), net - 1);
        EXPECT_EQ(num(r, "F000"), std::floor(num(r, "F000")));
        names.insert(g.grid.cell(r, 1));
    }
    EXPECT_GT(names.size(), 150u); // realistic, mostly different names
    // The bank template and the accounting set are there to use.
    EXPECT_EQ(exchange::loadBankTemplate(exchange::bankTemplatePath(s)).tpl.rows.size(), 3u);
    EXPECT_NE(openLinkedStore(s), nullptr);
}

TEST(DemoHome, NeverOverExistingDataAndNoTraceOfARefusal) {
    test::TempHome parent;
    SilentProgress progress;
    const std::string used = parent.path + "/used";
    fs::create_directories(used + "/KSMoney");
    const Outcome o = demo::layOutDemoHome(used, 2026, 12, progress);
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.message.find("不是空目录"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(used + "/KSMoney"));
    EXPECT_FALSE(demo::layOutDemoHome(parent.path + "/no/such/home", 2026, 12, progress).ok);
    // A folder named with a slash at its end is that folder.
    ASSERT_TRUE(demo::layOutDemoHome(parent.path + "/slash/", 2026, 12, progress).ok);
    EXPECT_TRUE(fs::exists(parent.path + "/slash/KSMoney/KSSYS.MDB"));
    // A read-only parent: refused with a message, nothing left behind.
    const std::string locked = parent.path + "/locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(locked.c_str(), W_OK) != 0) { // root may write anyway
        EXPECT_FALSE(demo::layOutDemoHome(locked + "/demo", 2026, 12, progress).ok);
        EXPECT_TRUE(fs::is_empty(locked));
    }
    fs::permissions(locked, fs::perms::owner_all);
}

TEST(DemoHome, IdentityNumbersCarryTheirCheckCharacter) {
    EXPECT_EQ(demo::identityNumber("110105", "19491231", 2), "11010519491231002X");
    EXPECT_EQ(demo::identityNumber("440524", "18800101", 1), "440524188001010014");
}

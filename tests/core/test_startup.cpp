// The start routine: first start, what comes next, automatic login, and a
// system database that cannot be used.
#include "core/login.h"
#include "core/schema.h"
#include "core/startup.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace gzgl;

TEST(StartUp, FirstStartOnAnEmptyHomeCreatesTheSystemDatabaseAndAsksForATask) {
    test::TempHome home;
    Session s;
    initSession(s, home.path);
    test::RecordingPrompt p;
    EXPECT_EQ(startRoutine(s, p), StartNext::NewTask);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_TRUE(fs::exists(home.money() + "/GZNull.mdb"));
    EXPECT_TRUE(fs::exists(home.money() + "/KSSYS.MDB"));
    EXPECT_TRUE(s.sysConn.hasTable("GZSysInfo"));
    EXPECT_TRUE(s.sysConn.hasTable("GZRecord"));
    EXPECT_EQ(s.sysConn.columns("GZSysInfo").size(), 13u);
    EXPECT_EQ(s.shell.caption, s.productTitle);
    EXPECT_EQ(s.shell.mode, ShellMode::NoTask);
}

TEST(StartUp, WithTasksTheTaskChoiceIsShown) {
    test::TempHome home;
    Session s;
    test::openHome(s, home.path);
    test::makeTask(s, "一车间", "管理员", "");
    Session again;
    initSession(again, home.path);
    test::RecordingPrompt p;
    EXPECT_EQ(startRoutine(again, p), StartNext::TaskChoice);
    EXPECT_TRUE(p.messages.empty());
}

TEST(StartUp, DamagedSystemDatabaseIsReportedAndLeftAlone) {
    test::TempHome home;
    fs::create_directories(home.money());
    const std::string sys = home.money() + "/KSSYS.MDB";
    std::ofstream(sys) << std::string(200, 'x');
    Session s;
    initSession(s, home.path);
    test::RecordingPrompt p;
    EXPECT_EQ(startRoutine(s, p), StartNext::Quit);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_NE(p.last().find("网络错误或数据库不能连接,系统关闭!"), std::string::npos);
    EXPECT_EQ(p.messages[0].title, "严重错误");
    EXPECT_EQ(fs::file_size(sys), 200u);
}

TEST(StartUp, SystemDatabaseWithoutItsTablesIsReportedNotCrashed) {
    test::TempHome home;
    fs::create_directories(home.money());
    createEmptyDatabase(home.money() + "/KSSYS.MDB");
    Session s;
    initSession(s, home.path);
    test::RecordingPrompt p;
    EXPECT_EQ(startRoutine(s, p), StartNext::Quit);
    EXPECT_NE(p.last().find("网络错误或数据库不能连接"), std::string::npos);
    EXPECT_TRUE(fs::exists(home.money() + "/KSSYS.MDB"));
}

TEST(StartUp, FailedSystemTablesRollBackReportAndDeleteTheFile) {
    test::TempHome home;
    fs::create_directories(home.money());
    // A template that already holds a GZSysInfo table makes the creation fail.
    const std::string templ = home.money() + "/GZNull.mdb";
    createEmptyDatabase(templ);
    {
        Connection c;
        c.open(templ);
        c.execute("create table GZSysInfo(x)");
    }
    Session s;
    initSession(s, home.path);
    test::RecordingPrompt p;
    EXPECT_EQ(startRoutine(s, p), StartNext::Quit);
    ASSERT_FALSE(p.messages.empty());
    EXPECT_EQ(p.last(), "创建数据库表失败！");
    EXPECT_EQ(p.messages.back().title, "严重错误");
    EXPECT_FALSE(fs::exists(home.money() + "/KSSYS.MDB"));
    EXPECT_FALSE(s.sysConn.isOpen());
}

namespace {
struct AutoLogin : ::testing::Test {
    test::TempHome home;
    Session s;
    test::RecordingPrompt p;
    void SetUp() override {
        test::openHome(s, home.path);
        test::makeTask(s, "财务科", "王会计", "pw1");
        test::makeTask(s, "销售部", "李四", "");
        s.sysConn.close();
    }
    StartNext start(const std::string& commandLine) {
        Session fresh;
        initSession(fresh, home.path, commandLine);
        s = std::move(fresh);
        return startRoutine(s, p);
    }
};
} // namespace

TEST_F(AutoLogin, OperatorAndTaskNameLogInWithoutAnyScreen) {
    EXPECT_EQ(start("王会计_财务科"), StartNext::Ready);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(s.curTaskID, "0000");
    EXPECT_EQ(s.curOperName, "王会计");
    EXPECT_EQ(s.shell.mode, ShellMode::LoggedIn);
    EXPECT_FALSE(s.autoLogin);
}

TEST_F(AutoLogin, AnotherOperatorNameGetsThePasswordMessageAndTheLoginScreen) {
    EXPECT_EQ(start("张三_财务科"), StartNext::Login);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.last(), "用户口令错误！");
    EXPECT_FALSE(s.autoLogin);
    EXPECT_EQ(s.curTaskID, "0000"); // chosen, waiting for the login screen
    EXPECT_TRUE(s.curOperName.empty());
}

TEST_F(AutoLogin, UnknownTaskNameIsReportedThenTheTaskChoice) {
    EXPECT_EQ(start("王会计_没有这个"), StartNext::TaskChoice);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.last(), "你在会计核算软件中设置的帐套名不正确，不能自动登录帐套！");
    EXPECT_EQ(p.messages[0].icon, Icon::Exclamation);
    EXPECT_FALSE(s.autoLogin);
    EXPECT_FALSE(s.taskOpen());
}

TEST_F(AutoLogin, FailedAutomaticLoginClearsTheFlagSoLaterChoicesAreTheUsers) {
    // The named task's book is damaged: the task choice follows, and the
    // entry the user then picks is the one opened, not the broken task.
    {
        std::ofstream damaged(home.money() + "/GZ0000.MDB", std::ios::trunc);
        damaged << "not a database";
    }
    EXPECT_EQ(start("王会计_财务科"), StartNext::TaskChoice);
    EXPECT_FALSE(s.autoLogin);
    EXPECT_FALSE(s.taskOpen());
    EXPECT_EQ(confirmTaskChoice(s, p, "0001      销售部"), ChoiceNext::Login);
    EXPECT_EQ(s.curTaskID, "0001");
}

TEST_F(AutoLogin, CommandLineWithoutUnderscoreIsTheTaskName) {
    // The whole text names the task; the operator name is then empty.
    EXPECT_EQ(start("销售部"), StartNext::Login);
    EXPECT_EQ(p.last(), "用户口令错误！");
    EXPECT_EQ(s.curTaskID, "0001");
}

TEST(Settings, NotCalcSwitchIsOffWithoutARowOrTable) {
    test::TempHome home;
    Session s;
    test::openHome(s, home.path);
    s.curTaskID = "0000";
    EXPECT_FALSE(s.sysConn.hasTable("tbSysSet"));
    EXPECT_FALSE(IsNotCalcOn(s));
}

TEST(SharedRoutines, DepartmentNameByStyle) {
    test::TempHome home;
    Session s;
    test::openHome(s, home.path);
    test::makeTask(s, "部门", "op", "");
    test::RecordingPrompt p;
    ASSERT_TRUE(loginByName(s, p, "部门", "op", ""));
    s.taskConn.execute("insert into " + periodTable(s.taskPrefix(), "Depart") +
                       "(F_DepNo,F_DepName) values('01','办公室''一')");
    EXPECT_EQ(GetDepName(s, "", 0), "全体部门");
    EXPECT_EQ(GetDepName(s, "01", 0), "办公室'一");
    EXPECT_EQ(GetDepName(s, "01", 1), "01 办公室'一");
    EXPECT_EQ(GetDepName(s, "01", 2), "");
    EXPECT_EQ(GetDepName(s, "02", 0), "");
    EXPECT_EQ(GetDepName(s, "01' or '1'='1", 0), "");
}

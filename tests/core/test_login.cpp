// Task choice and login: every refusal, the session it leaves, and the
// upgrade of older tasks.
#include "core/login.h"
#include "core/schema.h"
#include "core/settings.h"
#include "core/startup.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace gzgl;

namespace {
struct Login : ::testing::Test {
    test::TempHome home;
    Session s;
    test::RecordingPrompt p;
    void SetUp() override {
        test::openHome(s, home.path);
        test::makeTask(s, "机关工资", "管理员", "s3cret");
        test::makeTask(s, "空口令", "出纳", "");
    }
    ChoiceNext choose(const std::string& entry) { return confirmTaskChoice(s, p, entry); }
};
} // namespace

TEST_F(Login, TaskChoiceListsIdAndNameWithSixSpaces) {
    EXPECT_EQ(taskChoiceEntries(s), (std::vector<std::string>{"0000      机关工资", "0001      空口令"}));
}

TEST_F(Login, NullIdAndNameShowPlaceholdersAndFindNoTask) {
    // Rows written by other tools may lack what the program's own never do.
    s.sysConn.executeScript("create table G2 as select * from GZSysInfo; drop table GZSysInfo;"
                            "alter table G2 rename to GZSysInfo;");
    s.sysConn.execute("Insert Into GZSysInfo(F_ID,F_GZMC) values(NULL,'x')");
    s.sysConn.execute("Insert Into GZSysInfo(F_ID,F_GZMC) values('0009',NULL)");
    const auto entries = taskChoiceEntries(s);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], "未知序号      x"); // Null sorts first
    EXPECT_EQ(entries[3], "0009      未知名称");
    EXPECT_EQ(choose(entries[0]), ChoiceNext::Closed);
    EXPECT_EQ(p.last(), "没有设立工资任务！");
    EXPECT_FALSE(s.taskOpen());
}

TEST_F(Login, ChoosingATaskLoadsItsSettingsThenTheRightPasswordLogsIn) {
    ASSERT_EQ(choose("0000      机关工资"), ChoiceNext::Login);
    EXPECT_EQ(s.curTaskID, "0000");
    EXPECT_EQ(s.curPeriod, "200602");
    EXPECT_EQ(s.empNoMask, "0000");
    EXPECT_EQ(s.shell.statePanel, "已启用");
    EXPECT_EQ(s.shell.periodPanel, "2006年第02月");
    EXPECT_TRUE(s.taskConn.isOpen());
    EXPECT_EQ(loadLoginScreen(s).name, "管理员");

    EXPECT_EQ(confirmLogin(s, p, "管理员", "wrong"), LoginNext::Stay);
    EXPECT_EQ(p.last(), "用户口令错误！");
    EXPECT_EQ(confirmLogin(s, p, "别人", "s3cret"), LoginNext::Stay);
    EXPECT_EQ(p.last(), "用户姓名错误！");
    EXPECT_EQ(confirmLogin(s, p, "管理员", "S3CRET"), LoginNext::Stay); // case matters
    EXPECT_TRUE(s.curOperName.empty());

    EXPECT_EQ(confirmLogin(s, p, "管理员", "s3cret"), LoginNext::Done);
    EXPECT_EQ(s.curOperName, "管理员");
    EXPECT_EQ(s.shell.operatorPanel, "管理员");
    EXPECT_EQ(s.shell.mode, ShellMode::LoggedIn);
    EXPECT_EQ(s.shell.caption, s.productTitle + " --- 机关工资");
}

TEST_F(Login, EmptyStoredPasswordLogsInWithAnEmptyBox) {
    ASSERT_EQ(choose("0001      空口令"), ChoiceNext::Login);
    EXPECT_EQ(confirmLogin(s, p, "出纳", ""), LoginNext::Done);
    EXPECT_TRUE(p.messages.empty());
}

TEST_F(Login, EmployeeCodeLengthFiveGivesFiveZeroMask) {
    s.sysConn.execute("Update GZSysInfo set F_RYBMCD=5 where F_ID='0000'");
    choose("0000      机关工资");
    EXPECT_EQ(s.empNoMask, "00000");
}

TEST_F(Login, TaskThatVanishedBetweenListAndConfirmChangesNothing) {
    s.sysConn.execute("Delete From GZSysInfo where F_ID='0000'");
    EXPECT_EQ(choose("0000      机关工资"), ChoiceNext::Closed);
    EXPECT_EQ(p.last(), "没有设立工资任务！");
    EXPECT_FALSE(s.taskOpen());
    EXPECT_EQ(s.shell.mode, ShellMode::NoTask);
}

TEST_F(Login, MissingOrDamagedTaskDatabaseIsReportedAndNoTaskIsOpen) {
    fs::remove(home.money() + "/GZ0000.MDB");
    EXPECT_EQ(choose("0000      机关工资"), ChoiceNext::Closed);
    EXPECT_NE(p.last().find("工资任务数据库不能打开！"), std::string::npos);
    EXPECT_FALSE(s.taskOpen());
    EXPECT_EQ(s.shell.caption, s.productTitle);

    std::ofstream(home.money() + "/GZ0001.MDB", std::ios::trunc) << std::string(300, 'z');
    EXPECT_EQ(choose("0001      空口令"), ChoiceNext::Closed);
    EXPECT_FALSE(s.taskOpen());
    EXPECT_EQ(fs::file_size(home.money() + "/GZ0001.MDB"), 300u);
}

TEST_F(Login, CancelledLoginKeepsTheTaskChosenButLocked) {
    choose("0000      机关工资");
    cancelLogin(s);
    EXPECT_EQ(s.shell.mode, ShellMode::TaskChosen);
    EXPECT_TRUE(s.shell.periodPanel.empty());
    EXPECT_TRUE(s.shell.statePanel.empty());
    EXPECT_TRUE(s.taskOpen());
    EXPECT_FALSE(s.loggedIn());
}

TEST_F(Login, ClosingTheTaskClearsTheSession) {
    ASSERT_TRUE(loginByName(s, p, "机关工资", "管理员", "s3cret"));
    closeTask(s);
    EXPECT_FALSE(s.taskOpen());
    EXPECT_TRUE(s.curOperName.empty());
    EXPECT_TRUE(s.curPeriod.empty());
    EXPECT_FALSE(s.taskConn.isOpen());
    EXPECT_EQ(s.shell.caption, s.productTitle);
    EXPECT_EQ(s.shell.mode, ShellMode::NoTask);
}

TEST_F(Login, PathScreenModeOnlyLoadsThePeriod) {
    s.pathScreenMode = 2;
    EXPECT_EQ(choose("0000      机关工资"), ChoiceNext::Opened);
    EXPECT_EQ(s.curPeriod, "200602");
    EXPECT_FALSE(s.taskConn.isOpen());
}

TEST_F(Login, OpenWithoutLoginStopsBeforeTheLoginScreen) {
    s.openWithoutLogin = true;
    EXPECT_EQ(choose("0000      机关工资"), ChoiceNext::Opened);
    EXPECT_TRUE(s.taskConn.isOpen());
    EXPECT_FALSE(s.loggedIn());
}

TEST_F(Login, LinkedTaskLoadsItsAccountingSet) {
    s.sysConn.execute("Update GZSysInfo set F_ZTID='ID0003',F_ZTPATH='/acct' where F_ID='0000'");
    s.linkKind = 7;
    ASSERT_TRUE(loginByName(s, p, "机关工资", "管理员", "s3cret"));
    EXPECT_EQ(s.linkedSetID, "ID0003");
    EXPECT_EQ(s.linkedSetPath, "/acct");
    EXPECT_EQ(s.linkKind, 0);
}

TEST_F(Login, UpgradeAddsTheEmployeeColumnsAndParameterTableToAnOlderTask) {
    // An older task: its employee table lacks the two columns and the system
    // database has no parameter table.
    Connection task;
    task.open(home.money() + "/GZ0000.MDB");
    const std::string emp = "ID0000_200602_Employee";
    task.execute("Drop Table " + emp);
    task.execute("Create Table " + emp + "(F_EmpNo varchar(20),F_DepNo varchar(20),F_EmpName varchar(32))");
    task.execute("Insert Into " + emp + " values('0001','01','张三')");
    task.close();
    s.sysConn.execute("Drop Table tbSysSet");

    ASSERT_TRUE(loginByName(s, p, "机关工资", "管理员", "s3cret")) << p.last();
    const auto cols = s.taskConn.columns(emp);
    EXPECT_NE(std::find(cols.begin(), cols.end(), "F_NotCalc"), cols.end());
    EXPECT_NE(std::find(cols.begin(), cols.end(), "F_LashMonth"), cols.end());
    EXPECT_EQ(s.taskConn.scalar("select F_EmpName from " + emp).toString(), "张三");
    EXPECT_TRUE(s.sysConn.hasTable("tbSysSet"));

    // A second login finds everything in place and changes nothing.
    closeTask(s);
    ASSERT_TRUE(loginByName(s, p, "机关工资", "管理员", "s3cret"));
    EXPECT_EQ(s.taskConn.columns(emp).size(), cols.size());
}

TEST_F(Login, UpgradeAddsTheSecondColumnWhenOnlyOneIsThere) {
    Connection task;
    task.open(home.money() + "/GZ0000.MDB");
    const std::string emp = "ID0000_200602_Employee";
    task.execute("Drop Table " + emp);
    task.execute("Create Table " + emp + "(F_EmpNo varchar(20),F_LashMonth text)");
    task.close();
    ASSERT_TRUE(loginByName(s, p, "机关工资", "管理员", "s3cret")) << p.last();
    EXPECT_EQ(s.taskConn.columns(emp).size(), 3u);
}

TEST_F(Login, NotCalcSettingBelongsToItsTask) {
    ASSERT_TRUE(loginByName(s, p, "机关工资", "管理员", "s3cret"));
    EXPECT_FALSE(IsNotCalcOn(s));
    setNotCalc(s, true);
    EXPECT_TRUE(IsNotCalcOn(s));
    setNotCalc(s, true); // the row is updated, not added again
    EXPECT_EQ(s.sysConn.scalar("select count(*) from tbSysSet").toInt(), 1);
    closeTask(s);
    ASSERT_TRUE(loginByName(s, p, "空口令", "出纳", ""));
    EXPECT_FALSE(IsNotCalcOn(s));
    setNotCalc(s, false);
    closeTask(s);
    ASSERT_TRUE(loginByName(s, p, "机关工资", "管理员", "s3cret"));
    EXPECT_TRUE(IsNotCalcOn(s));
    setNotCalc(s, false);
    EXPECT_FALSE(IsNotCalcOn(s));
}

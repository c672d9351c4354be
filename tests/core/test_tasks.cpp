// Creating, amending and deleting salary tasks.
#include "core/login.h"
#include "core/password.h"
#include "core/schema.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/tasks.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>

#include <filesystem>

namespace fs = std::filesystem;
using namespace gzgl;

namespace {
struct Tasks : ::testing::Test {
    test::TempHome home;
    Session s;
    test::RecordingPrompt p;
    void SetUp() override { test::openHome(s, home.path); }

    NewTaskFields fields(const std::string& name) {
        NewTaskFields f;
        f.name = name;
        f.year = "2006";
        f.month = "2";
        f.codeLength = "4";
        return f;
    }
    std::int64_t taskRows() { return s.sysConn.scalar("select count(*) from GZSysInfo").toInt(); }
    // A refused or failed creation leaves no row, no file and no open task.
    void expectNothingLeft() {
        EXPECT_EQ(taskRows(), 0);
        EXPECT_EQ(taskFiles(), 0u);
        EXPECT_FALSE(s.taskOpen());
    }
    std::size_t taskFiles() {
        std::size_t n = 0;
        for (const auto& e : fs::directory_iterator(home.money()))
            n += e.path().filename().string().rfind("GZ0", 0) == 0;
        return n;
    }
};
} // namespace

TEST_F(Tasks, FirstTaskIsZeroZeroZeroZeroAndHasItsWholePeriodSet) {
    const AddTaskResult r = addTask(s, fields("一分厂"));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.taskID, "0000");
    EXPECT_TRUE(fs::exists(home.money() + "/GZ0000.MDB"));
    EXPECT_EQ(r.outcome.message,
              "新建任务\"一分厂\"，\n请先进入\"基础档案管理\"的\"工资项目定义\"里进行工资项目维护！");

    const std::string prefix = "ID0000_200602_";
    for (const TableDef& t : periodTables())
        EXPECT_TRUE(s.taskConn.hasTable(periodTable(prefix, t.suffix))) << t.suffix;
    EXPECT_TRUE(s.taskConn.hasTable("GZRecord"));
    const Recordset items =
        s.taskConn.query("select F_Code,F_Name,F_Prec from " + prefix + "Item order by F_ID");
    ASSERT_EQ(items.size(), 7u);
    const char* codes[] = {"F001", "F002", "F000", "F003", "FFFF", "FFFE", "FFFD"};
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_EQ(items.at(i, "F_Code").toString(), codes[i]);
    EXPECT_EQ(items.at(2, "F_Name").toString(), "实发工资");
    const Recordset tax = s.taskConn.query("select * from " + prefix + "TaxRate order by F_Start");
    ASSERT_EQ(tax.size(), 7u);
    EXPECT_DOUBLE_EQ(tax.at(6, "F_End").toDouble(), 1e99);
    EXPECT_DOUBLE_EQ(tax.at(3, "F_Quick").toDouble(), 375);
    EXPECT_EQ(s.taskConn.columns(prefix + "Data"), (std::vector<std::string>{"F_EmpNo", "FFFF", "F003"}));
    const Recordset rec = s.taskConn.query("select F_ID,F_Time,F_ZZ from GZRecord");
    ASSERT_EQ(rec.size(), 1u);
    EXPECT_EQ(rec.at(0, "F_Time").toString(), "200602");
    EXPECT_EQ(rec.at(0, "F_ZZ").toString(), "0");

    const Recordset row = s.sysConn.query("select * from GZSysInfo");
    EXPECT_EQ(row.at(0, "F_BMJB").toString(), "00000");
    EXPECT_EQ(row.at(0, "F_QYRQ").toString(), "200602");
    EXPECT_EQ(row.at(0, "F_DQRQ").toString(), "200602");
    EXPECT_DOUBLE_EQ(row.at(0, "F_RYBMCD").toDouble(), 4);
    EXPECT_DOUBLE_EQ(row.at(0, "F_ZZ").toDouble(), 0);

    // Creation leaves the task open and logged in.
    EXPECT_EQ(s.curTaskID, "0000");
    EXPECT_EQ(s.curOperName, "管理员");
    EXPECT_EQ(s.shell.statePanel, "未启用");
    EXPECT_EQ(s.shell.mode, ShellMode::LoggedIn);
    EXPECT_EQ(s.shell.caption, s.productTitle + " --- 一分厂");

    closeTask(s);
    EXPECT_EQ(addTask(s, fields("二分厂")).taskID, "0001");
}

TEST_F(Tasks, NextIdFollowsTheHighestNotTheCount) {
    test::makeTask(s, "a", "op", "");
    test::makeTask(s, "b", "op", "");
    s.sysConn.execute("Delete from GZSysInfo where F_ID='0000'");
    EXPECT_EQ(test::makeTask(s, "c", "op", ""), "0002");
}

TEST_F(Tasks, ValidationStopsAtTheFirstFailureInOrder) {
    struct Case {
        std::function<void(NewTaskFields&)> change;
        const char* message;
        const char* focus;
    };
    const std::vector<Case> cases = {
        {[](NewTaskFields& f) {
             f.codeLength = "0";
             f.name = "";
         },
         "人员编码长度不能为0！", "txtLong"},
        {[](NewTaskFields& f) { f.codeLength = "abc"; }, "人员编码长度不能为0！", "txtLong"},
        {[](NewTaskFields& f) { f.codeLength = "21"; }, "人员编码长度应为1到20之间的整数！", "txtLong"},
        {[](NewTaskFields& f) { f.name = "  "; }, "工资任务名称不能为空！", "txtName"},
        {[](NewTaskFields& f) { f.year = ""; }, "工资任务启用年不能为空！", "txtYear"},
        {[](NewTaskFields& f) { f.month = ""; }, "工资任务启用月不能为空！", "txtMonth"},
        {[](NewTaskFields& f) { f.month = "13"; }, "工资任务启用时间不正确！", "txtYear"},
        {[](NewTaskFields& f) { f.month = "0"; }, "工资任务启用时间不正确！", "txtYear"},
        {[](NewTaskFields& f) { f.year = "20x6"; }, "工资任务启用时间不正确！", "txtYear"},
        {[](NewTaskFields& f) { f.year = "99"; }, "工资任务启用时间不正确！", "txtYear"},
        {[](NewTaskFields& f) { f.operatorName = "  "; }, "操作人员姓名不能为空！", "txtOperator"},
        {[](NewTaskFields& f) {
             f.password1 = "a";
             f.password2 = "b";
         },
         "两次输入的口令不一致！", "txtKL1"},
    };
    for (const Case& c : cases) {
        NewTaskFields f = fields("任务");
        c.change(f);
        const AddTaskResult r = addTask(s, f);
        EXPECT_FALSE(r.outcome.ok) << c.message;
        EXPECT_EQ(r.outcome.message, c.message);
        EXPECT_EQ(r.outcome.focus, c.focus) << c.message;
        EXPECT_EQ(r.outcome.icon, Icon::Exclamation);
    }
    expectNothingLeft();
}

TEST_F(Tasks, PeriodLimits) {
    for (const auto& [year, month, period] : {std::tuple{"2026", "12", "202612"}, {"9999", "01", "999901"}}) {
        NewTaskFields f = fields(period);
        f.year = year;
        f.month = month;
        ASSERT_TRUE(addTask(s, f).outcome.ok) << period;
        EXPECT_EQ(s.curPeriod, period);
        closeTask(s);
    }
}

TEST_F(Tasks, FractionalOrOutOfRangeCodeLengthRefused) {
    for (const char* length : {"0.5", "1.5", "4.0", "-3", "21", "4x", "1e1"}) {
        NewTaskFields f = fields("任务");
        f.codeLength = length;
        const AddTaskResult r = addTask(s, f);
        EXPECT_FALSE(r.outcome.ok) << length;
        EXPECT_EQ(r.outcome.focus, "txtLong") << length;
    }
    expectNothingLeft();
    NewTaskFields f = fields("任务");
    f.codeLength = " 20 ";
    ASSERT_TRUE(addTask(s, f).outcome.ok);
    EXPECT_EQ(s.empNoMask, std::string(20, '0'));
}

TEST_F(Tasks, PasswordsAreStoredAsTypedAndLogInAsTyped) {
    // Quotes, bars and blanks are part of a password; sixteen bytes fit.
    const char* passwords[] = {"a'b", "x|y", " sp ", "100%", "口令口令口令口令", "abcdefghijklmnop"};
    for (const char* pw : passwords) {
        NewTaskFields f = fields(std::string("任务") + std::to_string(taskRows()));
        f.password1 = f.password2 = pw;
        const AddTaskResult r = addTask(s, f);
        ASSERT_TRUE(r.outcome.ok) << pw << r.outcome.message;
        EXPECT_EQ(s.sysConn.scalar("select F_RYKL from GZSysInfo where F_ID=?", {r.taskID}).toString(), pw);
        closeTask(s);
        EXPECT_TRUE(loginByName(s, p, f.name, "管理员", pw)) << pw;
        closeTask(s);
    }
}

TEST_F(Tasks, PasswordLongerThanTheColumnRefusedNotCut) {
    NewTaskFields f = fields("长口令");
    f.password1 = f.password2 = "abcdefghijklmnopq"; // 17 bytes
    AddTaskResult r = addTask(s, f);
    EXPECT_EQ(r.outcome.message, "口令不能超过16个字节（一个汉字占两个字节）！");
    EXPECT_EQ(r.outcome.focus, "txtKL1");
    f.password1 = f.password2 = "口令口令口令口令口"; // nine characters, 18 bytes
    EXPECT_FALSE(addTask(s, f).outcome.ok);
    expectNothingLeft();
}

TEST_F(Tasks, HeaderTextsWithQuotesBarsOrTooLongRefusedNotAltered) {
    struct Case {
        std::function<void(NewTaskFields&)> change;
        const char* message;
        const char* focus;
    };
    const std::vector<Case> cases = {
        {[](NewTaskFields& f) { f.corporation = "C'01"; }, "企业代码里不能包含符号 ' 或 |。",
         "txtCorporation"},
        {[](NewTaskFields& f) { f.name = "O'Neil"; }, "工资任务名称里不能包含符号 ' 或 |。", "txtName"},
        {[](NewTaskFields& f) { f.name = "工资|表"; }, "工资任务名称里不能包含符号 ' 或 |。", "txtName"},
        {[](NewTaskFields& f) { f.name = std::string(65, 'x'); },
         "工资任务名称太长：最多64个字节（一个汉字占两个字节），现有65个字节。", "txtName"},
        {[](NewTaskFields& f) { f.name = "😀车间"; }, "工资任务名称里有GBK字符集以外的字符“😀”，不能保存。", "txtName"},
        {[](NewTaskFields& f) { f.operatorName = "张'三"; }, "操作人员姓名里不能包含符号 ' 或 |。",
         "txtOperator"},
        {[](NewTaskFields& f) {
             f.operatorName = "欧阳司马诸葛上官";
             f.operatorName += "x";
         },
         "操作人员姓名太长：最多16个字节（一个汉字占两个字节），现有17个字节。", "txtOperator"},
    };
    for (const Case& c : cases) {
        NewTaskFields f = fields("任务");
        c.change(f);
        const AddTaskResult r = addTask(s, f);
        EXPECT_EQ(r.outcome.message, c.message);
        EXPECT_FALSE(r.outcome.ok);
        EXPECT_EQ(r.outcome.focus, c.focus) << c.message;
    }
    expectNothingLeft();
}

TEST_F(Tasks, NamesWithPercentAndSemicolonAreStoredAsTyped) {
    NewTaskFields f = fields(" 100%; 工资表 ");
    f.operatorName = "张三";
    f.corporation = "C;01";
    f.password1 = f.password2 = "p";
    const AddTaskResult r = addTask(s, f);
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_EQ(r.cleaned.name, "100%; 工资表");
    EXPECT_EQ(s.sysConn.scalar("select F_GZMC from GZSysInfo").toString(), "100%; 工资表");
    EXPECT_EQ(s.sysConn.scalar("select F_QYDM from GZSysInfo").toString(), "C;01");
    closeTask(s);
    EXPECT_TRUE(loginByName(s, p, "100%; 工资表", "张三", "p")) << p.last();
    // A percent sign is no wildcard: a similar name finds nothing.
    closeTask(s);
    EXPECT_FALSE(loginByName(s, p, "1000; 工资表", "张三", "p"));
}

TEST_F(Tasks, FullLengthNameKeptAndDuplicateRefused) {
    AddTaskResult r = addTask(s, fields(std::string(64, 'x')));
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_EQ(r.cleaned.name, std::string(64, 'x'));
    closeTask(s);
    r = addTask(s, fields("  " + std::string(64, 'X') + "  ")); // names compare without case
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.message, "该任务名称已经存在，添加失败！");
    EXPECT_EQ(r.outcome.title, "提示窗");
    EXPECT_EQ(taskRows(), 1);
    EXPECT_EQ(taskFiles(), 1u);
}

TEST_F(Tasks, TaskCreationNeverOverwritesAnotherTasksFile) {
    // A task book whose system database row was lost: once with the file
    // spelled as the program writes it, once in lower case.
    for (const char* spelling : {"GZ0000.MDB", "gz0000.mdb"}) {
        const std::string book = home.money() + "/" + spelling;
        {
            createEmptyDatabase(book);
            Connection c;
            c.open(book);
            c.execute("create table Marker(x)");
        }
        s.sysConn.execute("delete from GZSysInfo");
        const AddTaskResult r = addTask(s, fields(spelling));
        ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
        EXPECT_EQ(r.taskID, "0001") << spelling;
        closeTask(s);
        Connection c;
        c.open(book);
        EXPECT_TRUE(c.hasTable("Marker")) << spelling;
        c.close();
        fs::remove(book);
        fs::remove(home.money() + "/GZ0001.MDB");
    }
}

TEST_F(Tasks, DeletedTaskTakesItsSettingsWithIt) {
    test::makeTask(s, "甲", "op", "");
    ASSERT_TRUE(loginByName(s, p, "甲", "op", ""));
    setNotCalc(s, true);
    p.answers = {true};
    ASSERT_TRUE(deleteCurrentTask(s, p).ok);
    EXPECT_EQ(s.sysConn.scalar("select count(*) from tbSysSet where ztName='0000'").toInt(), 0);
    // The next task gets the id again and starts with the switch off.
    ASSERT_EQ(test::makeTask(s, "乙", "op", ""), "0000");
    ASSERT_TRUE(loginByName(s, p, "乙", "op", ""));
    EXPECT_FALSE(IsNotCalcOn(s));
}

TEST_F(Tasks, RoundOffModeFromTheScreenOrTheOneInForce) {
    NewTaskFields f = fields("a");
    f.mode = roundOffCode("不足100元去尾");
    ASSERT_TRUE(addTask(s, f).outcome.ok);
    EXPECT_DOUBLE_EQ(s.sysConn.scalar("select F_KWFS from GZSysInfo where F_ID='0000'").toDouble(), 6);
    closeTask(s);
    ASSERT_TRUE(addTask(s, fields("b")).outcome.ok); // none chosen: the mode in force
    EXPECT_DOUBLE_EQ(s.sysConn.scalar("select F_KWFS from GZSysInfo where F_ID='0001'").toDouble(), 6);
    EXPECT_EQ(roundOffText(7), "不足50元去尾");
    EXPECT_FALSE(roundOffCode("不足3元去尾"));
    EXPECT_EQ(roundOffChoices().size(), 8u);
    EXPECT_EQ(roundOffChoices()[1], "不足100元去尾");
}

TEST_F(Tasks, CreationFailingInTheTaskDatabaseLeavesNothingBehind) {
    // A template that already holds one of the period tables makes the
    // creation fail half-way through the thirteen tables.
    Connection t;
    t.open(home.money() + "/GZNULL.MDB");
    t.execute("create table ID0000_200602_Item(x)");
    t.close();
    const AddTaskResult r = addTask(s, fields("半途"));
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_NE(r.outcome.message.find("新建工资任务失败！"), std::string::npos);
    expectNothingLeft();
    EXPECT_FALSE(s.taskConn.isOpen());
}

TEST_F(Tasks, CreationFailingInTheSystemDatabaseLeavesNothingBehind) {
    s.sysConn.execute(
        "create trigger refuse before insert on GZSysInfo begin select raise(abort,'disk full'); end");
    const AddTaskResult r = addTask(s, fields("半途"));
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_NE(r.outcome.message.find("disk full"), std::string::npos);
    expectNothingLeft();
}

TEST_F(Tasks, MissingTemplateFailsCleanly) {
    fs::remove(home.money() + "/GZNULL.MDB");
    fs::remove(home.money() + "/GZNull.mdb");
    const AddTaskResult r = addTask(s, fields("无模板"));
    EXPECT_FALSE(r.outcome.ok);
    expectNothingLeft();
}

TEST_F(Tasks, CancelSaysNothingWasAdded) {
    const Outcome o = cancelAddTask(s);
    EXPECT_EQ(o.message, "没有增设工资任务！");
    EXPECT_EQ(s.shell.mode, ShellMode::NoTask);
}

TEST_F(Tasks, PendingAccountingLinkIsStoredWithTheNewTask) {
    s.pendingLink = {true, "ID0002", "/data/acct"};
    ASSERT_TRUE(addTask(s, fields("连账")).outcome.ok);
    const Recordset rs = s.sysConn.query("select F_ZTID,F_ZTPATH from GZSysInfo");
    EXPECT_EQ(rs.at(0, "F_ZTID").toString(), "ID0002");
    EXPECT_EQ(rs.at(0, "F_ZTPATH").toString(), "/data/acct");
    EXPECT_EQ(s.linkedSetID, "ID0002");
    EXPECT_FALSE(s.pendingLink.linked);
}

namespace {
struct Amend : Tasks {
    void SetUp() override {
        Tasks::SetUp();
        test::makeTask(s, "甲", "老王", "pw");
        test::makeTask(s, "乙", "老李", "pw2");
        ASSERT_TRUE(loginByName(s, p, "甲", "老王", "pw"));
    }
    Recordset row(const char* id) { return s.sysConn.query("select * from GZSysInfo where F_ID=?", {id}); }
};
} // namespace

TEST_F(Amend, UnchangedFormRewritesTheSameValuesAndNeverShowsThePassword) {
    const Recordset before = row("0000");
    const AmendFields f = loadAmendFields(s);
    EXPECT_EQ(f.name, "甲");
    EXPECT_TRUE(f.password1.empty() && f.password2.empty());
    EXPECT_EQ(f.modeText, "不去尾");
    ASSERT_TRUE(amendTask(s, f).ok);
    EXPECT_EQ(row("0000").row(0), before.row(0));
}

TEST_F(Amend, RewritesHeaderButNotPeriodLengthOrId) {
    AmendFields f = loadAmendFields(s);
    f.name = "  甲改  ";
    f.operatorName = "老张";
    f.corporation = "QY01";
    f.password1 = f.password2 = " new ";
    f.modeText = "不足1角去尾";
    ASSERT_TRUE(amendTask(s, f).ok);
    const Recordset r = row("0000");
    EXPECT_EQ(r.at(0, "F_GZMC").toString(), "甲改");
    EXPECT_EQ(r.at(0, "F_RYXM").toString(), "老张");
    EXPECT_EQ(r.at(0, "F_RYKL").toString(), " new ");
    EXPECT_DOUBLE_EQ(r.at(0, "F_KWFS").toDouble(), 5);
    EXPECT_EQ(r.at(0, "F_QYRQ").toString(), "200602");
    EXPECT_DOUBLE_EQ(r.at(0, "F_RYBMCD").toDouble(), 4);
    EXPECT_EQ(s.shell.caption, s.productTitle + " --- 甲改");
    EXPECT_EQ(s.curOperName, "老张");
    EXPECT_EQ(s.roundOffMode, 5);
    EXPECT_EQ(row("0001").at(0, "F_GZMC").toString(), "乙");
}

TEST_F(Amend, RefusalsInOrder) {
    const AmendFields f = loadAmendFields(s);
    const std::pair<std::function<void(AmendFields&)>, const char*> cases[] = {
        {[](AmendFields& g) {
             g.name = "";
             g.operatorName = "";
         },
         "工资任务名称不能为空！"},
        {[](AmendFields& g) { g.operatorName = ""; }, "操作人员姓名不能为空！"},
        {[](AmendFields& g) { g.modeText = ""; }, "请选择扣尾方式！"},
        {[](AmendFields& g) { g.password2 = "other"; }, "两次输入的口令不一致！"},
        {[](AmendFields& g) { g.name = "乙"; }, "该任务名称已经存在，修改失败！"},
    };
    for (const auto& [change, message] : cases) {
        AmendFields g = f;
        change(g);
        EXPECT_EQ(amendTask(s, g).message, message);
    }
    EXPECT_EQ(row("0000").at(0, "F_GZMC").toString(), "甲");
}

TEST_F(Amend, PasswordsOverTheColumnOrWithoutLoginRefusedAndNothingWritten) {
    const Recordset before = row("0000");
    AmendFields f = loadAmendFields(s);
    f.password1 = f.password2 = std::string(20, 'a');
    EXPECT_EQ(amendTask(s, f).message, "口令不能超过16个字节（一个汉字占两个字节）！");
    EXPECT_EQ(changePassword(s, "pw", std::string(17, 'b'), std::string(17, 'b')).message,
              "口令不能超过16个字节（一个汉字占两个字节）！");
    f.password1 = f.password2 = "x";
    closeTask(s);
    ASSERT_EQ(confirmTaskChoice(s, p, "0000      甲"), ChoiceNext::Login);
    cancelLogin(s);
    EXPECT_FALSE(amendTask(s, f).ok);
    EXPECT_FALSE(changePassword(s, "pw", "x", "x").ok);
    EXPECT_EQ(row("0000").row(0), before.row(0));
}

TEST_F(Amend, DeleteRemovesFileAndRowAfterTheQuestion) {
    p.answers = {false};
    EXPECT_FALSE(deleteCurrentTask(s, p).ok);
    EXPECT_EQ(p.last(), "您确信要删除本工资任务吗？");
    EXPECT_TRUE(fs::exists(home.money() + "/GZ0000.MDB"));
    EXPECT_TRUE(s.taskOpen());

    p.answers = {true};
    const Outcome o = deleteCurrentTask(s, p);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.message, "工资任务删除完毕！");
    EXPECT_EQ(o.title, "提示");
    EXPECT_FALSE(fs::exists(home.money() + "/GZ0000.MDB"));
    EXPECT_TRUE(row("0000").empty());
    EXPECT_FALSE(row("0001").empty());
    EXPECT_TRUE(fs::exists(home.money() + "/GZ0001.MDB"));
    EXPECT_FALSE(s.taskOpen());
    EXPECT_FALSE(s.taskConn.isOpen());
    EXPECT_EQ(s.shell.caption, "工资管理系统");
    EXPECT_EQ(s.shell.mode, ShellMode::NoTask);
}

TEST_F(Amend, DeleteOfAChosenButNotLoggedInTaskDeletesNothing) {
    closeTask(s);
    ASSERT_EQ(confirmTaskChoice(s, p, "0001      乙"), ChoiceNext::Login);
    cancelLogin(s);
    p.answers = {true};
    EXPECT_FALSE(deleteCurrentTask(s, p).ok);
    EXPECT_TRUE(fs::exists(home.money() + "/GZ0001.MDB"));
    EXPECT_FALSE(row("0001").empty());
}

TEST_F(Amend, PasswordChangeTouchesOnlyItsTask) {
    EXPECT_EQ(changePassword(s, "wrong", "n", "n").message, "没有修改口令的权限！");
    const Outcome differ = changePassword(s, "pw", "n1", "n2");
    EXPECT_EQ(differ.message, "两次口令不一致！");
    EXPECT_EQ(differ.focus, "txtKL2");
    EXPECT_EQ(row("0000").at(0, "F_RYKL").toString(), "pw");

    const Outcome ok = changePassword(s, "  pw ", " fresh ", " fresh ");
    ASSERT_TRUE(ok.ok);
    EXPECT_EQ(ok.message, "口令修改完毕！");
    EXPECT_EQ(row("0000").at(0, "F_RYKL").toString(), " fresh ");
    EXPECT_EQ(row("0001").at(0, "F_RYKL").toString(), "pw2");
    closeTask(s);
    EXPECT_TRUE(loginByName(s, p, "甲", "老王", " fresh "));
}

TEST_F(Amend, EmptyNewPasswordLogsInWithAnEmptyBox) {
    ASSERT_TRUE(changePassword(s, "pw", "", "").ok);
    EXPECT_EQ(row("0000").at(0, "F_RYKL").toString(), "");
    closeTask(s);
    EXPECT_TRUE(loginByName(s, p, "甲", "老王", ""));
}

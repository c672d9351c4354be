// Linking a task to an accounting set of the single-user form.
#include "accounting/link.h"
#include "core/login.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gzgl;

namespace {
struct Link : ::testing::Test {
    test::TempHome home;
    Session s;
    std::string acct;
    void SetUp() override {
        test::openHome(s, home.path);
        acct = home.path + "/acct";
        std::filesystem::create_directories(acct);
        createEmptyDatabase(acct + "/KS770WIN.MDB");
        Connection c;
        c.open(acct + "/KS770WIN.MDB");
        c.execute("create table ZTGL(ZTID varchar(6),ZTMC varchar(64),DQKJN INTEGER,DQKJY INTEGER)");
        c.execute("insert into ZTGL values('ID0001','总公司',2006,2)");
        c.execute("insert into ZTGL values('ID0002','分公司''s',2006,2)");
    }
    LinkFields single(const std::string& set) {
        LinkFields f;
        f.choice = LinkChoice::SingleUser;
        f.folder = acct;
        f.setName = set;
        return f;
    }
};
} // namespace

TEST_F(Link, SetsAreListedFromTheAccountingSystem) {
    EXPECT_EQ(accountingSets(acct), (std::vector<std::string>{"总公司", "分公司's"}));
    EXPECT_TRUE(accountingSets(home.path + "/nowhere").empty());
    EXPECT_EQ(proposedAccountingFolders().size(), 2u);
}

TEST_F(Link, RefusalsOfTheLinkScreen) {
    EXPECT_EQ(confirmLink(s, single(""), kLinkNewTask).message, "请选择核算单位！");
    EXPECT_EQ(confirmLink(s, single("不存在"), kLinkNewTask).message, "请选择正确的核算单位！");
    LinkFields wrongFolder = single("总公司");
    wrongFolder.folder = home.path;
    EXPECT_EQ(confirmLink(s, wrongFolder, kLinkNewTask).message, "请选择正确的核算单位！");
    LinkFields net;
    net.choice = LinkChoice::Network;
    EXPECT_EQ(confirmLink(s, net, kLinkNewTask).message, "请填入正确的服务器信息！");
    EXPECT_FALSE(s.pendingLink.linked);
}

TEST_F(Link, NewTaskModeKeepsTheChoiceForTheCreation) {
    ASSERT_TRUE(confirmLink(s, single("分公司's"), kLinkNewTask).ok);
    EXPECT_TRUE(s.pendingLink.linked);
    EXPECT_EQ(s.pendingLink.setID, "ID0002");
    EXPECT_EQ(s.pendingLink.path, acct);
    ASSERT_TRUE(confirmLink(s, LinkFields{}, kLinkNewTask).ok); // no link after all
    EXPECT_FALSE(s.pendingLink.linked);
}

TEST_F(Link, ChangePathModeWritesTheOpenTasksRow) {
    test::makeTask(s, "甲", "op", "");
    test::makeTask(s, "乙", "op", "");
    test::RecordingPrompt p;
    ASSERT_TRUE(loginByName(s, p, "甲", "op", ""));
    ASSERT_TRUE(confirmLink(s, single("总公司"), kLinkChangePath).ok);
    EXPECT_EQ(s.sysConn.scalar("select F_ZTID from GZSysInfo where F_ID='0000'").toString(), "ID0001");
    EXPECT_EQ(s.sysConn.scalar("select F_ZTPATH from GZSysInfo where F_ID='0000'").toString(), acct);
    EXPECT_TRUE(s.sysConn.scalar("select F_ZTID from GZSysInfo where F_ID='0001'").isNull());
    ASSERT_TRUE(confirmLink(s, LinkFields{}, kLinkChangePath).ok);
    EXPECT_EQ(s.sysConn.scalar("select F_ZTID from GZSysInfo where F_ID='0000'").toString(), "");
}

TEST_F(Link, PasswordIsAskedOnlyWhenTheServerRefusesTheLogin) {
    test::makeTask(s, "甲", "op", "");
    test::RecordingPrompt p;
    ASSERT_TRUE(loginByName(s, p, "甲", "op", ""));
    int asked = 0;
    const PasswordQuestion ask = [&asked]() -> std::optional<std::string> {
        ++asked;
        return std::string("secret");
    };
    EXPECT_EQ(linkedSetPassword(s, p, ask), std::string()); // no link
    ASSERT_TRUE(confirmLink(s, single("总公司"), kLinkChangePath).ok);
    EXPECT_EQ(linkedSetPassword(s, p, ask), std::string()); // a folder needs none
    // A driver that is not there is said at once: no password would help.
    s.sysConn.execute("Update GZSysInfo set F_ZTPATH=? where F_ID=?",
                      {"odbc:KS770CW:Driver=/nowhere/psqlodbcw.so;Server=localhost", s.curTaskID});
    try {
        linkedSetPassword(s, p, ask);
        ADD_FAILURE() << "a missing driver was not reported";
    } catch (const accounting::AccountingError& e) {
        EXPECT_NE(std::string(e.what()).find("没有找到ODBC数据源或驱动程序"), std::string::npos) << e.what();
    }
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(p.messages.empty());
}

TEST_F(Link, ServerSetListRefusesATextHoldingAPassword) {
    LinkFields f;
    f.choice = LinkChoice::Network;
    f.server = "DSN=kj;PWD=secret";
    const NetworkSetList list = listNetworkSets(f, "工资");
    EXPECT_FALSE(list.outcome.ok);
    EXPECT_NE(list.outcome.message.find("不能含有口令"), std::string::npos) << list.outcome.message;
    EXPECT_EQ(list.outcome.focus, "txtServer");
    EXPECT_TRUE(list.sets.empty());
    f.server = "DSN=no_such_source_here";
    EXPECT_EQ(listNetworkSets(f, "工资").outcome.message.rfind("请填入正确的服务器信息！\n", 0), 0u);
}

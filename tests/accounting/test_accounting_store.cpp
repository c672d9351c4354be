// Reaching the single-user accounting side: every broken folder gives a
// message instead of a crash; the demo folder; the account picker's tree;
// re-choosing the linked set.
#include "accounting/demo.h"
#include "accounting/link.h"
#include "accounting/single_user.h"
#include "core/login.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace gzgl;
using namespace gzgl::accounting;
namespace fs = std::filesystem;

namespace {

struct AccountingFolder : ::testing::Test {
    test::TempHome home;
    std::string acct = home.path + "/acct";
    void SetUp() override { layoutDemoAccounting(acct, {"管理员"}, {2006, 2}); }

    std::string refusal(const std::string& folder, const std::string& set = "ID0001") {
        try {
            openSingleUserStore(folder, set);
        } catch (const AccountingError& e) {
            return e.what();
        }
        return "";
    }
};

} // namespace

TEST_F(AccountingFolder, DemoOpensWithItsSetsChartAndUsers) {
    EXPECT_EQ(singleUserSets(acct), demoSets());
    const auto store = openSingleUserStore(acct, "ID0002");
    EXPECT_EQ(store->currentPeriod(), (YearMonth{2006, 2}));
    EXPECT_TRUE(store->isUser("管理员"));
    EXPECT_FALSE(store->isUser("管理员' or '1'='1"));
    EXPECT_EQ(store->maxVoucherNumber({2006, 2}), 0);
    EXPECT_EQ(store->account({2006, 2}, "2211"), (Account{"2211", "应付职工薪酬", 1, false}));
    EXPECT_TRUE(store->account({2006, 2}, "221101")->leaf);
    EXPECT_FALSE(store->account({2006, 3}, "221101"));
    EXPECT_GT(store->chart({2006, 2}).size(), 10u);
    EXPECT_TRUE(store->chart({2007, 2}).empty());
}

TEST_F(AccountingFolder, DemoNeverOverwritesAFolder) {
    try {
        layoutDemoAccounting(acct, {"x"}, {2007, 1});
        FAIL() << "an existing demo was overwritten";
    } catch (const AccountingError& e) {
        EXPECT_NE(std::string(e.what()).find("已存在"), std::string::npos);
    }
    EXPECT_EQ(openSingleUserStore(acct, "ID0001")->currentPeriod(), (YearMonth{2006, 2}));
    for (const auto& entry : fs::directory_iterator(acct))
        EXPECT_EQ(entry.path().extension(), ".MDB") << entry.path();
}

TEST_F(AccountingFolder, BrokenFoldersAreRefusedClearly) {
    EXPECT_EQ(refusal(home.path + "/nowhere"),
              "财务系统数据路径" + home.path + "/nowhere不存在，请更改账务路径！");
    EXPECT_EQ(refusal(""), "财务系统数据路径不存在，请更改账务路径！");
    EXPECT_EQ(refusal(home.path), "财务系统数据路径中没有KS770WIN.MDB，请更改账务路径！");
    EXPECT_EQ(refusal(acct, "ID0009"), kWrongSetMessage);
    EXPECT_EQ(refusal(acct, "ID0001' --"), kWrongSetMessage);

    // A set database that is not a database, then one without its tables.
    std::ofstream(acct + "/KS0002.MDB", std::ios::trunc)
        << "this is no database, only text that fills the page";
    EXPECT_EQ(refusal(acct, "ID0002"), "文件" + acct + "/KS0002.MDB不是财务系统数据库！");
    fs::remove(acct + "/KS0002.MDB");
    EXPECT_EQ(refusal(acct, "ID0002"), "没有找到核算单位数据库KS0002.MDB！");
    createEmptyDatabase(acct + "/KS0002.MDB");
    EXPECT_EQ(refusal(acct, "ID0002"), "核算单位数据库中没有数据表ID0002_YE！");
    {
        Connection c;
        c.open(acct + "/KS0001.MDB");
        c.execute("Drop Table ID0001_PZGL_D");
    }
    EXPECT_EQ(refusal(acct, "ID0001"), "核算单位数据库中没有数据表ID0001_PZGL_D！");

    // A system database that is not one, then one without ZTGL.
    std::ofstream(acct + "/KS770WIN.MDB", std::ios::trunc) << std::string(600, 'x');
    EXPECT_EQ(refusal(acct), "文件" + acct + "/KS770WIN.MDB不是财务系统数据库！");
    EXPECT_THROW(singleUserSets(acct), AccountingError);
    fs::remove(acct + "/KS770WIN.MDB");
    createEmptyDatabase(acct + "/KS770WIN.MDB");
    EXPECT_EQ(refusal(acct), "财务系统数据库中没有核算单位表ZTGL！");
}

TEST(AccountTree, AccountsHangUnderTheirParentByLevel) {
    const std::vector<Account> chart = {{"2211", "应付职工薪酬", 1, false}, {"221101", "工资", 2, true},
                                        {"22110101", "基本", 3, true},      {"221102", "福利", 2, true},
                                        {"5001", "生产成本", 1, false},     {"500201", "孤儿", 2, true}};
    const std::vector<AccountNode> tree = accountTree(chart);
    ASSERT_EQ(tree.size(), 7u);
    EXPECT_EQ(tree[0], (AccountNode{"Dm0", "", "科目列表", "", false}));
    EXPECT_EQ(tree[1].parentKey, "Dm0");
    EXPECT_EQ(tree[2], (AccountNode{"Dm2_221101", "Dm1_2211", "221101 工资", "221101", true}));
    EXPECT_EQ(tree[3].parentKey, "Dm2_221101");
    EXPECT_EQ(tree[4].parentKey, "Dm1_2211");
    EXPECT_EQ(tree[5].parentKey, "Dm0");
    // Its level-1 neighbour 5001 does not begin its code.
    EXPECT_EQ(tree[6].parentKey, "Dm0");
}

TEST_F(AccountingFolder, LinkedStoreAndRechoosingTheSet) {
    Session s;
    test::openHome(s, home.path);
    test::makeTask(s, "甲", "op", "");
    test::RecordingPrompt p;
    ASSERT_TRUE(loginByName(s, p, "甲", "op", ""));
    try {
        openLinkedStore(s);
        FAIL() << "a task without a link opened a store";
    } catch (const AccountingError& e) {
        EXPECT_STREQ(e.what(), "工资系统帐套路径未设置。");
    }
    LinkFields f{LinkChoice::SingleUser, acct, "演示公司", {}, {}, {}, {}};
    ASSERT_TRUE(confirmLink(s, f, kLinkChangePath).ok);
    EXPECT_EQ(openLinkedStore(s)->setID(), "ID0001");

    EXPECT_EQ(connectEntries(acct), (std::vector<std::string>{"演示公司   ID0001", "演示分公司   ID0002"}));
    EXPECT_EQ(confirmConnect(s, "").message, "请选择核算单位！");
    EXPECT_EQ(confirmConnect(s, "别家   ID0009").message, "请选择正确的核算单位！");
    ASSERT_TRUE(confirmConnect(s, "演示分公司   ID0002").ok);
    EXPECT_EQ(s.sysConn.scalar("select F_ZTID from GZSysInfo where F_ID=?", {s.curTaskID}).toString(),
              "ID0002");
    EXPECT_EQ(openLinkedStore(s)->setID(), "ID0002");
}

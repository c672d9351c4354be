// Task export and import between data homes, and the full backup laid out
// as a new home: what arrives, that it calculates the same, and that a
// failing or hostile import leaves the installation as it was.
#include "period/backup_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace gzgl;
using namespace gzgl::period;
using gzgl::test::Book;
namespace fs = std::filesystem;

namespace {

// Another installation with tasks 0000 to 0003.
struct Installation {
    test::TempHome home;
    Session s;
    test::RecordingPrompt prompt;
    SilentProgress progress;
    Installation() {
        test::openHome(s, home.path);
        for (const char* name : {"甲", "乙", "丙", "丁"})
            test::makeTask(s, name, "管理员", "");
    }
    int systemRows(const char* table) {
        return static_cast<int>(s.sysConn.scalar(std::string("Select count(*) from ") + table).toInt());
    }
};

struct TaskTransfer : ::testing::Test {
    test::TempHome out;
    std::unique_ptr<Book> a;
    std::string package;
    std::vector<std::vector<std::string>> grids; // 200602..200604 as recalculated in a

    // Task 工资 with three periods and different values in each, exported.
    void exportBook() {
        a = std::make_unique<Book>(0);
        a->fill();
        a->close();
        a->value("0001", "F004", 3000.0);
        a->close();
        a->value("0003", "F006", 7.5);
        for (const char* p : {"200602", "200603", "200604"})
            grids.push_back(test::recalculated(a->s, p));
        const PathResult r = exportTask(a->s, out.path, "20061231", a->progress);
        ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
        EXPECT_EQ(r.outcome.message, "任务导出完毕！");
        package = out.path + "/GZ_0000_20061231.ksc";
        EXPECT_EQ(r.written, package);
        EXPECT_EQ(test::filesIn(out.path), std::vector<std::string>{"GZ_0000_20061231.ksc"});
    }
};

TEST_F(TaskTransfer, ExportLeavesTheLiveTaskFileAlone) {
    exportBook();
    EXPECT_FALSE(a->s.taskConn.hasTable("GZSysInfo"));
    EXPECT_TRUE(a->s.loggedIn());
    EXPECT_EQ(exportTask(a->s, out.path + "/none", "20061231", a->progress).outcome.message, kWrongPath);
    fs::remove(a->home.money() + "/GZ0000.MDB");
    EXPECT_EQ(exportTask(a->s, out.path, "20061231", a->progress).outcome.message, "当前任务的数据不存在！");
}

TEST_F(TaskTransfer, ImportIntoAnInstallationWithFourTasksMakesTask0004WithEveryPeriod) {
    exportBook();
    Installation b;
    const ImportResult r = importTask(b.s, package, b.progress);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.outcome.message, "导入任务完成！");
    EXPECT_EQ(r.outcome.title, "提示窗");
    EXPECT_EQ(r.taskID, "0004");
    const Recordset info = b.s.sysConn.query("Select * from GZSysInfo where F_ID='0004'");
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info.at(0, "F_GZMC").toString(), "工资");
    EXPECT_EQ(info.at(0, "F_QYRQ").toString(), "200602");
    EXPECT_EQ(info.at(0, "F_DQRQ").toString(), "200604");
    EXPECT_EQ(info.at(0, "F_KWFS").toInt(), 3);
    EXPECT_EQ(info.at(0, "F_RYKL").toString(), "pw");

    ASSERT_TRUE(loginByName(b.s, b.prompt, "工资", "管理员", "pw")) << b.prompt.last();
    EXPECT_EQ(b.s.curTaskID, "0004");
    EXPECT_EQ(b.s.curPeriod, "200604");
    EXPECT_TRUE(IsNotCalcOn(b.s)); // the exceptions switch came along
    EXPECT_EQ(test::records(b.s), "200602:1 200603:1 200604:0");
    const char* periods[] = {"200602", "200603", "200604"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(tableSetComplete(b.s.taskConn, "0004", periods[i]));
        EXPECT_EQ(test::recalculated(b.s, periods[i]), grids[static_cast<std::size_t>(i)]) << periods[i];
        EXPECT_EQ(test::dumpPeriod(b.s, periods[i]), test::dumpPeriod(a->s, periods[i])) << periods[i];
    }
    // Nothing of the old id is left in the new file; the indexes are ours.
    for (const std::string& t : b.s.taskConn.tables())
        EXPECT_TRUE(t == "GZRecord" || t.rfind("ID0004_", 0) == 0) << t;
    EXPECT_EQ(
        b.s.taskConn
            .scalar("Select count(*) from sqlite_master where type='index' and name not like 'IX_ID0004_%'")
            .toInt(),
        0);
    // The month goes on as any other: a close works.
    const BalanceStart start = openBalance(b.s);
    EXPECT_TRUE(closeMonth(b.s, start.year, start.month, b.progress).ok);
}

TEST_F(TaskTransfer, SecondImportOfTheSamePackageIsRefused) {
    exportBook();
    Installation b;
    ASSERT_TRUE(importTask(b.s, package, b.progress).outcome.ok);
    const std::vector<std::string> files = test::filesIn(b.home.money());
    const ImportResult again = importTask(b.s, package, b.progress);
    EXPECT_FALSE(again.outcome.ok);
    EXPECT_EQ(again.outcome.message, "工资任务\"工资\"已经存在，导入失败！");
    EXPECT_EQ(test::filesIn(b.home.money()), files);
    EXPECT_EQ(b.systemRows("GZSysInfo"), 5);
}

TEST_F(TaskTransfer, ImportFailingHalfwayLeavesNothingBehind) {
    exportBook();
    Installation b;
    const std::vector<std::string> files = test::filesIn(b.home.money());
    for (const char* at : {"import:package", "import:system", "import:renamed"}) {
        setStepHook([&](std::string_view step) {
            if (step == at)
                throw DbError("injected");
        });
        const ImportResult r = importTask(b.s, package, b.progress);
        setStepHook({});
        EXPECT_FALSE(r.outcome.ok) << at;
        EXPECT_EQ(r.outcome.message.rfind("导入任务没有完成！", 0), 0u) << r.outcome.message;
        EXPECT_EQ(test::filesIn(b.home.money()), files) << at;
        EXPECT_EQ(b.systemRows("GZSysInfo"), 4) << at;
        EXPECT_EQ(b.systemRows("GZRecord"), 0) << at;
        EXPECT_TRUE(b.s.sysConn.query("Select 1 from tbSysSet where ztName='0004'").empty()) << at;
    }
    // Nothing in the way afterwards: the id is still the next one.
    EXPECT_EQ(importTask(b.s, package, b.progress).taskID, "0004");
}

TEST_F(TaskTransfer, PackagesThatAreNotOursAreRefused) {
    exportBook();
    Installation b;
    EXPECT_EQ(importTask(b.s, "", b.progress).outcome.message, "没有选择文件！");

    std::vector<std::string> bad;
    auto file = [&](const std::string& bytes) {
        bad.push_back(out.path + "/bad" + std::to_string(bad.size()) + ".ksc");
        std::ofstream(bad.back(), std::ios::binary) << bytes;
    };
    const std::string good = test::readFile(package);
    file(good.substr(0, good.size() / 2));
    file("PK\x03\x04 not really");
    const std::string db = test::unpackedDatabase(package, out.path + "/real");
    auto zip = [&](const std::vector<std::pair<std::string, std::string>>& entries) {
        bad.push_back(out.path + "/bad" + std::to_string(bad.size()) + ".ksc");
        test::rawArchive(bad.back(), entries);
    };
    zip({{"../GZ0000.MDB", db}});
    zip({{"GZ0000.MDB", "文本"}});
    zip({{"GZ0000.MDB", test::databaseWithTable("GZRecord")}}); // no task row
    // A monthly backup is no package.
    const PathResult monthly = backupMonth(a->s, "200604", out.path, a->progress);
    ASSERT_TRUE(monthly.outcome.ok);
    bad.push_back(monthly.written);
    // A package with one table of a period missing.
    {
        Connection c;
        const std::string cut = out.path + "/cut.MDB";
        std::ofstream(cut, std::ios::binary) << db;
        c.open(cut);
        c.execute("Drop Table ID0000_200603_ZZ");
        c.close();
        zip({{"GZ0000.MDB", test::readFile(cut)}});
    }
    // A package whose period records do not match its tables.
    {
        Connection c;
        const std::string odd = out.path + "/odd.MDB";
        std::ofstream(odd, std::ios::binary) << db;
        c.open(odd);
        c.execute("Update GZRecord set F_ZZ='0'");
        c.close();
        zip({{"GZ0000.MDB", test::readFile(odd)}});
    }

    const std::vector<std::string> files = test::filesIn(b.home.money());
    const int staging = test::stagingFolders();
    for (const std::string& f : bad) {
        const ImportResult r = importTask(b.s, f, b.progress);
        EXPECT_FALSE(r.outcome.ok) << f;
        EXPECT_EQ(r.outcome.message.rfind("要导入的数据不正确！", 0), 0u) << f << ": " << r.outcome.message;
    }
    EXPECT_EQ(test::filesIn(b.home.money()), files);
    EXPECT_EQ(b.systemRows("GZSysInfo"), 4);
    EXPECT_EQ(test::stagingFolders(), staging);
    EXPECT_FALSE(fs::exists(out.path + "/../GZ0000.MDB"));
}

TEST_F(TaskTransfer, FullBackupLaidOutAsANewHomeLogsInAndCalculatesTheSame) {
    Book a(1);
    a.fill();
    a.close();
    std::ofstream(a.home.path + "/BankForm0001.frm", std::ios::binary) << "格式\r\n";
    const std::vector<std::string> grid = test::recalculated(a.s, "200603");
    const std::string file = out.path + "/all.ksc";
    const PathResult r = backupAll(a.s, file, a.progress);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.outcome.message, "全库备份完毕！");

    const std::string home = out.path + "/new";
    const Outcome laid = restoreAll(file, home, a.progress);
    ASSERT_TRUE(laid.ok) << laid.message;
    EXPECT_EQ(laid.message, "全库恢复完毕！");
    EXPECT_EQ(test::readFile(home + "/BankForm0001.frm"), "格式\r\n");
    EXPECT_EQ(
        test::filesIn(home + "/KSMoney"),
        (std::vector<std::string>{"GZ0000.MDB", "GZ0001.MDB", "GZNULL.MDB", "GZNull.mdb", "KSSYS.MDB"}));
    Session s;
    test::openHome(s, home);
    test::RecordingPrompt prompt;
    ASSERT_TRUE(loginByName(s, prompt, "工资", "管理员", "pw")) << prompt.last();
    EXPECT_EQ(s.curPeriod, "200603");
    EXPECT_EQ(test::recalculated(s, "200603"), grid);
    EXPECT_EQ(test::dumpPeriod(s, "200602"), test::dumpPeriod(a.s, "200602"));

    // Never into a home that holds anything; an empty folder is fine.
    const Outcome again = restoreAll(file, home, a.progress);
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(again.message, "目标文件夹不是空文件夹，不能在其中恢复全库备份！");
    fs::create_directories(out.path + "/empty");
    EXPECT_TRUE(restoreAll(file, out.path + "/empty", a.progress).ok);
    EXPECT_EQ(restoreAll(file, out.path + "/no/such/place", a.progress).message, kWrongPath);
}

TEST_F(TaskTransfer, FullBackupRefusesForeignArchivesAndEmptyHomes) {
    Book a(0);
    a.fill();
    const PathResult monthly = backupMonth(a.s, "200602", out.path, a.progress);
    ASSERT_TRUE(monthly.outcome.ok);
    std::vector<std::string> bad = {monthly.written};
    const std::string sys = test::readFile(a.home.money() + "/KSSYS.MDB");
    auto zip = [&](const std::vector<std::pair<std::string, std::string>>& entries) {
        bad.push_back(out.path + "/bad" + std::to_string(bad.size()) + ".ksc");
        test::rawArchive(bad.back(), entries);
    };
    zip({{"KSMoney/KSSYS.MDB", sys}, {"KSMoney/../../evil", "x"}});
    zip({{"KSMoney/KSSYS.MDB", sys}, {"run.sh", "x"}});
    zip({{"KSMoney/KSSYS.MDB", "不是数据库"}});
    zip({{"KSMoney/GZ0000.MDB", sys}});
    for (const std::string& f : bad) {
        const std::string home = out.path + "/home";
        const Outcome o = restoreAll(f, home, a.progress);
        EXPECT_FALSE(o.ok) << f;
        EXPECT_EQ(o.message.rfind("全库备份文件不正确，没有恢复！", 0), 0u) << o.message;
        EXPECT_FALSE(fs::exists(home));
    }
    EXPECT_FALSE(fs::exists(out.path + "/evil"));
    // Only the archives themselves are in the output folder.
    for (const std::string& name : test::filesIn(out.path))
        EXPECT_TRUE(name.rfind("bad", 0) == 0 || name.rfind("GZ0000_", 0) == 0) << name;

    Session empty;
    test::TempHome nothing;
    initSession(empty, nothing.path);
    EXPECT_EQ(backupAll(empty, out.path + "/x.ksc", a.progress).outcome.message, "没有可以备份的数据！");
    EXPECT_EQ(backupAll(a.s, out.path + "/none/x.ksc", a.progress).outcome.message, kWrongPath);
}

} // namespace

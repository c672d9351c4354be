// Monthly backup and restore: the files written, every value brought back,
// the refusals, and that a failure or a hostile archive leaves the period
// exactly as it was.
#include "period/backup_test_support.h"

#include "core/login.h"
#include "exchange/archive.h"
#include "period/balance.h"
#include "period/clear.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>

using namespace gzgl;
using namespace gzgl::period;
using gzgl::test::Book;
namespace fs = std::filesystem;

namespace {

struct Backup : ::testing::Test {
    test::TempHome out;
    std::string folder(const std::string& name) {
        const std::string f = out.path + "/" + name;
        fs::create_directories(f);
        return f;
    }
    // Backs up the open period and logs in again.
    std::string backup(Book& b, const std::string& period = "200602") {
        const PathResult r = backupMonth(b.s, period, folder("disk"), b.progress);
        EXPECT_TRUE(r.outcome.ok) << r.outcome.message;
        EXPECT_TRUE(finishBackup(b.s).loginAgain);
        b.login();
        return out.path + "/disk/" + backupFolderName(b.s.curTaskID, period);
    }
};

TEST_F(Backup, BackupOfTask0001WritesItsFolderWithOneArchiveAndEndsTheLogin) {
    Book b(1);
    ASSERT_EQ(b.s.curTaskID, "0001");
    b.fill();
    const int stagingBefore = test::stagingFolders();
    const BackupDate date = confirmBackupDate(b.s, "2006", "2");
    ASSERT_TRUE(date.outcome.ok);
    EXPECT_EQ(date.period, "200602");
    EXPECT_EQ(b.s.pathScreenMode, kPathMonthBackup);
    const PathResult r = backupMonth(b.s, date.period, folder("disk"), b.progress);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.outcome.message, "数据备份完成！");
    EXPECT_EQ(r.outcome.title, "提示窗");
    const std::string bak = out.path + "/disk/GZ0001_200602_BAK";
    EXPECT_EQ(test::filesIn(bak), std::vector<std::string>{"GZ0001_200602.KSC"});
    EXPECT_EQ(test::stagingFolders(), stagingBefore);
    // Still logged in until the backup screen finishes.
    EXPECT_TRUE(b.s.taskOpen());
    const PathResult done = finishBackup(b.s);
    EXPECT_EQ(done.outcome.message, "数据备份完毕！");
    EXPECT_TRUE(done.loginAgain);
    EXPECT_FALSE(b.s.taskOpen());
    EXPECT_FALSE(b.s.loggedIn());

    // A second backup replaces the first: still one archive.
    b.login();
    backup(b);
    EXPECT_EQ(test::filesIn(bak), std::vector<std::string>{"GZ0001_200602.KSC"});
}

TEST_F(Backup, DateAndFolderRefusals) {
    Book b(0);
    EXPECT_EQ(openBackup(b.s).year, "2006");
    EXPECT_EQ(openBackup(b.s).month, "02");
    for (auto [y, m] : {std::pair{"", "2"}, {"2006", ""}, {"2006", "13"}, {"20o6", "1"}}) {
        const Outcome o = confirmBackupDate(b.s, y, m).outcome;
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.message, "请选择所需备份的日期!");
    }
    EXPECT_EQ(backupMonth(b.s, "200601", folder("d"), b.progress).outcome.message,
              "该任务没有2006年第01月的工资数据！");
    EXPECT_EQ(backupMonth(b.s, "200602", out.path + "/none", b.progress).outcome.message, kWrongPath);
    // A folder that cannot take a new folder: a message, nothing written.
    const PathResult proc = backupMonth(b.s, "200602", "/proc", b.progress);
    EXPECT_FALSE(proc.outcome.ok);
    EXPECT_EQ(proc.outcome.message.rfind("数据备份没有完成！", 0), 0u) << proc.outcome.message;
    EXPECT_TRUE(b.s.taskOpen());
}

TEST_F(Backup, FolderWithoutABackupOfTheTaskGivesChooseTheRightPath) {
    Book other(0);
    other.fill();
    const std::string otherBak = backup(other);
    Book b(1); // task 0001 in its own home
    const std::string before = test::dumpPeriod(b.s, "200602");
    for (const std::string& f : {folder("empty"), out.path + "/missing", otherBak, out.path + "/disk"}) {
        const PathResult r = restoreMonth(b.s, b.prompt, f, b.progress);
        EXPECT_FALSE(r.outcome.ok);
        EXPECT_EQ(r.outcome.message, "请选择正确的路径！") << f;
    }
    EXPECT_TRUE(b.prompt.messages.empty()); // nothing asked
    EXPECT_EQ(test::dumpPeriod(b.s, "200602"), before);
}

TEST_F(Backup, RestoreBringsBackEveryValueAndEndsTheLogin) {
    Book b(0);
    b.fill();
    const std::string before = test::dumpPeriod(b.s, "200602");
    const std::vector<std::string> grid = test::recalculated(b.s, "200602");
    const std::string bak = backup(b);

    b.spoil();
    ASSERT_NE(test::dumpPeriod(b.s, "200602"), before);
    b.prompt.answers = {true};
    const PathResult r = restoreMonth(b.s, b.prompt, bak, b.progress);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.outcome.message, "数据恢复完毕！");
    EXPECT_EQ(b.prompt.messages.at(0).text, "数据恢复将用备份替换2006年第02月的全部数据，确定要恢复吗？");
    EXPECT_TRUE(r.loginAgain);
    EXPECT_FALSE(b.s.taskOpen());

    b.login();
    EXPECT_EQ(test::dumpPeriod(b.s, "200602"), before);
    EXPECT_EQ(test::recalculated(b.s, "200602"), grid);
    // The open period stays open, with one record.
    EXPECT_EQ(test::records(b.s), "200602:0");
}

TEST_F(Backup, RestoreAnsweredNoChangesNothing) {
    Book b(0);
    b.fill();
    const std::string bak = backup(b);
    b.spoil();
    const std::string spoilt = test::dumpPeriod(b.s, "200602");
    const PathResult r = restoreMonth(b.s, b.prompt, bak, b.progress);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_TRUE(r.outcome.message.empty());
    EXPECT_TRUE(b.s.loggedIn());
    EXPECT_EQ(test::dumpPeriod(b.s, "200602"), spoilt);
}

TEST_F(Backup, RestoreFailingHalfwayLeavesThePeriodAsBefore) {
    Book b(0);
    b.fill();
    const std::string bak = backup(b);
    b.spoil();
    const std::string spoilt = test::dumpPeriod(b.s, "200602");
    for (const char* at : {"restore:tables", "restore:data"}) {
        setStepHook([&](std::string_view step) {
            if (step == at)
                throw DbError("injected");
        });
        b.prompt.answers = {true};
        const PathResult r = restoreMonth(b.s, b.prompt, bak, b.progress);
        setStepHook({});
        EXPECT_FALSE(r.outcome.ok) << at;
        EXPECT_EQ(r.outcome.message.rfind("数据恢复没有完成，数据没有改变！", 0), 0u) << r.outcome.message;
        EXPECT_TRUE(b.s.loggedIn());
        EXPECT_EQ(test::dumpPeriod(b.s, "200602"), spoilt) << at;
        EXPECT_EQ(test::records(b.s), "200602:0");
    }
}

TEST_F(Backup, ClearedPeriodComesBackClosedAndLaterPeriodsAreRefused) {
    Book b(0);
    b.fill();
    b.close();
    b.close(); // 200602, 200603 closed; 200604 open
    const std::string before = test::dumpPeriod(b.s, "200603");
    const std::string bak = backup(b, "200603");
    ASSERT_TRUE(clearPeriod(b.s, "2006", "3").ok);
    ASSERT_EQ(test::records(b.s), "200602:1 200604:0");

    b.prompt.answers = {true};
    const PathResult back = restoreMonth(b.s, b.prompt, bak, b.progress);
    ASSERT_TRUE(back.outcome.ok) << back.outcome.message;
    b.login();
    EXPECT_EQ(test::records(b.s), "200602:1 200603:1 200604:0");
    EXPECT_TRUE(tableSetComplete(b.s.taskConn, "0000", "200603"));
    EXPECT_EQ(test::dumpPeriod(b.s, "200603"), before);
    EXPECT_EQ(b.s.curPeriod, "200604");

    // Back to 200602: the backup of 200603 now lies after the open period.
    b.prompt.answers = {true};
    ASSERT_TRUE(restorePeriod(b.s, b.prompt, "2006年02月").ok);
    b.prompt.answers = {true};
    const PathResult late = restoreMonth(b.s, b.prompt, bak, b.progress);
    EXPECT_FALSE(late.outcome.ok);
    EXPECT_EQ(late.outcome.message, "备份的2006年第03月数据不在本任务的期间之内，数据没有恢复！");
    EXPECT_EQ(test::records(b.s), "200602:0");
}

// Records what the main window's status line would show.
struct StatusProgress : Progress {
    std::vector<std::string> shown;
    void begin(const std::string& status, int) override { shown.push_back(status); }
    void step() override {}
    void end() override {}
};

TEST_F(Backup, FolderScreenModesRunTheirOperationWithTheirStatus) {
    Book b(0);
    b.fill();
    StatusProgress status;
    const std::string disk = folder("disk");
    PathResult r = confirmPath(b.s, b.prompt, {kPathMonthBackup, disk, "200602", ""}, status);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.written, disk + "/GZ0000_200602_BAK/GZ0000_200602.KSC");
    finishBackup(b.s);
    b.login();
    r = confirmPath(b.s, b.prompt, {kPathTaskExport, disk, "", "20070102"}, status);
    EXPECT_EQ(r.written, disk + "/GZ_0000_20070102.ksc");
    r = confirmPath(b.s, b.prompt, {kPathFullBackup, disk, "", "20070102"}, status);
    EXPECT_EQ(r.written, disk + "/GZALL_20070102.KSC");
    b.prompt.answers = {true};
    r = confirmPath(b.s, b.prompt, {kPathRestore, disk + "/GZ0000_200602_BAK", "", ""}, status);
    EXPECT_TRUE(r.loginAgain);
    EXPECT_EQ(status.shown, (std::vector<std::string>{"正在进行备份...", "正在进行压缩...", "正在进行备份...",
                                                      "正在进行恢复..."}));
    // The accounting link's modes are not served here.
    EXPECT_TRUE(confirmPath(b.s, b.prompt, {4, disk, "", ""}, status).outcome.message.empty());
    // After the restore the next task choice asks for the login again.
    EXPECT_EQ(b.s.pathScreenMode, 0);
}

// Writes archive bytes as the task's backup in a fresh folder.
std::string hostileFolder(const std::string& root, int n, const std::string& zipPath) {
    const std::string f = root + "/hostile" + std::to_string(n);
    fs::create_directories(f);
    fs::copy_file(zipPath, f + "/GZ0000_200602.KSC");
    return f;
}

TEST_F(Backup, HostileArchivesAreRefusedAndChangeNothing) {
    Book b(0);
    b.fill();
    const std::string bak = backup(b);
    const std::string good = test::readFile(bak + "/GZ0000_200602.KSC");
    b.spoil();
    const std::string spoilt = test::dumpPeriod(b.s, "200602");

    std::vector<std::string> zips;
    auto add = [&](const std::string& bytes) {
        zips.push_back(out.path + "/z" + std::to_string(zips.size()));
        std::ofstream(zips.back(), std::ios::binary) << bytes;
    };
    auto raw = [&](const std::vector<std::pair<std::string, std::string>>& entries) {
        zips.push_back(out.path + "/z" + std::to_string(zips.size()));
        test::rawArchive(zips.back(), entries);
    };
    // The real database under names that leave the folder.
    const std::string db = test::unpackedDatabase(bak + "/GZ0000_200602.KSC", out.path + "/real");
    raw({{"../GZ0000_200602.MDB", db}});
    raw({{"/tmp/GZ0000_evil.MDB", db}});
    std::string damaged = good;
    for (std::size_t i = good.size() / 3; i < good.size() / 3 + 8; ++i)
        damaged[i] = static_cast<char>(~damaged[i]);
    add(damaged);
    add(good.substr(0, good.size() * 2 / 3));
    raw({{"GZ0000_200602.MDB", "这不是数据库"}});
    raw({{"GZ0000_200602.MDB", db}, {"GZ0000_200603.MDB", db}});
    raw({{"GZ0000_200602.MDB", std::string(64u << 20, '\0')}});
    raw({{"GZ0000_200602.MDB", test::databaseWithTable("ID0001_200602_Data")}}); // another task's
    raw({{"GZ0000_200602.MDB", test::databaseWithTable("Other")}});

    const int stagingBefore = test::stagingFolders();
    for (std::size_t i = 0; i < zips.size(); ++i) {
        const std::string f = hostileFolder(out.path, static_cast<int>(i), zips[i]);
        b.prompt.clear();
        b.prompt.answers = {true};
        const PathResult r = restoreMonth(b.s, b.prompt, f, b.progress);
        EXPECT_FALSE(r.outcome.ok) << i;
        EXPECT_EQ(r.outcome.message.rfind("备份文件不正确，数据没有恢复！", 0), 0u) << i << r.outcome.message;
        EXPECT_TRUE(b.prompt.messages.empty()) << i; // refused before the question
        EXPECT_TRUE(b.s.loggedIn());
        EXPECT_EQ(test::dumpPeriod(b.s, "200602"), spoilt) << i;
        EXPECT_EQ(test::filesIn(f), std::vector<std::string>{"GZ0000_200602.KSC"}) << i;
    }
    EXPECT_FALSE(fs::exists(out.path + "/GZ0000_200602.MDB"));
    EXPECT_FALSE(fs::exists("/tmp/GZ0000_evil.MDB"));
    EXPECT_EQ(test::stagingFolders(), stagingBefore);
}

TEST_F(Backup, FullDiskLeavesNoHalfArchive) {
    Book b(0);
    b.fill();
    const std::string disk = folder("disk");
    // A folder in the way of the archive's name: the rename fails last.
    const std::string bak = disk + "/GZ0000_200602_BAK";
    fs::create_directories(bak + "/GZ0000_200602.KSC");
    PathResult r = backupMonth(b.s, "200602", disk, b.progress);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.message.rfind("数据备份没有完成！", 0), 0u);
    EXPECT_EQ(test::filesIn(bak), std::vector<std::string>{"GZ0000_200602.KSC"}); // only the folder
    fs::remove(bak + "/GZ0000_200602.KSC");

    // Files may grow to 4 KiB only: a full disk at the first write.
    signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    r = backupMonth(b.s, "200602", disk, b.progress);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.message.rfind("数据备份没有完成！", 0), 0u) << r.outcome.message;
    EXPECT_TRUE(test::filesIn(bak).empty());
    EXPECT_TRUE(b.s.loggedIn());
}

} // namespace

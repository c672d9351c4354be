// The storage layer: bound values, transactions, schema lookups, bad files.
#include "core/connection.h"
#include "core/paths.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

using namespace gzgl;

namespace {
struct Db : ::testing::Test {
    test::TempHome home;
    Connection c;
    void SetUp() override {
        createEmptyDatabase(home.path + "/t.db");
        c.open(home.path + "/t.db");
        c.execute("create table t(a varchar(10) COLLATE NOCASE, b double, n INTEGER)");
    }
};
} // namespace

TEST_F(Db, TextWithQuotesAndSemicolonsIsStoredExactly) {
    const std::string evil = "x'; drop table t; --";
    c.execute("insert into t values(?,?,?)", {evil, 1.5, nullptr});
    const Recordset rs = c.query("select a,b,n from t where a=?", {evil});
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_EQ(rs.at(0, "A").toString(), evil); // field names are found in any case
    EXPECT_DOUBLE_EQ(rs.at(0, "b").toDouble(), 1.5);
    EXPECT_TRUE(rs.at(0, "n").isNull());
    EXPECT_TRUE(c.hasTable("t"));
}

TEST_F(Db, TextComparisonsIgnoreCase) {
    c.execute("insert into t values(?,?,?)", {"Abc", 0.0, 1});
    EXPECT_EQ(c.query("select * from t where a=?", {"aBC"}).size(), 1u);
}

TEST_F(Db, UncommittedTransactionRollsBack) {
    {
        Transaction t(c);
        c.execute("insert into t values('a',1,1)");
    }
    EXPECT_EQ(c.scalar("select count(*) from t").toInt(), 0);
    {
        Transaction t(c);
        c.execute("insert into t values('a',1,1)");
        t.commit();
    }
    EXPECT_EQ(c.scalar("select count(*) from t").toInt(), 1);
}

TEST_F(Db, WrongParameterCountIsAnErrorNotAGuess) {
    EXPECT_THROW(c.execute("insert into t values(?,?,?)", {"a"}), DbError);
    EXPECT_THROW(c.query("select * from nosuch"), DbError);
}

TEST_F(Db, ColumnsAndAttach) {
    EXPECT_EQ(c.columns("t"), (std::vector<std::string>{"a", "b", "n"}));
    createEmptyDatabase(home.path + "/u.db");
    c.attach(home.path + "/u.db", "other");
    c.execute("create table other.x(k)");
    EXPECT_TRUE(c.hasTable("x", "other"));
    EXPECT_FALSE(c.hasTable("x"));
    EXPECT_THROW(c.tables("o; drop table t"), DbError);
}

TEST(Storage, DamagedOrMissingFileIsRefusedAndLeftAsItWas) {
    test::TempHome home;
    const std::string bad = home.path + "/bad.MDB";
    {
        std::ofstream(bad) << "this is not a database file at all, just some text to fill a header";
    }
    Connection c;
    EXPECT_THROW(c.open(bad), DbError);
    EXPECT_FALSE(c.isOpen());
    std::ifstream in(bad);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content.substr(0, 11), "this is not");
    EXPECT_THROW(c.open(home.path + "/missing.MDB"), DbError);
    EXPECT_FALSE(std::filesystem::exists(home.path + "/missing.MDB"));
}

TEST(Storage, FileNamesAreFoundInAnyCase) {
    test::TempHome home;
    std::ofstream(home.path + "/GZ0001.mdb") << "";
    EXPECT_EQ(findFileNoCase(home.path, "GZ0001.MDB"), home.path + "/GZ0001.mdb");
    EXPECT_TRUE(fileExistsNoCase(home.path, "gz0001.MDB"));
    EXPECT_EQ(findFileNoCase(home.path, "GZ0002.MDB"), home.path + "/GZ0002.MDB");
}

TEST(Storage, DataHomeComesFromArgumentThenEnvironment) {
    EXPECT_EQ(resolveDataHome(" /tmp/x/ "), "/tmp/x");
    setenv("GZGL_HOME", "/tmp/from-env", 1);
    EXPECT_EQ(resolveDataHome(""), "/tmp/from-env");
    unsetenv("GZGL_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string saved = oldHome ? oldHome : "";
    setenv("HOME", "/home/clerk", 1);
    EXPECT_EQ(resolveDataHome(""), "/home/clerk/.local/share/gzgl");
    setenv("HOME", saved.c_str(), 1);
}

// What a clerk can act on is said in Chinese first, SQLite's words after.
TEST_F(Db, FullDiskReadOnlyAndDamagedFilesAreExplained) {
    auto message = [&](const std::function<void()>& f) {
        try {
            f();
        } catch (const DbError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    c.execute("PRAGMA max_page_count = 3");
    const std::string full = message([&] {
        for (int i = 0; i < 200; ++i)
            c.execute("insert into t values(?,?,?)", {std::string(4000, 'x'), 1.0, i});
    });
    EXPECT_EQ(full.rfind("磁盘空间不足，数据没有写入。\n", 0), 0u) << full;
    c.execute("PRAGMA query_only = 1");
    const std::string readOnly = message([&] { c.execute("insert into t values('a',1,1)"); });
    EXPECT_EQ(readOnly.rfind("数据文件只读", 0), 0u) << readOnly;
    // A statement's own mistakes keep SQLite's words alone.
    const std::string plain = message([&] { c.query("select nosuch from t"); });
    EXPECT_EQ(plain.rfind("no such column", 0), 0u) << plain;

    const std::string bad = home.path + "/bad.MDB";
    std::ofstream(bad) << std::string(200, 'z');
    Connection other;
    const std::string damaged = message([&] { other.open(bad); });
    EXPECT_EQ(damaged.rfind("数据文件已损坏", 0), 0u) << damaged;
    const std::string missing = message([&] { other.open(home.path + "/none/x.MDB"); });
    EXPECT_EQ(missing.rfind("不能打开数据文件", 0), 0u) << missing;
}

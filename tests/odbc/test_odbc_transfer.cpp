// The network form against a real PostgreSQL server with the psqlODBC
// driver. ctest runs this program through tests/support/pg_server.sh, which
// starts one private server for all of it (GZGL_TEST_ODBC holds the
// connection text, GZGL_TEST_ODBC_PASSWORD the password) and stops it
// afterwards. Without a server every test fails: it never passes unseen.
#include "accounting/odbc.h"
#include "accounting/odbc_store.h"
#include "accounting/voucher_fixture.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace gzgl::test {

using namespace gzgl::accounting;

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// One line as both forms write it, the marks read as debit or credit.
struct Written {
    std::string number, summary, account;
    bool debit;
    std::string amount, page, line;
    bool operator==(const Written&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Written& w) {
    return o << w.number << ' ' << w.account << (w.debit ? " 借 " : " 贷 ") << w.amount << ' ' << w.page
             << '/' << w.line << ' ' << w.summary;
}

// A payroll task of 2006-02 linked to the demo set ID0001 of the catalog
// KS770CW, laid out afresh for each test.
struct OdbcTask : VoucherTask {
    NetworkLink link;
    std::string password;
    odbc::Connection server; // looks at the catalog behind the program's back

    void SetUp() override {
        ASSERT_FALSE(env("GZGL_TEST_ODBC").empty())
            << "没有数据库服务器：请经 tests/support/pg_server.sh run -- 运行本程序";
        VoucherTask::SetUp(); // the single-user demo and link, for comparison
        link = {"KS770CW", env("GZGL_TEST_ODBC")};
        password = env("GZGL_TEST_ODBC_PASSWORD");
        server.open(driverConnectionText(link, password));
        server.execute("Drop Table If Exists ZTXX");
        for (const char* id : {"ID0001", "ID0002"})
            for (const char* t : {"_XTSZ", "_YE", "_YHGL", "_PZGL_M", "_PZGL_D"})
                server.execute(std::string("Drop Table If Exists ") + id + t);
        layoutDemoNetworkAccounting(link, password, {t.s.curOperName}, {2006, 2});
    }

    // Links the task to the catalog's set and opens it as the transfer does.
    void linkNetwork(const std::string& setName = "演示公司") {
        LinkFields f;
        f.choice = LinkChoice::Network;
        f.server = link.connection;
        f.password = password;
        f.setName = setName;
        const Outcome o = confirmLink(t.s, f, kLinkChangePath);
        ASSERT_TRUE(o.ok) << o.message;
        store = openLinkedStore(t.s, password);
    }

    long long serverCount(const std::string& table) {
        return std::stoll(*server.query("Select count(*) from ID0001" + table)[0][0]);
    }

    std::vector<Written> serverLines() {
        std::vector<Written> out;
        for (const odbc::Row& r : server.query(
                 "Select PZH,ZY,KMDM,JDBZ,JE,PZFYH,PZFYXH from ID0001_PZGL_D order by PZH,PZFYH,PZFYXH"))
            out.push_back({*r[0], *r[1], *r[2], *r[3] == "0", *r[4], *r[5], *r[6]});
        return out;
    }

    std::vector<Written> singleUserLines() {
        std::vector<Written> out;
        const Recordset rs = set.query("Select PZH,ZY,KMDM,JDBZ,printf('%.2f',JE),PZFYH,PZFYXH from "
                                       "ID0001_PZGL_D order by PZH,PZFYH,PZFYXH");
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const auto& r = rs.row(i);
            out.push_back({r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString() == "J",
                           r[4].toString(), r[5].toString(), r[6].toString()});
        }
        return out;
    }
};

} // namespace

TEST_F(OdbcTask, SameTransferWritesTheSameVouchersAsTheSingleUserForm) {
    // Two vouchers, a united line and a second transfer numbered after the
    // first, through the single-user folder first.
    const std::vector<TransferRule> rules = {rule("0101", "F003,F004"), rule("0102", "F003", "500101"),
                                             rule("02", "F000", "660101", "221101", "7")};
    t.prompt.answers = {true};
    ASSERT_EQ(run(rules).message, kTransferred);
    ASSERT_EQ(run(rules, true).message, kTransferred);
    const std::vector<Written> expected = singleUserLines();
    ASSERT_EQ(expected.size(), 11u);

    Session& s = t.s;
    s.sysConn.execute("Update GZSysInfo set F_ZZ=0 where F_ID=?", {s.curTaskID});
    linkNetwork();
    EXPECT_EQ(s.linkedSetPath, "odbc:KS770CW:" + link.connection);
    t.prompt.answers = {true};
    ASSERT_EQ(run(rules).message, kTransferred);
    ASSERT_EQ(run(rules, true).message, kTransferred);
    EXPECT_EQ(serverLines(), expected);
    EXPECT_TRUE(transferred());

    // The network form's own marks: undotted date and the accounting item
    // of the rule's department.
    const auto headers = server.query("Select PZH,PZRQ,KJN,KJY,ZZR,PZZT from ID0001_PZGL_M order by PZH");
    ASSERT_EQ(headers.size(), 4u);
    EXPECT_EQ(headers[3], (odbc::Row{"4", "20060228", "2006", "2", s.curOperName, "0"}));
    const auto items = server.query("Select distinct HSXM from ID0001_PZGL_D where KMDM='500101'");
    EXPECT_EQ(items, (std::vector<odbc::Row>{{"001:0102"}}));
}

TEST_F(OdbcTask, FailureAfterTheFirstLineLeavesTheServersSetAndTheMarkUnchanged) {
    linkNetwork();
    server.execute(
        "Insert Into ID0001_PZGL_M(PZH,PZRQ,KJN,KJY,YSPZZS,ZZR,PZZT) values(3,'20060203',2006,2,0,'x','0')");
    // The server takes the first line of the transfer and refuses the second.
    server.execute("Alter Table ID0001_PZGL_D Add Constraint one_line_only Check (PZFYXH < 2)");
    const Outcome o = run({rule("01", "F003"), rule("02", "F003", "660101", "221101", "2")});
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.message.find("凭证写入失败，财务数据未作改动"), std::string::npos) << o.message;
    EXPECT_EQ(serverCount("_PZGL_D"), 0);
    EXPECT_EQ(serverCount("_PZGL_M"), 1);
    EXPECT_FALSE(transferred());

    // The same connection goes on working after the rollback.
    server.execute("Alter Table ID0001_PZGL_D Drop Constraint one_line_only");
    EXPECT_EQ(run({rule("01", "F003")}).message, kTransferred);
    EXPECT_EQ(serverCount("_PZGL_D"), 2);
    EXPECT_EQ(*server.query("Select max(PZH) from ID0001_PZGL_M")[0][0], "4");
}

TEST_F(OdbcTask, SummaryWithQuotesIsWrittenAsTyped) {
    linkNetwork();
    TransferRule r = rule("02", "F003");
    r.summary = "计提'工资\" -- 2月');Drop Table ID0001_PZGL_M;--";
    // A rule over two departments has no accounting item: an empty text.
    TransferRule both = rule("0101,0102", "F003", "660201", "221101", "2");
    ASSERT_TRUE(run({r, both}).ok);
    EXPECT_EQ(server.query("Select distinct ZY,HSXM from ID0001_PZGL_D where PZH=1"),
              (std::vector<odbc::Row>{{r.summary, "001:02"}}));
    EXPECT_EQ(server.query("Select distinct HSXM from ID0001_PZGL_D where PZH=2"),
              (std::vector<odbc::Row>{{""}}));
    EXPECT_EQ(serverCount("_PZGL_M"), 2);
}

TEST_F(OdbcTask, RefusalsOfTheServerAreClear) {
    const auto refusal = [&](const NetworkLink& l, const std::string& pw, const std::string& id = "ID0001") {
        try {
            openNetworkStore(l, pw, id);
        } catch (const AccountingError& e) {
            return std::string(e.what());
        }
        return std::string("opened");
    };
    EXPECT_EQ(refusal(link, "wrong"), "财务数据库服务器拒绝了登录名或口令！");
    EXPECT_EQ(refusal(link, ""), "财务数据库服务器拒绝了登录名或口令！");
    EXPECT_EQ(refusal({"KS770ZW", link.connection}, password),
              "财务数据库KS770ZW不存在，请检查财务软件的产品名称！");
    EXPECT_EQ(refusal(link, password, "ID0009"), kWrongSetMessage);
    EXPECT_EQ(refusal(link, password, "ID0001' or '1'='1"), kWrongSetMessage);
    EXPECT_NE(refusal({"KS770CW", "Driver=/nowhere/psqlodbcw.so;Server=localhost"}, password)
                  .find("没有找到ODBC数据源或驱动程序"),
              std::string::npos);
    EXPECT_NE(refusal({"KS770CW", "DSN=no_such_source"}, password).find("没有找到ODBC数据源或驱动程序"),
              std::string::npos);
    // A server folder without a server answers at once, no hang.
    std::string gone = link.connection;
    gone.replace(gone.find("Server=") + 7, 0, "/nonexistent");
    EXPECT_NE(refusal({"KS770CW", gone}, password).find("不能连接财务数据库服务器"), std::string::npos);

    server.execute("Drop Table ID0002_PZGL_D");
    EXPECT_EQ(refusal(link, password, "ID0002"), "财务数据库KS770CW中没有数据表ID0002_PZGL_D！");
    server.execute("Drop Table ZTXX");
    EXPECT_EQ(refusal(link, password), "财务数据库KS770CW中没有核算单位表ZTXX！");
}

TEST_F(OdbcTask, SilentServerEndsInTheTimeoutNotAHang) {
    // A loopback port that takes connections and never answers them.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(addr);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&addr), size), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &size), 0);
    const std::string driver = link.connection.substr(0, link.connection.find(';'));
    const std::string text = driver + ";Server=127.0.0.1;Port=" + std::to_string(ntohs(addr.sin_port)) +
                             ";UID=postgres;Database=KS770CW;PWD=" + password;

    const auto start = std::chrono::steady_clock::now();
    odbc::Connection c;
    EXPECT_THROW(c.open(text, 2), odbc::Error);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 6);
    close(listener);
}

TEST_F(OdbcTask, LinkScreenAndRechoiceOnTheServer) {
    Session& s = t.s;
    LinkFields f;
    f.choice = LinkChoice::Network;
    f.server = link.connection;
    f.password = "wrong";
    f.setName = "演示分公司";
    const Outcome refused = confirmLink(s, f, kLinkChangePath);
    EXPECT_EQ(refused.message, "请填入正确的服务器信息！\n财务数据库服务器拒绝了登录名或口令！");
    EXPECT_EQ(refused.focus, "txtServer");
    f.password = password;
    f.setName = "";
    EXPECT_EQ(confirmLink(s, f, kLinkChangePath).message, "请选择核算单位！");
    f.setName = "别家";
    EXPECT_EQ(confirmLink(s, f, kLinkChangePath).message, kWrongSetMessage);
    EXPECT_EQ(networkAccountingSets(f), (std::vector<std::string>{"演示公司", "演示分公司"}));
    f.setName = "演示分公司";
    ASSERT_TRUE(confirmLink(s, f, kLinkChangePath).ok);
    const Recordset row =
        s.sysConn.query("Select F_ZTID,F_ZTPATH from GZSysInfo where F_ID=?", {s.curTaskID});
    EXPECT_EQ(row.row(0)[0].toString(), "ID0002");
    EXPECT_EQ(row.row(0)[1].toString(), "odbc:KS770CW:" + link.connection); // no password kept

    EXPECT_EQ(connectEntries(s.linkedSetPath, password),
              (std::vector<std::string>{"演示公司   ID0001", "演示分公司   ID0002"}));
    EXPECT_TRUE(connectEntries(s.linkedSetPath, "wrong").empty());
    EXPECT_EQ(confirmConnect(s, "别家   ID0009", password).message, kWrongSetMessage);
    ASSERT_TRUE(confirmConnect(s, "演示公司   ID0001", password).ok);
    EXPECT_EQ(openLinkedStore(s, password)->setID(), "ID0001");
    EXPECT_EQ(openLinkedStore(s, password)->currentPeriod(), (YearMonth{2006, 2}));
}

} // namespace gzgl::test

// Month-end, restore and clearing: the new month's values, the period
// bookkeeping in both databases, and that a refusal, a failure or a stop
// leaves the task exactly as it was.
#include "calc/recalc.h"
#include "core/numtext.h"
#include "core/startup.h"
#include "core/text.h"
#include "monthly/workgrid_load.h"
#include "period/balance.h"
#include "period/clear.h"
#include "period/periods.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace gzgl;
using namespace gzgl::period;

namespace {

struct Period : ::testing::Test {
    std::unique_ptr<test::PayrollTask> t;
    SilentProgress progress;

    void make(int mode = 0, const std::string& year = "2006", const std::string& month = "12") {
        t = std::make_unique<test::PayrollTask>(mode, year, month);
        t->item("F004", "津贴");
        t->employee("0001", "张三");
        t->employee("0002", "李四");
        t->value("0001", "F003", 1234.56);
        t->value("0002", "F003", 999.99);
        t->formula("F000", "F003+F004");
    }
    Session& s() { return t->s; }
    Outcome close() {
        const BalanceStart start = openBalance(s());
        return closeMonth(s(), start.year, start.month, progress);
    }
    std::string sysField(const char* field) {
        return s()
            .sysConn.scalar(std::string("Select ") + field + " from GZSysInfo where F_ID=?", {s().curTaskID})
            .toString();
    }
    std::string data(const std::string& period, const char* code, const char* emp) {
        return s()
            .taskConn
            .scalar("Select " + std::string(code) + " from " +
                        periodTable(makeTaskPrefix("0000", period), "Data") + " where F_EmpNo=?",
                    {emp})
            .toString();
    }
    // Every table's definition and rows of the task database, as text.
    std::string snapshot() {
        std::string out;
        const Recordset tables = s().taskConn.query(
            "Select type,name,sql from sqlite_master where name not like 'sqlite_%' order by name");
        for (std::size_t i = 0; i < tables.size(); ++i) {
            out += tables.row(i)[0].toString() + " " + tables.row(i)[2].toString() + "\n";
            if (tables.row(i)[0].toString() != "table")
                continue;
            const Recordset rows =
                s().taskConn.query("Select * from " + tables.row(i)[1].toString() + " order by 1");
            for (std::size_t r = 0; r < rows.size(); ++r) {
                for (const Value& v : rows.row(r))
                    out += (v.isNull() ? "<null>" : v.toString()) + "|";
                out += "\n";
            }
        }
        return out;
    }
};

} // namespace

TEST_F(Period, ProposesTheNextMonthAcrossTheYearEnd) {
    make(0, "2006", "12");
    BalanceStart b = openBalance(s());
    EXPECT_EQ(b.year + b.month, "200701");
    EXPECT_EQ(nextPeriod("200605"), "200606");
    EXPECT_EQ(nextPeriod("200612"), "200701");
}

TEST_F(Period, RefusedCloseChangesNothing) {
    make();
    const std::string before = snapshot();
    const std::pair<std::pair<const char*, const char*>, const char*> cases[] = {
        {{"", "1"}, "年不能为空！"},     {{"2007", " "}, "月不能为空！"},  {{"2007", "13"}, "时间不正确！"},
        {{"20x7", "1"}, "时间不正确！"}, {{"2006", "12"}, "时间不正确！"}, {{"2006", "11"}, "时间不正确！"},
    };
    for (const auto& [input, message] : cases) {
        const Outcome o = closeMonth(s(), input.first, input.second, progress);
        EXPECT_EQ(o.message, message) << input.first << "-" << input.second;
        EXPECT_EQ(o.focus, "txtYear");
        EXPECT_EQ(o.icon, Icon::Information);
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(s().curPeriod, "200612");
}

TEST_F(Period, CloseKeepsTheBookkeepingOfBothDatabases) {
    make();
    s().sysConn.execute("Update GZSysInfo set F_ZZ=1");
    const Outcome o = close();
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_EQ(o.message, kClosed);
    EXPECT_EQ(s().curPeriod, "200701");
    EXPECT_EQ(s().shell.periodPanel, "2007年第01月");
    EXPECT_EQ(sysField("F_DQRQ"), "200701");
    EXPECT_EQ(readNumber(sysField("F_ZZ")), 0);
    const std::vector<PeriodRow> rows = listPeriods(s());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].closed && rows[0].complete);
    EXPECT_EQ(rows[1].period, "200701");
    EXPECT_FALSE(rows[1].closed);
    EXPECT_TRUE(rows[1].complete);
    // Each copy keeps its definition: case-insensitive text and its index.
    const std::string sql =
        s().taskConn.scalar("Select sql from sqlite_master where name='ID0000_200701_Employee'").toString();
    EXPECT_NE(sql.find("NOCASE"), std::string::npos) << sql;
    EXPECT_FALSE(
        s().taskConn.query("Select 1 from sqlite_master where name='IX_ID0000_200701_Employee'").empty());
}

TEST_F(Period, CarriedRemainderEqualsTheRecalculatedOneInEveryMode) {
    std::mt19937 random(7);
    for (int mode = 0; mode <= 7; ++mode) {
        make(mode);
        for (const char* emp : {"0001", "0002"}) {
            t->value(emp, "F003", std::uniform_int_distribution<int>(0, 9999999)(random) / 100.0);
            t->value(emp, "FFFF", 3.21);
        }
        calc::WorkGrid grid = monthly::loadWorkGrid(s(), {}, false).grid;
        calc::RecalculateGrid(s(), grid, {mode, false}, progress);
        const int fffd = grid.columnOf("FFFD");
        ASSERT_TRUE(close().ok) << mode;
        for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r) {
            const double carried = readNumber(data("200701", "FFFF", grid.cell(r, 0).c_str()));
            // Without rounding the old FFFF is simply copied.
            const double want = mode == 0 ? 3.21 : readNumber(grid.cell(r, fffd));
            EXPECT_NEAR(carried, want, 0.001) << "mode " << mode << " row " << r;
        }
    }
}

TEST_F(Period, FixedValueItemsAndDateItemsOfTheNewMonth) {
    make();
    t->item("F005", "房补");
    t->item("F006", "交通");
    t->item("F007", "车补");
    t->item("F008", "发放月", "日期", 0);
    t->item("F009", "核算月", "日期", 0);
    s().taskConn.execute("Update " + t->table("Item") +
                         " set F_Change=1, F_ChgValue=150 where F_Code='F005'");
    s().taskConn.execute("Update " + t->table("Item") +
                         " set F_Change=1, F_ChgValue=Null where F_Code='F006'");
    s().taskConn.execute("Update " + t->table("Item") + " set F_Change=1, F_ChgValue=70 where F_Code='F007'");
    t->formula("F007", "F003*0.01");
    t->value("0001", "F006", 9);
    t->value("0001", "F007", 12.5);
    ASSERT_TRUE(close().ok);
    EXPECT_DOUBLE_EQ(readNumber(data("200701", "F005", "0001")), 150);
    EXPECT_EQ(data("200701", "F006", "0001"), "0");                     // a Null value gives 0
    EXPECT_DOUBLE_EQ(readNumber(data("200701", "F007", "0001")), 12.5); // has a formula: kept
    for (const char* code : {"F008", "F009"})
        EXPECT_EQ(data("200701", code, "0002"), "2007年01月") << code;
}

TEST_F(Period, CloseMeetingLeftoverTablesChangesNothing) {
    make();
    openBalance(s());
    s().taskConn.execute("Create table ID0000_200701_Data(x)");
    const std::string before = snapshot();
    const Outcome o = closeMonth(s(), "2007", "1", progress);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message.rfind(kNotClosed, 0), 0u) << o.message;
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(sysField("F_DQRQ"), "200612");
    EXPECT_EQ(s().curPeriod, "200612");
}

TEST_F(Period, StopDuringTheCloseRollsEverythingBack) {
    make(3);
    openBalance(s());
    const std::string before = snapshot();
    for (int stopAt : {1, 5, 13, 14, 15}) {
        int asked = 0;
        const Outcome o = closeMonth(s(), "2007", "1", progress, [&] { return ++asked == stopAt; });
        EXPECT_EQ(o.message, kStopped) << stopAt;
        EXPECT_EQ(snapshot(), before) << stopAt;
        EXPECT_EQ(sysField("F_DQRQ"), "200612");
    }
}

TEST_F(Period, CloseThenRestoreLeavesTheTaskAsBefore) {
    make(3);
    openBalance(s());
    const std::string before = snapshot();
    ASSERT_TRUE(closeMonth(s(), "2007", "1", progress).ok);
    ASSERT_TRUE(close().ok);
    EXPECT_EQ(restoreChoices(s()), (std::vector<std::string>{"2006年12月", "2007年01月"}));

    t->prompt.answers = {false};
    EXPECT_FALSE(restorePeriod(s(), t->prompt, "2006年12月").ok);
    EXPECT_EQ(s().curPeriod, "200702");
    EXPECT_EQ(restorePeriod(s(), t->prompt, "").message, "请选择需要恢复的时间！");

    t->prompt.answers = {true};
    const Outcome o = restorePeriod(s(), t->prompt, "2006年12月");
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_EQ(o.message, "环境恢复完毕！");
    EXPECT_EQ(s().curPeriod, "200612");
    EXPECT_EQ(sysField("F_DQRQ"), "200612");
    EXPECT_EQ(snapshot(), before); // two sets and two records gone
}

TEST_F(Period, ClearingDropsTheEarliestAndGivesTheSpaceBack) {
    make();
    for (int i = 0; i < 300; ++i)
        t->employee(zeroPad(i + 10, 4), "员工" + std::to_string(i));
    ASSERT_TRUE(close().ok);
    ClearStart start = openClear(s());
    ASSERT_TRUE(start.any);
    EXPECT_EQ(start.year + "-" + start.month, "2006-12");
    const std::string file = s().taskDbPath(s().curTaskID);
    const auto sizeBefore = std::filesystem::file_size(file);

    EXPECT_EQ(clearPeriod(s(), "2007", "1").message, "当前月份的数据不能清除");
    EXPECT_EQ(clearPeriod(s(), "2006", "5").message, "2006年第05月没有可以清除的完整数据！");
    // A set missing one table is refused whole: nothing is dropped.
    s().taskConn.execute("Create table ID0000_200611_Data(x)");
    s().taskConn.execute("Insert into GZRecord values('0000','200611','1')");
    EXPECT_FALSE(clearPeriod(s(), "2006", "11").ok);
    EXPECT_TRUE(s().taskConn.hasTable("ID0000_200611_Data"));
    s().taskConn.execute("Drop table ID0000_200611_Data");
    s().taskConn.execute("Delete from GZRecord where F_Time='200611'");

    const Outcome o = clearPeriod(s(), "2006", "12");
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_FALSE(tableSetComplete(s().taskConn, "0000", "200612"));
    EXPECT_FALSE(s().taskConn.hasTable("ID0000_200612_Item"));
    EXPECT_EQ(listPeriods(s()).size(), 1u);
    EXPECT_LT(std::filesystem::file_size(file), sizeBefore * 3 / 4);
    start = openClear(s());
    EXPECT_EQ(start.year + "-" + start.month, "2007-1");
}

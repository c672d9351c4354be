// The month range of reports and queries: the checks against the task's
// start and current period, the swap, and months whose tables are gone.
#include "reports/months.h"

#include "core/progress.h"
#include "period/balance.h"
#include "period/periods.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

using namespace gzgl;
using namespace gzgl::reports;

namespace {
// A task started in 2006-02 and closed twice: 200602..200604, 200604 open.
struct ThreeMonths : test::PayrollTask {
    ThreeMonths() {
        SilentProgress progress;
        EXPECT_TRUE(period::closeMonth(s, "2006", "3", progress).ok);
        EXPECT_TRUE(period::closeMonth(s, "2006", "4", progress).ok);
    }
};
} // namespace

TEST(MonthRange, MonthsBetweenCrossesTheYearAndRefusesReversedOrBadText) {
    EXPECT_EQ(monthsBetween("200611", "200702"), (std::vector<std::string>{"200611", "200612", "200701", "200702"}));
    EXPECT_EQ(monthsBetween("200605", "200605"), (std::vector<std::string>{"200605"}));
    EXPECT_TRUE(monthsBetween("200605", "200604").empty());
    EXPECT_TRUE(monthsBetween("2006", "200604").empty());
}

TEST(MonthRange, AReversedRangeIsSwappedAndEachEndMustLieInsideTheTasksMonths) {
    ThreeMonths t;
    std::string first = "200604", last = "200602";
    EXPECT_TRUE(checkMonthRange(t.s, first, last, kReportRange).ok);
    EXPECT_EQ(first, "200602");
    EXPECT_EQ(last, "200604");

    first = "200601", last = "200603";
    Outcome o = checkMonthRange(t.s, first, last, kReportRange);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "报表日期不能小于工资的起用日期。");
    EXPECT_EQ(o.title, "提示");
    first = "200603", last = "200605";
    o = checkMonthRange(t.s, first, last, kQueryRange);
    EXPECT_EQ(o.message, "查询日期不能大于工资的当前日期。");
    EXPECT_EQ(first, "200603") << "a refused range is left as typed";
}

TEST(MonthRange, AMonthWhoseTablesWereDroppedIsRefusedByName) {
    ThreeMonths t;
    period::dropTableSet(t.s.taskConn, t.s.curTaskID, "200603");
    std::string first = "200602", last = "200604";
    const Outcome o = checkMonthRange(t.s, first, last, kReportRange);
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.message.find("2006年03月"), std::string::npos) << o.message;
    first = last = "200604";
    EXPECT_TRUE(checkMonthRange(t.s, first, last, kReportRange).ok);
}

TEST(MonthRange, PeriodScopeReadsAnotherMonthAndRestoresTheCurrentOne) {
    ThreeMonths t;
    const std::string current = t.s.taskPrefix();
    {
        PeriodScope scope(t.s, "200602");
        EXPECT_EQ(t.s.taskPrefix(), "ID" + t.s.curTaskID + "_200602_");
    }
    EXPECT_EQ(t.s.taskPrefix(), current);
    try {
        PeriodScope scope(t.s, "200603");
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(t.s.taskPrefix(), current);
}

// The calculation trace of one employee: its final row is the row a full
// recalculation gives, for a sample of the generated month with the
// per-employee exceptions off and on; the steps say what each line read
// and did, including a stored value or a not-calculated item taking the
// formula's place and the rounding-off of net pay.
#include "monthly/trace.h"

#include "bench/entry_fixture.h"
#include "calc/recalc.h"
#include "core/settings.h"
#include "core/startup.h"
#include "monthly/workgrid_load.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

using namespace gzgl;

namespace {

// The generated month of the benchmarks with some exceptions: every 50th
// employee does not have F033 and F040 calculated, every 100th has a value
// of his own in the calculated F035.
struct Month : bench::EntryMonth {
    Month() {
        t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_NotCalc='F033,F040' Where F_SortNo=0 And "
                             "cast(F_EmpNo as integer) % 50 = 0");
        t.s.taskConn.execute("Update " + t.table("Data") + " Set F035=123.45 Where cast(F_EmpNo as integer) % 100 = 0");
    }
};

Month& month() {
    static std::unique_ptr<Month> m = std::make_unique<Month>();
    return *m;
}

// The whole month recalculated, rows by employee number.
std::map<std::string, std::vector<std::string>> fullPass(Session& s) {
    calc::WorkGrid grid = monthly::loadWorkGrid(s, {}, true).grid;
    SilentProgress progress;
    calc::RecalculateGrid(s, grid, {s.roundOffMode, IsNotCalcOn(s)}, progress);
    std::map<std::string, std::vector<std::string>> rows;
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            rows[grid.cell(r, 0)].push_back(grid.cell(r, c));
    return rows;
}

void sampleMatchesTheFullPass(Session& s) {
    const auto rows = fullPass(s);
    std::mt19937 rng(2026);
    std::vector<std::string> sample;
    for (const auto& [no, cells] : rows)
        sample.push_back(no);
    std::shuffle(sample.begin(), sample.end(), rng);
    sample.resize(200);
    sample.push_back("00000"); // exceptions on both counts
    for (const std::string& no : sample) {
        const monthly::TraceResult r = monthly::traceEmployee(s, no);
        ASSERT_TRUE(r.outcome.ok) << no;
        std::vector<std::string> got;
        for (int c = 0; c < r.trace.row.cols(); ++c)
            got.push_back(r.trace.row.cell(calc::kFirstEmployeeRow, c));
        EXPECT_EQ(got, rows.at(no)) << no;
        EXPECT_EQ(r.trace.steps.size(), 40u) << no;
    }
}

const calc::TraceStep* stepOf(const calc::EmployeeTrace& t, const std::string& code) {
    for (const calc::TraceStep& s : t.steps)
        if (s.code == code)
            return &s;
    return nullptr;
}

} // namespace

TEST(Trace, EndsInTheRowOfTheFullRecalculationWithExceptionsOff) {
    Month& m = month();
    setNotCalc(m.t.s, false);
    sampleMatchesTheFullPass(m.t.s);
}

TEST(Trace, EndsInTheRowOfTheFullRecalculationWithExceptionsOn) {
    Month& m = month();
    setNotCalc(m.t.s, true);
    sampleMatchesTheFullPass(m.t.s);
    setNotCalc(m.t.s, false);
}

TEST(Trace, StepsSayWhatEachLineReadAndDid) {
    Month& m = month();
    setNotCalc(m.t.s, true);
    const monthly::TraceResult r = monthly::traceEmployee(m.t.s, "00000");
    setNotCalc(m.t.s, false);
    ASSERT_TRUE(r.outcome.ok);
    using Result = calc::TraceStep::Result;
    // F035 is stored for this employee: the value takes the formula's place.
    const calc::TraceStep* stored = stepOf(r.trace, "F035");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->result, Result::Stored);
    EXPECT_EQ(stored->after, "123.45");
    EXPECT_NE(r.text.find("但本人保存的数值 123.45 代替了公式"), std::string::npos);
    // F033 is in his not-calculated list.
    const calc::TraceStep* listed = stepOf(r.trace, "F033");
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->result, Result::Listed);
    EXPECT_EQ(listed->after, "0.00");
    EXPECT_NE(r.text.find("本项目在本人的不计算项目中，记为 0.00"), std::string::npos);
    // Net pay: its inputs, and paid plus held back equals the computed pay
    // plus last month's carry.
    const calc::TraceStep& net = r.trace.steps.back();
    ASSERT_EQ(net.code, "F000");
    ASSERT_TRUE(net.netPay);
    EXPECT_EQ(net.inputs.size(), 3u);
    EXPECT_EQ(net.inputs[0].first, "F003");
    EXPECT_NEAR(net.net + std::stod(net.heldBack), net.value + net.carried, 1e-6);
    EXPECT_NE(r.text.find("第40行  实发工资(F000) = F003-F056-F039"), std::string::npos);
    EXPECT_NE(r.text.find("    扣零：计算结果 "), std::string::npos);
    EXPECT_NE(r.text.find("个人项目例外（不计算项目、个人数值）：启用"), std::string::npos);
}

TEST(Trace, AConditionThatDoesNotHoldAssignsNothing) {
    test::PayrollTask t;
    t.item("F004", "所得税");
    t.formula("F004", "{F003>800,(F003-800)*0.1}");
    t.formula("F000", "F003-F004");
    t.employee("0001", "张三");
    t.value("0001", "F003", 500.0);
    const monthly::TraceResult r = monthly::traceEmployee(t.s, "0001");
    ASSERT_TRUE(r.outcome.ok);
    ASSERT_EQ(r.trace.steps.size(), 2u);
    EXPECT_EQ(r.trace.steps[0].result, calc::TraceStep::Result::NoValue);
    EXPECT_NE(r.text.find("代入：应发工资(F003)=500"), std::string::npos) << r.text;
    EXPECT_NE(r.text.find("公式没有得出数值（条件不成立），未赋值，仍为 0.00"), std::string::npos) << r.text;
    EXPECT_NE(r.text.find("实发工资(F000) = 500.00"), std::string::npos) << r.text;

    EXPECT_EQ(monthly::traceEmployee(t.s, "000").outcome.message, "查无此人！"); // a prefix is no employee
    EXPECT_EQ(monthly::traceEmployee(t.s, "0001%").outcome.message, "查无此人！");
    EXPECT_EQ(monthly::traceEmployee(t.s, "").outcome.message, "查无此人！");
}

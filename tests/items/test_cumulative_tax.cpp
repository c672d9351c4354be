// Cumulative withholding over a tax year: the monthly taxes of worked years
// against an independent computation in cents, the month-end carry of the
// cumulative figures (raise, hire, new year), the settings and their
// refusals, and a task that keeps the monthly brackets.
#include "items/cumulative_tax.h"

#include "calc/recalc.h"
#include "core/progress.h"
#include "monthly/workgrid_load.h"
#include "period/balance.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

using namespace gzgl;
using namespace gzgl::items;

namespace {

// The annual table in whole yuan: upper bound (0 = open), rate in percent,
// quick deduction.
struct YearBracket {
    std::int64_t upper, rate, quick;
};
const YearBracket kYear[] = {{36000, 3, 0},       {144000, 10, 2520},  {300000, 20, 16920}, {420000, 25, 31920},
                             {660000, 30, 52920}, {960000, 35, 85920}, {0, 45, 181920}};

// The annual table on a year's taxable income, in cents, rounded half up.
std::int64_t annualTaxCents(std::int64_t taxableCents) {
    if (taxableCents <= 0)
        return 0;
    for (const YearBracket& b : kYear)
        if (b.upper == 0 || taxableCents <= b.upper * 100)
            return (taxableCents * b.rate + 50) / 100 - b.quick * 100;
    return 0;
}

// One employee's year as the law computes it: the tax of each month from
// the incomes and deductions of the months he was paid, in cents.
std::vector<std::int64_t> expectedTaxes(const std::vector<std::int64_t>& income,
                                        const std::vector<std::int64_t>& deductions) {
    std::vector<std::int64_t> out;
    std::int64_t taxable = 0, withheld = 0;
    for (std::size_t m = 0; m < income.size(); ++m) {
        taxable += (income[m] - deductions[m] - 5000) * 100;
        const std::int64_t due = std::max<std::int64_t>(0, annualTaxCents(taxable) - withheld);
        out.push_back(due);
        withheld += due;
    }
    return out;
}

std::string money(std::int64_t cents) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%lld.%02lld", cents < 0 ? "-" : "", static_cast<long long>(std::llabs(cents) / 100),
                  static_cast<long long>(std::llabs(cents) % 100));
    return buf;
}

// A task opened in January 2019 with 社保公积金 F004 (deduction) and
// 个人所得税 F005 (tax); net pay F000 = F003 - F004 - F005.
struct Year : test::PayrollTask {
    explicit Year(int roundOff = 0) : test::PayrollTask(roundOff, "2019", "1") {
        item("F004", "社保公积金");
        item("F005", "个人所得税");
        formula("F000", "F003-F004-F005");
    }

    void chooseCumulative() {
        ASSERT_TRUE(setTaxMethod(s, kCumulativeMethod).ok);
        ASSERT_TRUE(setCumulativeChoice(s, {"F003", {"F004"}, "F005"}).ok);
        const FormulaResult r = generateAnnualFormulas(s, prompt);
        ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    }

    void hire(const std::string& no, std::int64_t income, std::int64_t deduction) {
        employee(no, "员工" + no);
        value(no, "F003", static_cast<double>(income));
        value(no, "F004", static_cast<double>(deduction));
    }

    // The month recalculated: item code -> employee -> shown text.
    std::map<std::string, std::string> column(const std::string& code) {
        calc::WorkGrid grid = monthly::loadWorkGrid(s, {}, false).grid;
        SilentProgress progress;
        calc::RecalculateGrid(s, grid, {s.roundOffMode, false}, progress);
        std::map<std::string, std::string> out;
        const int c = grid.columnOf(code);
        for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r)
            out[grid.cell(r, 0)] = c < 0 ? "?" : grid.cell(r, c);
        return out;
    }

    void close() {
        SilentProgress progress;
        // As the month-end screen proposes it.
        const period::BalanceStart next = period::openBalance(s);
        const Outcome o = period::closeMonth(s, next.year, next.month, progress);
        ASSERT_TRUE(o.ok) << o.message;
    }

    // A stored value in cents' text, "0.00" for none.
    std::string stored(const std::string& no, const char* code) {
        const double v =
            s.taskConn.scalar("Select " + std::string(code) + " from " + table("Data") + " where F_EmpNo=?", {no})
                .toDouble();
        return money(std::llround(v * 100));
    }
};

} // namespace

TEST(CumulativeTax, AWorkedYearWithARaiseAndAHireMatchesTheLawToTheCent) {
    Year y;
    y.chooseCumulative();
    y.hire("0001", 30000, 4500); // a full year, raised to 35,000 in July
    y.hire("0002", 30000, 4500); // a full year without a raise
    std::vector<std::int64_t> income1, deduction1, income3, deduction3;
    std::vector<std::string> got1, got2, got3;
    for (int month = 1; month <= 12; ++month) {
        if (month == 7)
            y.value("0001", "F003", 35000.0);
        if (month == 4)
            y.hire("0003", 18000, 2000); // joins in April: starts from zero
        income1.push_back(month >= 7 ? 35000 : 30000);
        deduction1.push_back(4500);
        if (month >= 4) {
            income3.push_back(18000);
            deduction3.push_back(2000);
        }
        const auto tax = y.column("F005");
        got1.push_back(tax.at("0001"));
        got2.push_back(tax.at("0002"));
        if (month >= 4)
            got3.push_back(tax.at("0003"));
        if (month == 4) {
            // A new employee's figures before this month are all zero.
            EXPECT_EQ(y.column("FFF2").at("0003"), "");
            EXPECT_EQ(y.column("FFF3").at("0003"), "");
        }
        if (month < 12)
            y.close();
    }
    const std::vector<std::int64_t> want1 = expectedTaxes(income1, deduction1);
    const std::vector<std::int64_t> want2 = expectedTaxes(std::vector<std::int64_t>(12, 30000),
                                                          std::vector<std::int64_t>(12, 4500));
    const std::vector<std::int64_t> want3 = expectedTaxes(income3, deduction3);
    std::int64_t sum2 = 0;
    for (std::size_t m = 0; m < 12; ++m) {
        EXPECT_EQ(got1[m], money(want1[m])) << "0001 month " << m + 1;
        EXPECT_EQ(got2[m], money(want2[m])) << "0002 month " << m + 1;
        sum2 += want2[m];
    }
    for (std::size_t m = 0; m < want3.size(); ++m)
        EXPECT_EQ(got3[m], money(want3[m])) << "0003 month " << m + 4;
    // The known figures of 30,000 a month with 4,500 of deductions: 615 in
    // January, 965 in February, 32,280 over the year = the annual table on
    // the year's 246,000.
    EXPECT_EQ(got2[0], "615.00");
    EXPECT_EQ(got2[1], "965.00");
    EXPECT_EQ(sum2, annualTaxCents(246000 * 100));
    EXPECT_EQ(money(sum2), "32280.00");
    // December's figures before this month: eleven months for the full-year
    // employees, eight for the April hire.
    EXPECT_EQ(y.stored("0002", "FFF1"), "280500.00");
    EXPECT_EQ(y.stored("0002", "FFF2"), "55000.00");
    EXPECT_EQ(y.stored("0003", "FFF2"), "40000.00");
    std::int64_t withheld1 = 0;
    for (std::size_t m = 0; m < 11; ++m)
        withheld1 += want1[m];
    EXPECT_EQ(y.stored("0001", "FFF3"), money(withheld1));
    // Net pay follows the tax line by line.
    EXPECT_EQ(y.column("F000").at("0002"), money(3000000 - 450000 - want2[11]));

    // The next January starts the year again.
    y.close();
    EXPECT_EQ(y.s.curPeriod, "202001");
    for (const char* code : {"FFF1", "FFF2", "FFF3"})
        EXPECT_EQ(y.stored("0001", code), "0.00") << code;
    EXPECT_EQ(y.column("F005").at("0001"), money(annualTaxCents((35000 - 4500 - 5000) * 100)));
    EXPECT_EQ(y.column("F005").at("0002"), "615.00");
}

TEST(CumulativeTax, TheTaxIsNeverBelowZeroAndAnEditedRowRecalculates) {
    Year y;
    y.chooseCumulative();
    y.hire("0001", 60000, 0);
    EXPECT_EQ(y.column("F005").at("0001"), money(annualTaxCents(55000 * 100)));
    y.close();
    // Nothing paid this month: the year's tax so far is already withheld.
    y.value("0001", "F003", 0.0);
    EXPECT_EQ(y.column("F005").at("0001"), "0.00");
    EXPECT_EQ(y.column("F000").at("0001"), "0.00");
    // Income below the basic deduction in the first month: no tax.
    y.hire("0002", 4000, 0);
    EXPECT_EQ(y.column("F005").at("0002"), "0.00");
}

TEST(CumulativeTax, RoundingOffAndTheCumulativeCarryRunTogether) {
    Year y(1); // 不足10元去尾
    y.chooseCumulative();
    y.hire("0001", 30000.0, 4500);
    y.value("0001", "F004", 4503.5);
    const auto net = y.column("F000").at("0001");
    y.close();
    // This month's tax on 20,496.50 is 614.90 (614.895 rounded).
    EXPECT_EQ(y.stored("0001", "FFF3"), "614.90");
    EXPECT_EQ(y.stored("0001", "FFF1"), "25496.50");
    // The net pay 24,881.60 holds back 1.60 for the next month.
    EXPECT_EQ(net, "24880.00");
    EXPECT_EQ(y.stored("0001", "FFFF"), "1.60");
}

TEST(CumulativeTax, ATaskOnTheMonthlyBracketsKeepsThem) {
    Year y;
    EXPECT_EQ(loadTaxMethod(y.s), kMonthlyMethod);
    y.prompt.answers = {true}; // the lines go after net pay, which is asked about
    const FormulaResult r = generateTaxFormulas(y.s, y.prompt, "F005", "800", loadTaxRows(y.s));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    y.hire("0001", 3000, 0);
    // (3000 - 800) * 10 % - 25 by the built-in brackets.
    EXPECT_EQ(y.column("F005").at("0001"), "195.00");
    y.close();
    EXPECT_EQ(y.column("F005").at("0001"), "195.00");
    EXPECT_FALSE(findItem(y.s, "FFF1"));
    EXPECT_TRUE(generateAnnualFormulas(y.s, y.prompt).outcome.message.starts_with("计税方法不是“累计预扣法”"));
}

TEST(CumulativeTax, ChoosingTheMethodMakesItsItemsOnceAndRefusesAClash) {
    Year y;
    EXPECT_FALSE(setTaxMethod(y.s, "累计").ok);
    EXPECT_EQ(loadTaxMethod(y.s), kMonthlyMethod);
    ASSERT_TRUE(setTaxMethod(y.s, kCumulativeMethod).ok);
    ASSERT_TRUE(setTaxMethod(y.s, kCumulativeMethod).ok);
    EXPECT_EQ(y.s.taskConn.scalar("Select count(*) from " + y.table("Item") + " where F_Code like 'FFF_'").toInt(),
              6); // FFFD..FFFF and FFF1..FFF3 once each
    for (const ReservedItem& r : cumulativeItems())
        EXPECT_TRUE(y.s.taskConn.hasColumn(y.table("Data"), r.code)) << r.code;
    // They are kept as input items: no formula, no deletion.
    EXPECT_FALSE(deleteItem(y.s, y.prompt, "FFF1").ok);
    const std::vector<ItemChoice> waiting = waitingItems(y.s);
    EXPECT_TRUE(std::none_of(waiting.begin(), waiting.end(), [](const ItemChoice& c) { return isCumulativeCode(c.code); }));

    Year other;
    other.item("F006", "上月累计已扣税额");
    const Outcome clash = setTaxMethod(other.s, kCumulativeMethod);
    EXPECT_FALSE(clash.ok);
    EXPECT_NE(clash.message.find("F006"), std::string::npos) << clash.message;
    EXPECT_FALSE(findItem(other.s, "FFF1"));
    EXPECT_EQ(loadTaxMethod(other.s), kMonthlyMethod);
}

TEST(CumulativeTax, TheItemChoiceIsCheckedBeforeAnythingIsStored) {
    Year y;
    y.item("F006", "备注", "文字", 0);
    ASSERT_TRUE(setTaxMethod(y.s, kCumulativeMethod).ok);
    const std::vector<std::pair<CumulativeChoice, std::string>> refused = {
        {{"", {"F004"}, "F005"}, "请选择本月收入项目！"},
        {{"F003", {"F004"}, ""}, "请选择税额项目！"},
        {{"F003", {"F004"}, "F000"}, "“实发工资”不能用于累计预扣！"},
        {{"F003", {"FFF3"}, "F005"}, "“上月累计已扣税额”不能用于累计预扣！"},
        {{"F003", {"F004", "F004"}, "F005"}, "“社保公积金”选择了两次！"},
        {{"F003", {"F005"}, "F005"}, "“个人所得税”选择了两次！"},
        {{"F003", {"F006"}, "F005"}, "项目F006不存在或不是数字项目！"},
        {{"F003", {"F0'1"}, "F005"}, "项目F0'1不存在或不是数字项目！"},
        {{"F004", {}, "F003"}, "应发工资不能作为税额项目！"},
    };
    for (const auto& [choice, message] : refused) {
        EXPECT_EQ(setCumulativeChoice(y.s, choice).message, message);
        EXPECT_FALSE(loadCumulativeChoice(y.s).complete());
    }
    ASSERT_TRUE(setCumulativeChoice(y.s, {" f003 ", {"f004", ""}, "F005"}).ok);
    EXPECT_EQ(loadCumulativeChoice(y.s), (CumulativeChoice{"F003", {"F004"}, "F005"}));
    EXPECT_EQ(cumulativeCandidates(y.s).size(), 3u); // F003, F004, F005
}

TEST(CumulativeTax, TheAnnualTableIsCheckedStoredAndUsed) {
    Year y;
    const AnnualTable builtIn = loadAnnualTable(y.s);
    EXPECT_EQ(builtIn, builtInAnnualTable());
    EXPECT_EQ(builtIn.rows.back().end, "");
    EXPECT_EQ(builtIn.deduction, "5000.00");

    AnnualTable gap = builtIn;
    gap.rows[1].start = "40000";
    EXPECT_EQ(saveAnnualTable(y.s, gap).message, "范围有遗漏!");
    AnnualTable noDeduction = builtIn;
    noDeduction.deduction = "";
    EXPECT_EQ(saveAnnualTable(y.s, noDeduction).message, "必须输入每月减除费用!");
    EXPECT_EQ(saveAnnualTable(y.s, {"5000", {{"", "", "", ""}}}).message, "年度税率表不能为空！");
    EXPECT_EQ(loadAnnualTable(y.s), builtIn);

    // A changed table and deduction: stored, read back, and what the lines use.
    AnnualTable mine = builtIn;
    mine.deduction = "6000";
    mine.rows[0].rate = "2.5";
    ASSERT_TRUE(saveAnnualTable(y.s, mine).ok);
    const AnnualTable back = loadAnnualTable(y.s);
    EXPECT_EQ(back.deduction, "6000.00");
    EXPECT_EQ(back.rows[0].rate, "2.50");
    EXPECT_EQ(back.rows.size(), 7u);
    y.chooseCumulative();
    y.hire("0001", 20000, 0);
    EXPECT_EQ(y.column("F005").at("0001"), "350.00"); // (20000 - 6000) * 2.5 %

    // A damaged stored bracket shows as it is and stops the generator.
    y.s.sysConn.execute("Update tbSysSet set ParaValue='3x,36000,3,0' where ParaName='NDSL01'");
    EXPECT_EQ(loadAnnualTable(y.s).rows[0].start, "3x");
    EXPECT_EQ(generateAnnualFormulas(y.s, y.prompt).outcome.message, "含有非法字符！");
}

TEST(CumulativeTax, GeneratingReplacesTheTaxLinesInPlace) {
    Year y;
    y.formula("F003", "F003");
    // Monthly lines first, after net pay (asked about).
    y.prompt.answers = {true};
    ASSERT_TRUE(generateTaxFormulas(y.s, y.prompt, "F005", "800", loadTaxRows(y.s)).outcome.ok);
    y.chooseCumulative();
    const std::vector<FormulaLine> once = loadFormulaLines(y.s);
    ASSERT_EQ(once.size(), 10u);
    EXPECT_EQ(once[0].code, "F000");
    EXPECT_EQ(once[1].code, "F003");
    EXPECT_EQ(once[2].formula, "0");
    EXPECT_EQ(once[9].code, "F005");
    EXPECT_EQ(once[9].formula, "{[(FFF1+F003-F004-FFF2-5000)>960000]&[(FFF1+F003-F004-FFF2-5000)*0.45-181920>FFF3],"
                               "(FFF1+F003-F004-FFF2-5000)*0.45-181920-FFF3}");
    // Once more: the same lines, not twice as many.
    ASSERT_TRUE(generateAnnualFormulas(y.s, y.prompt).outcome.ok);
    EXPECT_EQ(loadFormulaLines(y.s), once);
    for (std::size_t i = 2; i < once.size(); ++i)
        EXPECT_EQ(once[i].code, "F005") << i;
}

TEST(CumulativeTax, ATaxItemWithoutLinesGoesBeforeTheNetPayThatUsesIt) {
    Year y;
    ASSERT_TRUE(setTaxMethod(y.s, kCumulativeMethod).ok);
    ASSERT_TRUE(setCumulativeChoice(y.s, {"F003", {"F004"}, "F005"}).ok);
    ASSERT_TRUE(generateAnnualFormulas(y.s, y.prompt).outcome.ok);
    const std::vector<FormulaLine> lines = loadFormulaLines(y.s);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines.front().formula, "0");
    EXPECT_EQ(lines.back().code, "F000");
    EXPECT_FALSE(y.s.taskConn.hasColumn(y.table("Data"), "F005"));
}

TEST(CumulativeTax, TheTaxLinesComeAfterTheLinesOfTheIncomeTheyRead) {
    Year y;
    y.item("F006", "基本工资");
    y.formula("F003", "F006*2"); // after net pay: a late gross pay line
    ASSERT_TRUE(setTaxMethod(y.s, kCumulativeMethod).ok);
    ASSERT_TRUE(setCumulativeChoice(y.s, {"F003", {"F004"}, "F005"}).ok);
    // Net pay, first, then reads the tax too early: asked.
    y.prompt.answers = {true};
    ASSERT_TRUE(generateAnnualFormulas(y.s, y.prompt).outcome.ok);
    EXPECT_NE(y.prompt.messages.front().text.find("第1行（实发工资 F000）中的“个人所得税”(F005)由后面的第3行计算"),
              std::string::npos)
        << y.prompt.messages.front().text;
    const std::vector<FormulaLine> lines = loadFormulaLines(y.s);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0].code, "F000");
    EXPECT_EQ(lines[1].code, "F003");
    EXPECT_EQ(lines[2].formula, "0");
    y.hire("0001", 0, 1000);
    y.value("0001", "F006", 15000.0);
    // 30,000 - 1,000 - 5,000 at 3 %: the gross pay of this month is read.
    EXPECT_EQ(y.column("F005").at("0001"), "720.00");
}

TEST(CumulativeTax, AChosenItemThatIsGoneStopsTheCloseBeforeItStarts) {
    Year y;
    y.item("F006", "补充扣除");
    ASSERT_TRUE(setTaxMethod(y.s, kCumulativeMethod).ok);
    ASSERT_TRUE(setCumulativeChoice(y.s, {"F003", {"F004", "F006"}, "F005"}).ok);
    y.prompt.answers = {true};
    ASSERT_TRUE(deleteItem(y.s, y.prompt, "F006").ok);
    SilentProgress progress;
    const Outcome o = period::closeMonth(y.s, "2019", "2", progress);
    EXPECT_EQ(o.message, "累计预扣法所用的项目F006已不存在，请在所得税页重新选择，不能结转！");
    EXPECT_EQ(y.s.curPeriod, "201901");
}

TEST(CumulativeTax, AMonthIsNotClosedWithoutTheItemsChosen) {
    Year y;
    ASSERT_TRUE(setTaxMethod(y.s, kCumulativeMethod).ok);
    y.hire("0001", 30000, 4500);
    SilentProgress progress;
    const Outcome o = period::closeMonth(y.s, "2019", "2", progress);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "计税方法为累计预扣法，但收入项目或税额项目未选择，不能结转！");
    EXPECT_EQ(y.s.curPeriod, "201901");
    EXPECT_FALSE(y.s.taskConn.hasTable("ID" + y.s.curTaskID + "_201902_Data"));
}

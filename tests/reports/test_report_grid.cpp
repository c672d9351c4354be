// The month merge of the report grid: columns by caption, rows by their
// first two cells, sums exact to the last decimal, one totals row.
#include "reports/report_grid.h"

#include <gtest/gtest.h>

using namespace gzgl::reports;

namespace {

ReportGrid month(const std::vector<std::string>& numberCaptions) {
    ReportGrid g;
    g.columns = {{"编码", "", true, 0, 0}, {"名称", "", true, 0, 0}};
    for (const std::string& c : numberCaptions)
        g.columns.push_back({c, "", false, 2, 0});
    return g;
}

int row(ReportGrid& g, const std::string& code, const std::string& name, const std::vector<double>& values) {
    const int r = g.addRow();
    g.rows[static_cast<std::size_t>(r)].texts[0] = code;
    g.rows[static_cast<std::size_t>(r)].texts[1] = name;
    for (std::size_t i = 0; i < values.size(); ++i)
        g.add(r, static_cast<int>(i) + 2, values[i]);
    return r;
}

std::vector<std::string> line(const ReportGrid& g, int r) {
    std::vector<std::string> out;
    for (int c = 0; c < g.cols(); ++c)
        out.push_back(g.cell(r, c));
    return out;
}

} // namespace

TEST(ReportGridMerge, ColumnsMatchByCaptionAndNewOnesAreAppended) {
    ReportGrid report = month({"基本工资", "奖金"});
    row(report, "01", "甲", {100, 10});
    ReportGrid next = month({"奖金", "津贴", "基本工资"});
    row(next, "01", "甲", {1, 5, 200});
    mergeMonth(report, next);
    ASSERT_EQ(report.cols(), 5);
    EXPECT_EQ(report.columns[4].caption, "津贴");
    EXPECT_EQ(line(report, 0), (std::vector<std::string>{"01", "甲", "300.00", "11.00", "5.00"}));
}

TEST(ReportGridMerge, RowsMatchByCodeAndNameAndNewOnesAreAppendedInOrder) {
    ReportGrid report = month({"金额"});
    row(report, "01", "甲", {1});
    row(report, "02", "乙", {2});
    ReportGrid next = month({"金额"});
    row(next, "03", "丙", {3});
    row(next, "02", "乙", {20});
    row(next, "01", "甲改", {100}); // renamed: a row of its own
    mergeMonth(report, next);
    ASSERT_EQ(report.dataRows(), 4);
    EXPECT_EQ(line(report, 1), (std::vector<std::string>{"02", "乙", "22.00"}));
    EXPECT_EQ(line(report, 2), (std::vector<std::string>{"03", "丙", "3.00"}));
    EXPECT_EQ(line(report, 3), (std::vector<std::string>{"01", "甲改", "100.00"}));
}

TEST(ReportGridMerge, TextCellsTakeTheLatestMonthsTextAndAreNotSummed) {
    ReportGrid report = month({"金额"});
    report.columns.push_back({"部门", "", true, 0, 0});
    ReportGrid next = report;
    int r = row(report, "0001", "甲", {1});
    report.rows[static_cast<std::size_t>(r)].texts[3] = "财务";
    r = row(next, "0001", "甲", {1});
    next.rows[static_cast<std::size_t>(r)].texts[3] = "销售";
    mergeMonth(report, next);
    report.addTotalRow();
    EXPECT_EQ(line(report, 0), (std::vector<std::string>{"0001", "甲", "2.00", "销售"}));
    EXPECT_EQ(line(report, 1), (std::vector<std::string>{"合   计", "", "2.00", ""}));
}

TEST(ReportGridMerge, TotalsEqualTheRowsToTheCentWithoutDrift) {
    // 0.1 and 0.7 have no exact binary form: summed as plain doubles a
    // thousand of them drift off the cent.
    ReportGrid report = month({"金额", "扣款"});
    for (int i = 0; i < 1000; ++i)
        row(report, std::to_string(i), "某", {0.1, 0.7});
    for (int m = 0; m < 11; ++m) {
        ReportGrid next = month({"金额", "扣款"});
        for (int i = 0; i < 1000; ++i)
            row(next, std::to_string(i), "某", {0.1, 0.7});
        mergeMonth(report, next);
    }
    report.addTotalRow();
    report.addTotalRow(); // a second call replaces the first
    ASSERT_EQ(report.rows.size(), 1001u);
    EXPECT_EQ(line(report, 0)[2], "1.20");
    EXPECT_EQ(line(report, 1000), (std::vector<std::string>{"合   计", "", "1200.00", "8400.00"}));
    EXPECT_EQ(report.rows.back().values[2], 1200.0) << "the value itself, not only its text";
}

TEST(ReportGridMerge, AColumnKeepsTheMostDecimalsAnyMonthGaveIt) {
    ReportGrid report = month({"金额"});
    report.columns[2].decimals = 0;
    row(report, "01", "甲", {3});
    ReportGrid next = month({"金额"});
    next.columns[2].decimals = 3;
    row(next, "01", "甲", {0.125});
    mergeMonth(report, next);
    EXPECT_EQ(report.cell(0, 2), "3.125");
}

TEST(ReportGridMerge, AMergeAfterTheTotalsRowDropsItSoThatOnlyOneRemains) {
    ReportGrid report = month({"金额"});
    row(report, "01", "甲", {1});
    report.addTotalRow();
    ReportGrid next = month({"金额"});
    row(next, "02", "乙", {2});
    mergeMonth(report, next);
    report.addTotalRow();
    ASSERT_EQ(report.rows.size(), 3u);
    EXPECT_EQ(line(report, 2), (std::vector<std::string>{"合   计", "", "3.00"}));
}

// The standard reports: the screen's checks, the rows the summaries list
// and who counts for them, the sums and the totals row, the pay sheet, the
// merge over a range of months, and the print jobs' lines and settings.
#include "reports/standard.h"
#include "reports/standard_jobs.h"

#include "calc/numformat.h"
#include "core/progress.h"
#include "period/balance.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace gzgl;
using namespace gzgl::reports;

namespace {

// Departments 01 总部 (0101 财务, 0102 销售), 02 工厂 (0201 车间) and the
// leaf 03 后勤; types 01 管理 (0101, 0102) and 02 生产 (0201), 03 has
// none. Five employees with base pay F004 and bonus F005; F003 = F004 +
// F005 and F000 = F003; a text item and an item that does not print.
struct Company : test::PayrollTask {
    Company() {
        s.sysConn.execute("Update GZSysInfo set F_BMJB='22000' where F_ID=?", {s.curTaskID});
        for (const auto& [no, name] : {std::pair{"01", "管理"}, std::pair{"02", "生产"}})
            s.taskConn.execute("Insert Into " + table("DepType") + "(F_TypeNo,F_TypeName) Values(?,?)",
                               {no, name});
        struct Dep {
            const char *code, *name, *type;
            int level, end;
        };
        for (const Dep& d :
             {Dep{"01", "总部", "", 1, 0}, Dep{"0101", "财务", "01", 2, 1}, Dep{"0102", "销售", "01", 2, 1},
              Dep{"02", "工厂", "", 1, 0}, Dep{"0201", "车间", "02", 2, 1}, Dep{"03", "后勤", "", 1, 1}})
            s.taskConn.execute("Insert Into " + table("Depart") +
                                   "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,?,?,?)",
                               {d.code, d.name, d.type, d.level, d.end});
        item("F004", "基本工资");
        item("F005", "奖金");
        item("F006", "备注", "文字", 0);
        item("F007", "内部", "数字", 2);
        s.taskConn.execute("Update " + table("Item") + " Set F_Print=0 Where F_Code='F007'");
        formula("F003", "F004+F005");
        formula("F000", "F003");
        employee("0001", "张一", "0101", 1);
        employee("0002", "李二", "0101", 2);
        employee("0003", "王三", "0102", 1);
        employee("0004", "赵四", "0201", 1);
        employee("0005", "钱五", "03", 1, "F003");
        value("0001", "F004", 1000.10);
        value("0001", "F005", 200.05);
        value("0002", "F004", 1500.005); // shows and counts as 1500.01
        value("0002", "F005", -9999);    // no value
        value("0003", "F004", 800);
        value("0004", "F004", 3000.33);
        value("0004", "F005", 100);
        value("0005", "F004", 700.70);
        value("0005", "F007", 55);
        value("0001", "F006", "备注文字");
    }

    BuiltReport run(int type, const std::string& deps = "", const std::string& level = "",
                    bool lowest = false, const std::string& from = "200602", const std::string& to = "200602",
                    const std::string& types = "") {
        auto part = [](const std::string& t, std::size_t at, std::size_t n) {
            return t.size() > at ? t.substr(at, n) : "";
        };
        ReportRequest rq{
            type,  part(from, 0, 4), part(from, 4, 2), part(to, 0, 4), part(to, 4, 2), deps, types, level,
            lowest};
        SilentProgress progress;
        return buildReport(s, rq, progress);
    }

    void close(const char* month) {
        SilentProgress progress;
        ASSERT_TRUE(period::closeMonth(s, "2006", month, progress).ok);
    }
};

int col(const ReportGrid& g, const std::string& caption) {
    for (int c = 0; c < g.cols(); ++c)
        if (g.columns[static_cast<std::size_t>(c)].caption == caption)
            return c;
    ADD_FAILURE() << "no column " << caption;
    return 0;
}

// Code -> head count of each row, the totals row included.
std::map<std::string, std::string> headCounts(const ReportGrid& g) {
    std::map<std::string, std::string> out;
    for (int r = 0; r < static_cast<int>(g.rows.size()); ++r)
        out[g.cell(r, 0)] = g.cell(r, 2);
    return out;
}

std::vector<std::string> column(const ReportGrid& g, const std::string& caption) {
    std::vector<std::string> out;
    for (int r = 0; r < static_cast<int>(g.rows.size()); ++r)
        out.push_back(g.cell(r, col(g, caption)));
    return out;
}

using Counts = std::map<std::string, std::string>;

} // namespace

TEST(StandardReports, TheChecksRefuseInTheScreensOrderWithTheirMessages) {
    Company t;
    EXPECT_EQ(t.run(-1).outcome.message, "请选择报表类型！");
    EXPECT_EQ(t.run(0, "", "", false, "200602", "").outcome.message, "请输入所需打印报表日期！");
    EXPECT_EQ(t.run(0, "", "", false, "2006xx", "200602").outcome.message, "请输入所需打印报表日期！");
    const BuiltReport late = t.run(0, "", "", false, "200602", "200603");
    EXPECT_EQ(late.outcome.message, "报表日期不能大于工资的当前日期。");
    EXPECT_EQ(late.outcome.title, "提示");
    EXPECT_EQ(t.run(0, "01 总部,99 无").outcome.message, "不存在此部门：99");
    EXPECT_EQ(t.run(1, "", "", false, "200602", "200602", "管理,仓储").outcome.message,
              "不存在此部门类型：仓储");
    EXPECT_EQ(t.run(0, "", "3").outcome.message, "输入的部门级数不存在！");
    EXPECT_EQ(t.run(0, "", "x").outcome.message, "输入的部门级数不存在！");
    EXPECT_EQ(t.run(0, "03").outcome.message, "") << "a leaf chosen lists itself";
    t.s.taskConn.execute("Delete From " + t.table("Employee") + " Where F_DepNo='03'");
    const BuiltReport none = t.run(0, "03 后勤");
    EXPECT_EQ(none.outcome.message, "没有找到符合条件的员工！");
    EXPECT_EQ(none.grid.rows.size(), 0u);
}

TEST(StandardReports, AReversedRangeIsSwappedInTheFieldsAndReported) {
    Company t;
    t.close("3");
    ReportRequest rq{kPaySheet, "2006", "03", "2006", "02", "", "", "", false};
    SilentProgress progress;
    const BuiltReport r = buildReport(t.s, rq, progress);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.first, "200602");
    EXPECT_EQ(r.last, "200603");
    EXPECT_EQ(rq.month, "02");
    EXPECT_EQ(rq.month1, "03");
    EXPECT_EQ(column(r.grid, "基本工资").back(), "14002.28") << "both months counted";
}

TEST(StandardReports, NextLevelSummarySumsEachDepartmentAndTotalsToTheCent) {
    Company t;
    const BuiltReport r = t.run(kDepartmentSummary);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    const ReportGrid& g = r.grid;
    std::vector<std::string> captions;
    for (const ReportColumn& c : g.columns)
        captions.push_back(c.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"部门编码", "部门名称", "人 数", "实发工资", "应发工资",
                                                  "上月扣零", "本月补发", "本月扣零", "基本工资", "奖金"}))
        << "numeric items that print, in item order";
    EXPECT_EQ(headCounts(g), (Counts{{"01", "3"}, {"02", "1"}, {"03", "1"}, {"合   计", "5"}}));
    EXPECT_EQ(column(g, "部门名称"), (std::vector<std::string>{"总部", "工厂", "后勤", ""}));
    EXPECT_EQ(column(g, "基本工资"), (std::vector<std::string>{"3300.11", "3000.33", "700.70", "7001.14"}));
    EXPECT_EQ(column(g, "奖金"), (std::vector<std::string>{"200.05", "100.00", "0.00", "300.05"}))
        << "a missing value counts 0";
    EXPECT_EQ(column(g, "应发工资"), (std::vector<std::string>{"3500.16", "3100.33", "700.70", "7301.19"}));
    EXPECT_EQ(g.cell(3, 0), "合   计");
    EXPECT_EQ(g.cell(3, 2), "5");
    EXPECT_EQ(r.depLine, "部门：");
}

TEST(StandardReports, HeadCountsAtNextLevelLowestLevelAndByLevelNumber) {
    Company t;
    EXPECT_EQ(headCounts(t.run(0, "01 总部").grid), (Counts{{"0101", "2"}, {"0102", "1"}, {"合   计", "3"}}));
    EXPECT_EQ(headCounts(t.run(0, "", "", true).grid),
              (Counts{{"0101", "2"}, {"0102", "1"}, {"0201", "1"}, {"03", "1"}, {"合   计", "5"}}));
    EXPECT_EQ(headCounts(t.run(0, "02", "", true).grid), (Counts{{"0201", "1"}, {"合   计", "1"}}));
    EXPECT_EQ(headCounts(t.run(0, "", "1").grid),
              (Counts{{"01", "3"}, {"02", "1"}, {"03", "1"}, {"合   计", "5"}}));
    // 03 has no level-2 department: its employee counts for no row.
    const BuiltReport level2 = t.run(0, "", "2");
    EXPECT_EQ(headCounts(level2.grid),
              (Counts{{"0101", "2"}, {"0102", "1"}, {"0201", "1"}, {"合   计", "4"}}));
    EXPECT_EQ(column(level2.grid, "基本工资").back(), "6300.44");
}

TEST(StandardReports, AnEmployeeOfAnUnlistedDepartmentContributesToNoRow) {
    Company t;
    const BuiltReport r = t.run(0, "01 总部");
    EXPECT_EQ(r.depLine, "部门:总部");
    EXPECT_EQ(column(r.grid, "基本工资"), (std::vector<std::string>{"2500.11", "800.00", "3300.11"}));
    // The type summary: 03 has no type, so 钱五 is in no row.
    const BuiltReport types = t.run(kTypeSummary);
    EXPECT_EQ(types.grid.columns[0].caption, "部门类型编码");
    EXPECT_EQ(types.grid.columns[1].caption, "部门类型");
    EXPECT_EQ(headCounts(types.grid), (Counts{{"01", "3"}, {"02", "1"}, {"合   计", "4"}}));
    EXPECT_EQ(column(types.grid, "部门类型"), (std::vector<std::string>{"管理", "生产", ""}));
    const BuiltReport one = t.run(kTypeSummary, "", "", false, "200602", "200602", "生产");
    EXPECT_EQ(one.depLine, "部门类别:生产");
    EXPECT_EQ(column(one.grid, "应发工资"), (std::vector<std::string>{"3100.33", "3100.33"}));
}

TEST(StandardReports, PaySheetHasEveryEmployeeWithDepartmentAndPrintedItems) {
    Company t;
    const BuiltReport r = t.run(kPaySheet);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    const ReportGrid& g = r.grid;
    ASSERT_EQ(g.rows.size(), 6u);
    EXPECT_EQ(column(g, "工号"),
              (std::vector<std::string>{"0001", "0002", "0003", "0004", "0005", "合   计"}));
    EXPECT_EQ(column(g, "部门"), (std::vector<std::string>{"财务", "财务", "销售", "车间", "后勤", ""}));
    EXPECT_EQ(column(g, "备注")[0], "备注文字");
    EXPECT_TRUE(g.columns[static_cast<std::size_t>(col(g, "备注"))].text);
    EXPECT_EQ(column(g, "实发工资"),
              (std::vector<std::string>{"1200.15", "1500.01", "800.00", "3100.33", "700.70", "7301.19"}));
    for (const ReportColumn& c : g.columns)
        EXPECT_NE(c.caption, "内部") << "an item that does not print is left out";
}

TEST(StandardReports, ThePerEmployeeExceptionsAreHonouredWhenSwitchedOn) {
    Company t;
    t.exceptions(true);
    const BuiltReport r = t.run(kPaySheet);
    EXPECT_EQ(column(r.grid, "应发工资")[4], "0.00") << "钱五's F003 is not calculated";
    EXPECT_EQ(column(r.grid, "应发工资").back(), "6600.49");
}

TEST(StandardReports, ThreeMonthsGiveOneTotalsRowEqualToTheSumOfTheMonths) {
    Company t;
    t.close("3");
    t.value("0001", "F004", 2000.20);
    t.value("0004", "F005", 0.07);
    t.close("4");
    t.value("0003", "F005", 50.5);
    t.value("0005", "F004", 0.01);
    for (int type : {kDepartmentSummary, kTypeSummary, kPaySheet}) {
        const BuiltReport range = t.run(type, "", "", false, "200602", "200604");
        ASSERT_TRUE(range.outcome.ok) << range.outcome.message;
        int totals = 0;
        for (int r = 0; r < static_cast<int>(range.grid.rows.size()); ++r)
            totals += range.grid.cell(r, 0) == "合   计";
        EXPECT_EQ(totals, 1) << "type " << type;
        EXPECT_EQ(t.s.curPeriod, "200604") << "the session stays on the current month";
        EXPECT_EQ(range.grid.cell(static_cast<int>(range.grid.rows.size()) - 1, 0), "合   计");
        for (const char* caption : {"实发工资", "应发工资", "基本工资", "奖金"}) {
            double sum = 0;
            for (const char* month : {"200602", "200603", "200604"})
                sum += std::stod(column(t.run(type, "", "", false, month, month).grid, caption).back());
            EXPECT_EQ(column(range.grid, caption).back(), formatNumber(sum, "#0.00"))
                << type << " " << caption;
        }
    }
    EXPECT_EQ(column(t.run(kPaySheet, "", "", false, "200602", "200604").grid, "基本工资").back(),
              "22302.93");
}

TEST(StandardReports, ARangeWithAnEmployeeWhoChangedDepartmentOrName) {
    Company t;
    t.close("3");
    t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_DepNo='0102' Where F_EmpNo='0001'");
    t.close("4");
    t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_EmpName='李贰' Where F_EmpNo='0002'");

    const ReportGrid sheet = t.run(kPaySheet, "", "", false, "200602", "200604").grid;
    std::map<std::string, std::string> base, dep;
    for (int r = 0; r < sheet.dataRows(); ++r) {
        base[sheet.cell(r, 0) + sheet.cell(r, 1)] = sheet.cell(r, col(sheet, "基本工资"));
        dep[sheet.cell(r, 0) + sheet.cell(r, 1)] = sheet.cell(r, col(sheet, "部门"));
    }
    EXPECT_EQ(sheet.dataRows(), 6) << "李二 and 李贰 are two rows";
    EXPECT_EQ(base["0001张一"], "3000.30") << "one row over three months";
    EXPECT_EQ(dep["0001张一"], "销售") << "the last month's department";
    EXPECT_EQ(base["0002李二"], "3000.02");
    EXPECT_EQ(base["0002李贰"], "1500.01");
    EXPECT_EQ(sheet.cell(5, 0), "0002") << "a row first seen later is appended";

    // The summary counts 张一 under 财务 in February, under 销售 after.
    const ReportGrid sum = t.run(0, "01 总部", "", false, "200602", "200604").grid;
    EXPECT_EQ(headCounts(sum), (Counts{{"0101", "4"}, {"0102", "5"}, {"合   计", "9"}}));
    EXPECT_EQ(column(sum, "基本工资"), (std::vector<std::string>{"5500.13", "4400.20", "9900.33"}));
}

TEST(StandardReports, QuoteAndPercentInADepartmentCodeMatchOnlyThemselves) {
    test::PayrollTask t;
    t.s.sysConn.execute("Update GZSysInfo set F_BMJB='20000' where F_ID=?", {t.s.curTaskID});
    for (const auto& [code, name] :
         {std::pair{"%9", "百分"}, std::pair{"19", "十九"}, std::pair{"'9", "引号"}, std::pair{"_9", "下划"}})
        t.s.taskConn.execute("Insert Into " + t.table("Depart") +
                                 "(F_DepNo,F_DepName,F_DepClass,F_End) Values(?,?,1,1)",
                             {code, name});
    t.employee("0001", "甲", "%9");
    t.employee("0002", "乙", "19");
    t.employee("0003", "丙", "'9");
    t.employee("0004", "丁", "_9");
    SilentProgress progress;
    for (const auto& [choice, who] :
         {std::pair{"%9 百分", "0001"}, std::pair{"'9", "0003"}, std::pair{"_9", "0004"}}) {
        ReportRequest rq{kPaySheet, "2006", "02", "2006", "02", choice, "", "", false};
        const BuiltReport sheet = buildReport(t.s, rq, progress);
        ASSERT_TRUE(sheet.outcome.ok) << choice << ": " << sheet.outcome.message;
        EXPECT_EQ(sheet.grid.dataRows(), 1) << choice;
        EXPECT_EQ(sheet.grid.cell(0, 0), who) << choice;
        rq.type = kDepartmentSummary;
        EXPECT_EQ(headCounts(buildReport(t.s, rq, progress).grid).at("合   计"), "1") << choice;
    }
}

TEST(StandardReports, PrintJobsCarryTheFormTitleLinesAndSettings) {
    Company t;
    t.close("3");
    struct Want {
        int type;
        long form;
        const char* title;
        const char* page;
        const char* date;
    };
    for (const Want& w :
         {Want{0, 108, "职工工资部门汇总表", "第<当前页号>／<总页号>页", "日期:2006年02月--2006年03月"},
          Want{1, 108, "职工工资部门类型汇总表", "第<当前页号>／<总页号>页",
               "                 日期:2006年02月--2006年03月"},
          Want{2, 118, "职工工资发放表", "第<当前页号>/<总页号>页", "日期:2006年02月--2006年03月"},
          Want{3, 128, "职工工资单", "第<当前页号>/<总页号>页", "日期:2006年02月--2006年03月"}}) {
        const BuiltReport r = t.run(w.type, "01 总部", "", false, "200602", "200603");
        ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
        print::clsGridPrint job = reportJob(t.s, r);
        EXPECT_EQ(job.formID(), w.form);
        ASSERT_EQ(job.heads().size(), 4u);
        EXPECT_EQ(job.heads()[0].content, w.title);
        EXPECT_EQ(job.heads()[0].font, print::kTitleFont);
        EXPECT_EQ(job.heads()[0].dist, 10.0);
        EXPECT_EQ(job.heads()[1].content, "部门:总部");
        EXPECT_EQ(job.heads()[2].content, w.date);
        EXPECT_EQ(job.heads()[2].align, 1);
        EXPECT_EQ(job.heads()[3].content, w.page);
        EXPECT_EQ(job.heads()[3].align, 2);
        EXPECT_EQ(job.payslips(), w.type == 3);
        EXPECT_EQ(job.settingA(), 0);
        EXPECT_EQ(job.headGrid().has_value(), w.type < 2);
        std::vector<std::string> foots;
        for (const auto& f : job.foots())
            foots.push_back(f.content + "|" + std::to_string(f.align));
        if (w.type == 3)
            EXPECT_EQ(foots, (std::vector<std::string>{"制表：　　　　管理员|2"}));
        else
            EXPECT_EQ(foots, (std::vector<std::string>{"主管:        |0", "复核:        |1",
                                                       "制表:        管理员|2"}));
        // Number columns right-aligned, codes and names marked text.
        const print::PrintGrid& g = job.grid();
        EXPECT_TRUE(g.isText(0));
        EXPECT_TRUE(g.isText(1));
        EXPECT_FALSE(g.isText(3));
        EXPECT_EQ(g.colAlign[3], 2);
        EXPECT_EQ(g.dataRows(), w.type == kPaySheet ? 4 : 3) << "the totals row is a data row of the print";
    }
    EXPECT_EQ(reportDateLine(kTypeSummary, "200602", "200602"), "日期:2006年02月") << "one month: no blanks";
}

TEST(StandardReports, PayslipsHoldEachEmployeesCaptionsAndValuesAndSafeFileNames) {
    Company t;
    const BuiltReport r = t.run(kPayslips, "01 总部");
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_FALSE(r.grid.hasTotal()) << "no totals row among the payslips";
    const std::vector<Payslip> slips = payslips(r);
    ASSERT_EQ(slips.size(), 3u);
    EXPECT_EQ(slips[1].empNo, "0002");
    EXPECT_EQ(slips[1].name, "李二");
    const auto has = [&](const Payslip& p, const std::string& caption, const std::string& value) {
        return std::find(p.lines.begin(), p.lines.end(), std::pair{caption, value}) != p.lines.end();
    };
    EXPECT_TRUE(has(slips[1], "实发工资", "1500.01"));
    EXPECT_TRUE(has(slips[1], "奖金", "0.00"));
    EXPECT_TRUE(has(slips[0], "部门", "财务"));
    EXPECT_EQ(payslipFileName("0007", "张/三"), "0007_张_三.pdf");
    EXPECT_EQ(payslipFileName("0007", "a:b*c?\"<>|\\d"), "0007_a_b_c______d.pdf");
    EXPECT_EQ(payslipFileName("0007", "王.. "), "0007_王.pdf");
    EXPECT_EQ(payslipFileName("0007", "\t"), "0007__.pdf");
}

// The banknote denomination sheet: the greedy split in whole fen, the
// employee and department rows, the total, refusals and the preview job.
#include "exchange/divide.h"

#include "monthly/refresh.h"
#include "print/screen_jobs.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

using namespace gzgl;
using namespace gzgl::exchange;

namespace {

// Counts in column order: 100 50 10 5 2 1 元, 5 2 1 角, 5 2 1 分.
NoteCounts counts(std::initializer_list<std::int64_t> n) {
    NoteCounts c{};
    std::copy(n.begin(), n.end(), c.begin());
    return c;
}

std::int64_t valueOf(const NoteCounts& c) {
    std::int64_t fen = 0;
    for (std::size_t i = 0; i < kDenominations; ++i)
        fen += c[i] * kDenominationFen[i];
    return fen;
}

NoteCounts splitYuan(double yuan) {
    return splitFen(amountInFen(yuan));
}

} // namespace

TEST(DivideSplit, EveryNoteOfTheTypicalAmount) {
    EXPECT_EQ(splitYuan(188.88), counts({1, 1, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(splitYuan(0), NoteCounts{});
    EXPECT_EQ(splitYuan(0.30), counts({0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0}));
    EXPECT_EQ(splitYuan(99999.99), counts({999, 1, 4, 1, 2, 0, 1, 2, 0, 1, 2, 0}));
}

TEST(DivideSplit, InexactBinaryAmountsLoseNoFen) {
    // 0.29 and 1.15 lie just below their decimal values in binary; a split
    // in floating yuan comes out one fen short.
    EXPECT_EQ(splitYuan(0.29), counts({0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 2, 0}));
    EXPECT_EQ(splitYuan(1.15), counts({0, 0, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0}));
    for (std::int64_t fen = 0; fen <= 200000; ++fen) {
        const double yuan = static_cast<double>(fen) / 100.0;
        ASSERT_EQ(amountInFen(yuan), fen) << yuan;
        ASSERT_EQ(valueOf(splitFen(fen)), fen) << yuan;
    }
}

TEST(DivideSplit, AmountsRoundHalfAwayFromZeroToTheFen) {
    EXPECT_EQ(amountInFen(2.675), 268);
    EXPECT_EQ(amountInFen(0.004), 0);
    EXPECT_EQ(amountInFen(-1.005), -101);
    EXPECT_EQ(amountInFen(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(splitFen(-500), NoteCounts{});
}

namespace {

// 01 总部 (not lowest) with 0101 办公室 and 0102 财务科 under it, 02 车间,
// and 03 仓库 without employees. F004 扣款 is an input, F005 = F004 a
// calculated deduction, net pay F000 = F003 - F005.
struct DivideTest : ::testing::Test {
    test::PayrollTask t;
    Session& s = t.s;
    SilentProgress progress;

    DivideTest() {
        s.taskConn.execute("Insert Into " + t.table("Depart") +
                           "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values"
                           "('01','总部','',1,0),('0101','办公室','',2,1),('0102','财务科','',2,1),"
                           "('02','车间','',1,1),('03','仓库','',1,1)");
        t.item("F004", "扣款");
        t.item("F005", "扣除");
        t.formula("F005", "F004");
        t.formula("F000", "F003-F005");
        pay("0001", "张三", "0101", 2, 188.88);
        pay("0002", "李四", "0101", 1, 1000.30);
        pay("0003", "王五", "0102", 1, 0.29);
        pay("0004", "赵六", "02", 1, 1.15);
    }
    void pay(const std::string& no, const std::string& name, const std::string& dep, int sort, double gross) {
        t.employee(no, name, dep, sort);
        t.value(no, "F003", gross);
    }
    DivideResult divide(const std::string& field, bool total = false) {
        return cmdDivide(s, {field, total}, progress);
    }
    static std::vector<std::string> codes(const DivideSheet& sheet) {
        std::vector<std::string> out;
        for (const DivideRow& r : sheet.rows)
            out.push_back(r.code);
        return out;
    }
};

} // namespace

TEST_F(DivideTest, OpensOnTheFirstLowestLevelDepartment) {
    EXPECT_EQ(defaultDepartment(s), "0101  办公室");
    s.taskConn.execute("Delete From " + t.table("Depart"));
    EXPECT_EQ(defaultDepartment(s), "");
}

TEST_F(DivideTest, LowestLevelDepartmentListsItsEmployees) {
    const DivideResult r = divide("0101  办公室");
    ASSERT_TRUE(r.outcome.ok);
    const DivideSheet& sheet = r.sheet;
    EXPECT_TRUE(sheet.employeeRows);
    EXPECT_EQ(sheet.depName, "办公室");
    EXPECT_EQ(sheet.headings().at(0), "员工编号");
    EXPECT_EQ(sheet.headings().at(1), "员工姓名");
    EXPECT_EQ(sheet.headings().size(), 15u);
    // In sort order.
    ASSERT_EQ(codes(sheet), (std::vector<std::string>{"0002", "0001"}));
    EXPECT_EQ(sheet.rows[1].cells(), (std::vector<std::string>{"0001", "张三", "188.88", "1", "1", "3", "1",
                                                               "1", "1", "1", "1", "1", "1", "1", "1"}));
    EXPECT_EQ(sheet.rows[0].cells()[2], "1000.30");
    EXPECT_EQ(sheet.rows[0].counts, counts({10, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0}));
}

TEST_F(DivideTest, ParentGivesOneRowPerLowestLevelDepartmentWithItsEmployeesSums) {
    const DivideResult parent = divide("01");
    ASSERT_TRUE(parent.outcome.ok);
    EXPECT_FALSE(parent.sheet.employeeRows);
    EXPECT_EQ(parent.sheet.headings().at(0), "部门编号");
    ASSERT_EQ(codes(parent.sheet), (std::vector<std::string>{"0101", "0102"}));
    EXPECT_EQ(parent.sheet.rows[0].name, "办公室");
    for (const DivideRow& dep : parent.sheet.rows) {
        const DivideResult own = divide(dep.code);
        DivideRow sum;
        for (const DivideRow& e : own.sheet.rows) {
            sum.netFen += e.netFen;
            for (std::size_t i = 0; i < kDenominations; ++i)
                sum.counts[i] += e.counts[i];
        }
        EXPECT_EQ(dep.netFen, sum.netFen) << dep.code;
        EXPECT_EQ(dep.counts, sum.counts) << dep.code;
    }
    EXPECT_EQ(parent.sheet.rows[0].cells()[2], "1189.18");
}

TEST_F(DivideTest, NoCodeCoversEveryLowestLevelDepartmentAndTheTotalAddsThemUp) {
    const DivideResult all = divide("", true);
    ASSERT_TRUE(all.outcome.ok);
    EXPECT_EQ(all.sheet.depName, "全体部门");
    ASSERT_EQ(codes(all.sheet), (std::vector<std::string>{"0101", "0102", "02", "03", kDivideTotal}));
    EXPECT_TRUE(all.sheet.hasTotal);
    EXPECT_EQ(all.sheet.dataRows(), 4);
    // A department without employees keeps its row, all zeros.
    EXPECT_EQ(all.sheet.rows[3].cells()[2], "0.00");
    EXPECT_EQ(all.sheet.rows[3].counts, NoteCounts{});
    const DivideRow& total = all.sheet.rows.back();
    EXPECT_EQ(total.cells()[2], "1190.62");
    EXPECT_EQ(valueOf(total.counts), 119062);
    EXPECT_EQ(total.counts, counts({11, 1, 3, 1, 1, 2, 1, 3, 3, 3, 3, 1}));
    EXPECT_EQ(std::string(kDivideTotal), "总   计");
}

TEST_F(DivideTest, UnknownDepartmentOrWildcardsFindNothing) {
    for (const char* code : {"09", "0%", "_1", "01'", "0101' or '1'='1"}) {
        const DivideResult r = divide(code);
        EXPECT_FALSE(r.outcome.ok) << code;
        EXPECT_EQ(r.outcome.message, "没有查到部门！") << code;
        EXPECT_TRUE(r.sheet.rows.empty()) << code;
    }
}

TEST_F(DivideTest, WildcardInADepartmentsOwnCodeMatchesOnlyItself) {
    s.taskConn.execute("Insert Into " + t.table("Depart") +
                       "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values('5%','百分','',1,0),"
                       "('5%1','百分一','',2,1),('501','五零一','',2,1)");
    pay("0005", "钱七", "5%1", 1, 10.0);
    pay("0006", "孙八", "501", 1, 20.0);
    const DivideResult r = divide("5%", true);
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_EQ(codes(r.sheet), (std::vector<std::string>{"5%1", kDivideTotal}));
    EXPECT_EQ(r.sheet.rows.back().cells()[2], "10.00");
}

TEST_F(DivideTest, EmptyLowestLevelDepartmentHasNoRowsAndNothingToPreview) {
    const DivideResult r = divide("03", true);
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_TRUE(r.sheet.employeeRows);
    EXPECT_TRUE(r.sheet.rows.empty());
    const auto none = print::noDataMessage(divideJob(s, r.sheet).grid(), true);
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(none->message, "没有数据可供预览！");
}

TEST_F(DivideTest, NetPayIsRecalculatedNotReadFromStore) {
    // The deduction changes the formula's result; -9999 counts as empty.
    t.value("0001", "F004", 88.88);
    t.value("0002", "F004", -9999.0);
    const DivideSheet sheet = divide("0101").sheet;
    EXPECT_EQ(sheet.rows[1].cells()[2], "100.00");
    EXPECT_EQ(sheet.rows[1].counts, counts({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(sheet.rows[0].cells()[2], "1000.30");
}

TEST_F(DivideTest, ExceptionSwitchDecidesWhetherAnExemptItemCounts) {
    s.taskConn.execute("Update " + t.table("Employee") + " Set F_NotCalc='F005' Where F_EmpNo='0001'");
    t.value("0001", "F004", 8.88);
    EXPECT_EQ(divide("0101").sheet.rows[1].cells()[2], "180.00");
    t.exceptions(true);
    EXPECT_EQ(divide("0101").sheet.rows[1].cells()[2], "188.88");
}

TEST_F(DivideTest, NegativeNetPayShowsTheAmountWithoutNotes) {
    t.value("0001", "F004", 200.0); // 188.88 - 200 = -11.12
    const DivideSheet emps = divide("0101", true).sheet;
    const std::vector<std::string> cells = emps.rows[1].cells();
    EXPECT_EQ(cells[2], "-11.12");
    for (std::size_t c = 3; c < cells.size(); ++c)
        EXPECT_EQ(cells[c], "") << c;
    // The total's net pay agrees with the pay sheet; its notes pay 1000.30.
    const DivideRow& total = emps.rows.back();
    EXPECT_EQ(total.cells()[2], "989.18");
    EXPECT_EQ(valueOf(total.counts), 100030);

    const DivideRow dep = divide("01").sheet.rows[0];
    EXPECT_EQ(dep.cells()[2], "989.18");
    EXPECT_EQ(dep.cells()[3], "10");
    EXPECT_EQ(valueOf(dep.counts), 100030);
}

TEST_F(DivideTest, PreviewJobCarriesTheSheetAndItsLines) {
    const DivideSheet sheet = divide("0101", true).sheet;
    print::clsGridPrint job = divideJob(s, sheet);
    EXPECT_EQ(job.formID(), 1134);
    EXPECT_EQ(job.settingA(), 3);
    ASSERT_EQ(job.grid().cells.size(), 4u);
    EXPECT_EQ(job.grid().cells[0].at(2), "实发工资");
    EXPECT_EQ(job.grid().cells[3].at(0), "总   计");
    EXPECT_TRUE(job.grid().isText(0));
    EXPECT_FALSE(job.grid().isText(5));
    const print::PageModel m = job.paginate();
    ASSERT_GE(m.pageCount(), 1);
    const print::Page& page = m.pages[0];
    EXPECT_TRUE(page.hasText("票额分割表"));
    EXPECT_TRUE(page.hasText("部门：办公室"));
    // All fifteen columns share the one portrait page.
    EXPECT_TRUE(page.hasText("第1／1页"));
    EXPECT_TRUE(page.hasText("1分"));
    EXPECT_TRUE(page.hasText("日期:2006年02月"));
    EXPECT_TRUE(page.hasText("制表:         管理员"));
    EXPECT_TRUE(page.hasText("张三"));
}

// The print engine's page model: rows per page, fixed columns repeated on
// horizontal pages, the page-number placeholders, projects shared by a form
// number and stored in the period's tables, the transient column state and
// payslip forms.
#include "print/screen_jobs.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

using namespace gzgl;
using namespace gzgl::print;

namespace {

// A grid of one heading row and rows data rows over cols columns, each
// widthMm wide; cell texts "r,c" and headings "H" + c.
PrintGrid makeGrid(int rows, int cols, double widthMm = 20) {
    PrintGrid g;
    g.fixedRows = 1;
    std::vector<std::string> head;
    for (int c = 0; c < cols; ++c)
        head.push_back("H" + std::to_string(c));
    g.cells.push_back(head);
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < cols; ++c)
            row.push_back(std::to_string(r) + "," + std::to_string(c));
        g.cells.push_back(row);
    }
    g.colWidthMm.assign(static_cast<std::size_t>(cols), widthMm);
    return g;
}

// Data rows of a page: texts that look like "r,c" in column 0.
int dataRowsOn(const Page& p) {
    int n = 0;
    for (const std::string& t : p.allTexts())
        if (t.size() > 2 && t.substr(t.size() - 2) == ",0")
            ++n;
    return n;
}

struct Pagination : ::testing::Test {
    test::PayrollTask task;
    Session& s = task.s;

    clsGridPrint job(const PrintGrid& g, long form = 9989, const char* pageLine = kPageLine) {
        clsGridPrint j = newJob(s, g, form);
        addTitle(j, "工资录入");
        addDepartmentAndPage(j, "一车间", pageLine);
        addDateAndMaker(j, s, 0);
        applySettings(j, 0, false);
        return j;
    }
    // Changes the stored project of the form through the engine.
    template <class F> void setUp(long form, F change) {
        clsGridPrint j = job(makeGrid(1, 1), form);
        PrintProject p = j.project();
        change(p);
        j.saveProject(p);
    }
    std::int64_t rowsIn(const char* suffix) {
        return s.taskConn.scalar("Select count(*) from " + task.table(suffix)).toInt();
    }
};

} // namespace

TEST_F(Pagination, RowsPerPageFromTheProject) {
    setUp(9989, [](PrintProject& p) { p.rows = 10; });
    const PageModel m = job(makeGrid(25, 3)).paginate();
    ASSERT_EQ(m.pageCount(), 3);
    EXPECT_EQ(dataRowsOn(m.pages[0]), 10);
    EXPECT_EQ(dataRowsOn(m.pages[2]), 5);
    EXPECT_TRUE(m.pages[2].hasText("24,0"));
    // The heading row is repeated on every page.
    EXPECT_TRUE(m.pages[1].hasText("H0"));
}

TEST_F(Pagination, BothPageNumberFormsOnPageOneOfThree) {
    setUp(9989, [](PrintProject& p) { p.rows = 10; });
    const PageModel full = job(makeGrid(25, 3)).paginate();
    EXPECT_TRUE(full.pages[0].hasText("第1／3页"));
    EXPECT_TRUE(full.pages[2].hasText("第3／3页"));
    const PageModel ascii = job(makeGrid(25, 3), 9989, kPageLineAscii).paginate();
    EXPECT_TRUE(ascii.pages[0].hasText("第1/3页"));
    EXPECT_TRUE(full.pages[0].hasText("部门：一车间"));
    EXPECT_TRUE(full.pages[0].hasText("日期:2006年02月"));
}

TEST_F(Pagination, FixedColumnsRepeatOnTheSecondHorizontalPage) {
    setUp(9989, [](PrintProject& p) { p.fixCols = 2; });
    // 14 columns of 20 mm do not fit 180 mm of paper width.
    const PageModel m = job(makeGrid(3, 14)).paginate();
    ASSERT_EQ(m.pageCount(), 2);
    EXPECT_EQ(m.pages[1].part, 1);
    for (const char* fixed : {"H0", "H1", "0,0", "2,1"})
        EXPECT_TRUE(m.pages[1].hasText(fixed)) << fixed;
    EXPECT_TRUE(m.pages[1].hasText("H13"));
    EXPECT_FALSE(m.pages[1].hasText("H2"));
    EXPECT_FALSE(m.pages[0].hasText("H13"));
    EXPECT_TRUE(m.pages[1].hasText("第2／2页"));
}

TEST_F(Pagination, ColumnsWithoutWidthOrOutOfPageAreNotPrinted) {
    PrintGrid g = makeGrid(2, 4);
    g.colWidthMm[1] = 0;
    setUp(9989, [](PrintProject& p) { p.columns.push_back({3, 20, 0, 1, 0}); });
    const PageModel m = job(g).paginate();
    EXPECT_TRUE(m.pages[0].hasText("H0"));
    EXPECT_FALSE(m.pages[0].hasText("H1"));
    EXPECT_TRUE(m.pages[0].hasText("H2"));
    EXPECT_FALSE(m.pages[0].hasText("H3"));
}

TEST_F(Pagination, AFormWithoutProjectGetsTheDefaultWritten) {
    EXPECT_EQ(rowsIn("PrnPrj"), 0);
    job(makeGrid(2, 3)).paginate();
    EXPECT_EQ(rowsIn("PrnPrj"), 1);
    EXPECT_EQ(rowsIn("PrnHead"), 3);
    EXPECT_EQ(rowsIn("PrnFoot"), 2);
    EXPECT_EQ(rowsIn("StdPrnCol"), 3);
    // A second job of the form adds nothing.
    job(makeGrid(2, 3)).paginate();
    EXPECT_EQ(rowsIn("PrnPrj"), 1);
}

TEST_F(Pagination, OneFormNumberSharesOneSetup) {
    setUp(108, [](PrintProject& p) { p.rows = 4; });
    // Both summaries print with 108 and so with four rows a page.
    EXPECT_EQ(job(makeGrid(8, 2), 108).paginate().pageCount(), 2);
    EXPECT_EQ(job(makeGrid(8, 2), 108).paginate().pageCount(), 2);
    EXPECT_EQ(job(makeGrid(8, 2), 118).paginate().pageCount(), 1);
}

TEST_F(Pagination, TransientColumnPrintsAgainAfterTheReset) {
    setUp(108, [](PrintProject& p) { p.columns = {{0, 20, 0, 1, 1}, {1, 20, 0, 1, -1}}; });
    EXPECT_FALSE(job(makeGrid(1, 2), 108).paginate().pages[0].hasText("H1"));
    EXPECT_EQ(resetTransientColumns(s), 1);
    EXPECT_TRUE(job(makeGrid(1, 2), 108).paginate().pages[0].hasText("H1"));
}

TEST_F(Pagination, UsersOwnLineTextIsKept) {
    setUp(9989, [](PrintProject& p) {
        p.heads[0].pkg = false;
        p.heads[0].content = "本厂工资表";
    });
    const PageModel m = job(makeGrid(1, 2)).paginate();
    EXPECT_TRUE(m.pages[0].hasText("本厂工资表"));
    EXPECT_FALSE(m.pages[0].hasText("工资录入"));
}

TEST_F(Pagination, PayslipsShareAPage) {
    setUp(128, [](PrintProject& p) { p.forms = 3; });
    clsGridPrint j = job(makeGrid(7, 3), 128);
    j.SetSettingC(true);
    const PageModel m = j.paginate();
    ASSERT_EQ(m.pageCount(), 3);
    EXPECT_EQ(dataRowsOn(m.pages[0]), 3);
    EXPECT_EQ(dataRowsOn(m.pages[2]), 1);
    // Every payslip carries its own heading row.
    int headings = 0;
    for (const std::string& t : m.pages[0].allTexts())
        headings += t == "H0";
    EXPECT_EQ(headings, 3);
}

TEST_F(Pagination, ZeroAndThousandsSettings) {
    PrintGrid g = makeGrid(0, 2);
    g.cells.push_back({"0.00", "1234567.50"});
    setUp(9989, [](PrintProject& p) {
        p.zero = 1;
        p.thousand = true;
    });
    const PageModel m = job(g).paginate();
    EXPECT_FALSE(m.pages[0].hasText("0.00"));
    EXPECT_TRUE(m.pages[0].hasText("1,234,567.50"));
}

TEST_F(Pagination, GridWithOnlyHeadingRowsHasNothingToPrint) {
    const PrintGrid g = makeGrid(0, 3);
    ASSERT_TRUE(noDataMessage(g, true));
    EXPECT_EQ(noDataMessage(g, true)->message, "没有数据可供预览！");
    EXPECT_EQ(noDataMessage(g, false)->message, "没有数据可供打印！");
    EXPECT_FALSE(noDataMessage(makeGrid(1, 3), true));
}

TEST_F(Pagination, EntryGridLeavesOutUnprintedItemsAndRoundOffColumns) {
    task.item("F010", "基本工资");
    task.item("F011", "奖金");
    s.taskConn.execute("Update " + task.table("Item") + " set F_Print=0 where F_Code='F011'");
    task.employee("0001", "张三");
    const monthly::LoadedGrid loaded = monthly::loadWorkGrid(s, {}, true);
    const PrintGrid g = entryPrintGrid(s, loaded.grid, loaded.columns);
    ASSERT_EQ(g.dataRows(), 1);
    for (int c = 0; c < g.cols(); ++c) {
        const std::string& code = loaded.columns[static_cast<std::size_t>(c)].code;
        const bool hidden = code == "F011" || code == "FFFF" || code == "FFFE" || code == "FFFD";
        EXPECT_EQ(g.colWidthMm[static_cast<std::size_t>(c)] == 0, hidden) << code;
    }
}

TEST(FontSpecs, FaceAndSizeAreTheThirdAndFourthFields) {
    const FontSpec title = FontSpec::parse(kTitleFont);
    EXPECT_TRUE(title.bold);
    EXPECT_EQ(title.face, "宋体");
    EXPECT_EQ(title.size, 15);
    EXPECT_EQ(FontSpec::parse(kTextFont).size, 9);
    EXPECT_EQ(FontSpec::parse("").size, 9);
    EXPECT_EQ(FontSpec::parse(title.text()).size, 15);
}

// Print projects as the page setup stores them: every field read back, a
// failed save that leaves the stored setup as it was, the user's own line
// texts, the setup's checks, the header layout and the entry grid's own
// job's title line.
#include "print/screen_jobs.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

using namespace gzgl;
using namespace gzgl::print;

namespace {

struct Projects : ::testing::Test {
    test::PayrollTask task;
    Session& s = task.s;
    PrintTables tables = PrintTables::forPrefix(s.taskPrefix());
};

PrintProject everyFieldSet() {
    PrintProject p = defaultProject(118);
    p.prjID = 4;
    p.name = "宽表";
    p.rows = 33;
    p.spRow = 2;
    p.rowHeight = 7.5;
    p.forms = 3;
    p.formDist = 4.5;
    p.fixCols = 1;
    p.pageHead = false;
    p.pageFoot = false;
    p.preNext = 1;
    p.preNextCol = 2;
    p.zero = 1;
    p.thousand = true;
    p.top = 11;
    p.bottom = 12;
    p.left = 13;
    p.right = 14;
    p.colHeadFont = "1,0,黑体,10,0,0,0,";
    p.dataFont = "0,1,楷体,8,0,0,0,";
    p.pkg = 1;
    p.salaryHeight = 3.5;
    p.paperWidth = 297;
    p.paperHeight = 420;
    p.landscape = true;
    p.iPara4 = 9;
    p.sPara5 = "x";
    p.sPara6 = "y";
    p.heads = {{true, true, kTitleFont, 1, 0, 10, "职工工资发放表"}, {false, false, kTextFont, 2, 3, 1, "本厂"}};
    p.foots = {{true, true, kTextFont, 0, 0, 1, "日期:"}};
    p.columns = {{0, 18, 0, 1, 1}, {1, 25.5, 2, 0, 0}, {2, 30, 1, 2, -1}};
    return p;
}

TEST_F(Projects, EveryFieldIsReadBackAsSaved) {
    const PrintProject p = everyFieldSet();
    saveProject(s.taskConn, tables, p);
    const std::optional<PrintProject> back = loadDefaultProject(s.taskConn, tables, 118);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, p);
    EXPECT_FALSE(loadDefaultProject(s.taskConn, tables, 128));
}

TEST_F(Projects, SavingAgainReplacesTheLinesAndColumns) {
    PrintProject p = everyFieldSet();
    saveProject(s.taskConn, tables, p);
    p.heads.pop_back();
    p.columns.resize(1);
    saveProject(s.taskConn, tables, p);
    EXPECT_EQ(*loadDefaultProject(s.taskConn, tables, 118), p);
    EXPECT_EQ(s.taskConn.scalar("Select count(*) from " + tables.col).toInt(), 1);
}

TEST_F(Projects, AnotherSavedProjectBecomesTheFormsDefault) {
    PrintProject first = everyFieldSet();
    saveProject(s.taskConn, tables, first);
    PrintProject second = first;
    second.prjID = 7;
    second.rows = 5;
    saveProject(s.taskConn, tables, second);
    EXPECT_EQ(loadDefaultProject(s.taskConn, tables, 118)->prjID, 7);
    EXPECT_EQ(s.taskConn.scalar("Select count(*) from " + tables.prj + " where F_defPrj=1").toInt(), 1);
}

TEST_F(Projects, FailedSaveLeavesTheStoredSetup) {
    const PrintProject p = everyFieldSet();
    saveProject(s.taskConn, tables, p);
    PrintProject changed = p;
    changed.rows = 99;
    // The columns' table is gone: the save fails after the project row.
    s.taskConn.execute("Drop Table " + tables.col);
    EXPECT_THROW(saveProject(s.taskConn, tables, changed), DbError);
    EXPECT_EQ(s.taskConn.scalar("Select F_Rows from " + tables.prj).toInt(), 33);
    EXPECT_EQ(s.taskConn.scalar("Select count(*) from " + tables.head).toInt(), 2);
}

TEST(PrintLines, TheProgramsTextUnlessTheUserWroteHisOwn) {
    const std::vector<PrintLine> job{{true, true, kTextFont, 0, 0, 1, "部门：二车间"}};
    std::vector<PrintLine> stored{{true, true, kTextFont, 0, 0, 1, "部门：一车间"},
                                  {true, false, kTextFont, 2, 0, 1, "附注"}};
    EXPECT_EQ(effectiveLines(job, stored)[0].content, "部门：二车间");
    EXPECT_EQ(effectiveLines(job, stored)[1].content, "附注");

    struct Case {
        const char* typed;
        bool pkg;
        const char* printed;
    } cases[] = {
        {"部门：二车间", true, "部门：二车间"}, // shown text left alone
        {"本厂全体", false, "本厂全体"},       // the user's own
        {"  ", true, "部门：二车间"},          // emptied: the program's again
    };
    for (const Case& c : cases) {
        PrintLine l = stored[0];
        setLineText(l, "部门：二车间", c.typed);
        EXPECT_EQ(l.pkg, c.pkg) << c.typed;
        EXPECT_EQ(effectiveLines(job, {l})[0].content, c.printed) << c.typed;
    }
}

TEST(PageSetupChecks, RefusesWhatLeavesNoRoomOrCannotPrint) {
    EXPECT_FALSE(checkPageSetup(defaultProject(9989)));
    struct Case {
        const char* what;
        void (*change)(PrintProject&);
    } cases[] = {
        {"left and right margins", [](PrintProject& p) { p.left = p.right = 90; }},
        {"top margin", [](PrintProject& p) { p.top = 270; }},
        {"negative margin", [](PrintProject& p) { p.bottom = -1; }},
        {"landscape width", [](PrintProject& p) {
             p.landscape = true;
             p.top = p.bottom = 90;
         }},
        {"heading font", [](PrintProject& p) { p.colHeadFont = "0,0,宋体,90,0,0,0,"; }},
        {"data font", [](PrintProject& p) { p.dataFont = "0,0,宋体,3,0,0,0,"; }},
        {"row height", [](PrintProject& p) { p.rowHeight = 80; }},
        {"no row height", [](PrintProject& p) { p.rowHeight = 0; }},
    };
    for (const Case& c : cases) {
        PrintProject p = defaultProject(9989);
        c.change(p);
        EXPECT_TRUE(checkPageSetup(p)) << c.what;
    }
}

TEST_F(Projects, DepartmentAndPageLineShareOneTextLine) {
    PrintGrid g;
    g.cells = {{"工号"}, {"0001"}};
    g.colWidthMm = {20};
    clsGridPrint job = rosterJob(s, g, "办公室");
    const PageModel m = job.paginate();
    const auto find = [&](const std::string& t) {
        for (const TextItem& i : m.pages[0].texts)
            if (i.text == t)
                return i;
        ADD_FAILURE() << t;
        return TextItem{};
    };
    const TextItem title = find("部门人员管理表"), dep = find("部门：办公室"), page = find("第1／1页");
    EXPECT_EQ(dep.y, page.y);
    EXPECT_GT(dep.y, title.y);
    EXPECT_EQ(title.align, 1);
    EXPECT_EQ(page.align, 2);
    EXPECT_EQ(title.font, kTitleFont);
    // The footer: date on the left, the maker with nine blanks on the right,
    // at the bottom of the paper, below the table.
    const TextItem maker = find("制表:         " + s.curOperName), date = find("日期:2006年02月");
    EXPECT_EQ(maker.y, date.y);
    EXPECT_GT(date.y, find("0001").y);
    EXPECT_GT(date.y, 250);
    EXPECT_EQ(job.settingA(), 3);
}

TEST_F(Projects, EntryGridTitleIsALeftAlignedTextLine) {
    task.employee("0001", "张三");
    const monthly::LoadedGrid loaded = monthly::loadWorkGrid(s, {}, true);
    clsGridPrint job = entryGridJob(s, loaded.grid, loaded.columns, "全体部门");
    const PageModel m = job.paginate();
    ASSERT_EQ(m.pageCount(), 1);
    int titles = 0;
    for (const TextItem& t : m.pages[0].texts)
        if (t.text == "工资录入") {
            ++titles;
            EXPECT_EQ(t.align, 0);
            EXPECT_EQ(t.font, kTextFont);
        }
    EXPECT_EQ(titles, 1);
    EXPECT_TRUE(m.pages[0].hasText("张三"));
}

} // namespace

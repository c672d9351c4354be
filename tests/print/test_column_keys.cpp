// The entry grid's print columns belong to their items: moving, adding or
// deleting an item leaves every other item's print width and alignment
// with it, a changed F_Width reaches the next print, rows an earlier
// version stored by grid position are taken over by their items, and the
// default project repeats number and name on every horizontal page.
#include "items/items.h"
#include "print/screen_jobs.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <map>

using namespace gzgl;
using namespace gzgl::print;

namespace {

// A month with three items of the user's and one employee.
struct Month {
    test::PayrollTask task;
    Session& s = task.s;
    PrintTables tables = PrintTables::forPrefix(s.taskPrefix());

    Month() {
        task.item("F010", "基本工资");
        task.item("F011", "奖金");
        task.item("F012", "津贴");
        task.employee("0001", "张三");
    }
    clsGridPrint entryJob() {
        const monthly::LoadedGrid g = monthly::loadWorkGrid(s, {}, true);
        return entryGridJob(s, g.grid, g.columns, "全体部门");
    }
    // The user's own width and heading alignment of each item, as the page
    // setup stores them.
    void setOwn(const std::map<std::string, std::pair<double, int>>& own) {
        clsGridPrint j = entryJob();
        PrintProject p = j.project();
        for (const auto& [code, wa] : own) {
            PrintColumn* c = p.column(-1, code);
            ASSERT_TRUE(c) << code;
            c->width = wa.first;
            c->headAlign = wa.second;
        }
        j.saveProject(p);
    }
};

struct ColumnKeys : ::testing::Test, Month {};

// The heading cell of a caption on the first page that has it: its box
// plus the cell padding is the column's width.
std::optional<TextItem> heading(const PageModel& m, const std::string& caption) {
    for (const Page& p : m.pages)
        for (const TextItem& t : p.texts)
            if (t.text == caption)
                return t;
    return std::nullopt;
}
double widthOf(const PageModel& m, const std::string& caption) {
    const auto t = heading(m, caption);
    return t ? t->w + 2.0 : 0.0;
}

} // namespace

TEST(ItemColumns, EveryItemKeepsItsOwnWidthWhenItemsMoveComeOrGo) {
    struct Case {
        const char* what;
        void (*change)(Month&);
        std::vector<const char*> kept; // the items left
    } cases[] = {
        {"津贴 moved up",
         [](Month& t) { ASSERT_TRUE(items::moveItem(t.s, "F012", true).ok); },
         {"基本工资", "奖金", "津贴"}},
        {"基本工资 moved down",
         [](Month& t) { ASSERT_TRUE(items::moveItem(t.s, "F010", false).ok); },
         {"基本工资", "奖金", "津贴"}},
        {"an item added before 奖金",
         [](Month& t) {
             items::ItemFields f;
             f.name = "加班费";
             f.type = "数字";
             f.prec = "2";
             const items::AddItemResult added = items::addItem(t.s, f);
             ASSERT_TRUE(added.outcome.ok) << added.outcome.message;
             ASSERT_TRUE(items::moveItem(t.s, added.code, true).ok);
             ASSERT_TRUE(items::moveItem(t.s, added.code, true).ok);
         },
         {"基本工资", "奖金", "津贴"}},
        {"基本工资 deleted",
         [](Month& t) {
             t.task.prompt.answers = {true};
             ASSERT_TRUE(items::deleteItem(t.s, t.task.prompt, "F010").ok) << t.task.prompt.last();
         },
         {"奖金", "津贴"}},
    };
    const std::map<std::string, std::pair<double, int>> own{
        {"F010", {21, 0}}, {"F011", {27, 2}}, {"F012", {33, 1}}};
    const std::map<std::string, std::string> codeOf{{"基本工资", "F010"}, {"奖金", "F011"}, {"津贴", "F012"}};
    for (const Case& c : cases) {
        Month t;
        t.setOwn(own);
        c.change(t);
        const PageModel m = t.entryJob().paginate();
        for (const char* name : c.kept) {
            const auto& [width, align] = own.at(codeOf.at(name));
            EXPECT_DOUBLE_EQ(widthOf(m, name), width) << c.what << ": " << name;
            EXPECT_EQ(heading(m, name)->align, align) << c.what << ": " << name;
        }
        if (heading(m, "加班费")) {
            EXPECT_DOUBLE_EQ(widthOf(m, "加班费"), 15.0) << c.what;
        }
        EXPECT_FALSE(c.kept.size() == 2 && heading(m, "基本工资")) << c.what;
    }
}

TEST_F(ColumnKeys, AChangedItemWidthReachesTheNextPrint) {
    // The entry screen was opened before the change and prints from what
    // it loaded then.
    const monthly::LoadedGrid open = monthly::loadWorkGrid(s, {}, true);
    EXPECT_DOUBLE_EQ(widthOf(entryJob().paginate(), "奖金"), 15.0);
    s.taskConn.execute("Update " + task.table("Item") + " set F_Width=? where F_Code='F011'", {42});
    EXPECT_DOUBLE_EQ(widthOf(entryJob().paginate(), "奖金"), 42.0);
    EXPECT_DOUBLE_EQ(widthOf(entryGridJob(s, open.grid, open.columns, "全体部门").paginate(), "奖金"), 42.0);
    // A width the user gave the column in the page setup is the column's
    // own and stays.
    setOwn({{"F011", {25, 1}}});
    s.taskConn.execute("Update " + task.table("Item") + " set F_Width=? where F_Code='F011'", {50});
    EXPECT_DOUBLE_EQ(widthOf(entryJob().paginate(), "奖金"), 25.0);
}

TEST_F(ColumnKeys, RowsStoredByPositionAreTakenOverByTheirItems) {
    // What an earlier version stored: a row per grid position with the
    // screen's width (20 mm for a column the screen hid), the user's 40 mm
    // for 奖金, 津贴 left out of the page, and a row beyond the grid.
    const monthly::LoadedGrid g = monthly::loadWorkGrid(s, {}, true);
    PrintProject old = defaultProject(kFormEntryGrid);
    old.fixCols = 0;
    for (int c = 0; c < static_cast<int>(g.columns.size()); ++c) {
        const std::string& code = g.columns[static_cast<std::size_t>(c)].code;
        const bool hidden = code == "FFFF" || code == "FFFE" || code == "FFFD";
        old.columns.push_back({c,
                               code == "F011" ? 40.0
                               : hidden       ? 20.0
                                              : 15.0,
                               2, 1, code == "F012" ? 0 : 1});
    }
    old.columns.push_back({99, 50, 0, 1, 1});
    saveProject(s.taskConn, tables, old);

    const PageModel first = entryJob().paginate();
    EXPECT_DOUBLE_EQ(widthOf(first, "奖金"), 40.0);
    EXPECT_DOUBLE_EQ(widthOf(first, "基本工资"), 15.0);
    EXPECT_FALSE(heading(first, "津贴"));
    const PrintProject now = *loadDefaultProject(s.taskConn, tables, kFormEntryGrid);
    EXPECT_EQ(now.fixCols, 0);
    EXPECT_EQ(now.columns.size(), old.columns.size());
    ASSERT_TRUE(now.column(-1, "F011"));
    EXPECT_EQ(now.column(-1, "F011")->width, 40.0);
    EXPECT_EQ(now.column(-1, "F010")->width, 0.0); // the screen's width: follows F_Width from now on
    EXPECT_EQ(now.column(99)->width, 50.0);
    EXPECT_EQ(s.taskConn.scalar("Select F_Col from " + tables.col + " where F_ColWidth=40").toInt(),
              0x46303131);

    ASSERT_TRUE(items::moveItem(s, "F012", true).ok);
    const PageModel moved = entryJob().paginate();
    EXPECT_DOUBLE_EQ(widthOf(moved, "奖金"), 40.0);
    EXPECT_FALSE(heading(moved, "津贴"));
}

TEST_F(ColumnKeys, DefaultProjectRepeatsNumberAndNameOnEveryHorizontalPage) {
    for (int i = 13; i < 30; ++i)
        task.item("F0" + std::to_string(i), "项目" + std::to_string(i));
    const PageModel m = entryJob().paginate();
    ASSERT_GE(m.pageCount(), 2);
    for (const Page& p : m.pages)
        for (const char* t : {"工号", "姓名", "0001", "张三"})
            EXPECT_TRUE(p.hasText(t)) << "page " << p.number << ": " << t;
    EXPECT_EQ(s.taskConn.scalar("Select F_FixCols from " + tables.prj).toInt(), 2);

    // A project stored with its own setting keeps it.
    clsGridPrint j = entryJob();
    PrintProject p = j.project();
    p.fixCols = 0;
    j.saveProject(p);
    EXPECT_FALSE(entryJob().paginate().pages.back().hasText("张三"));
}

TEST(ColumnKeyCodes, ItemCodesAndGridIndexesNeverMeet) {
    EXPECT_EQ(codeColumnKey("F010"), 0x46303130);
    EXPECT_EQ(codeOfColumnKey(0x46303130), "F010");
    EXPECT_EQ(codeOfColumnKey(codeColumnKey("FFFH")), "FFFH");
    for (const char* bad : {"", "F01", "F0100", "F 10",
                            "F\x01"
                            "10"})
        EXPECT_EQ(codeColumnKey(bad), 0) << bad;
    for (std::int64_t index : {0, 5, 99, 16777215})
        EXPECT_EQ(codeOfColumnKey(index), "") << index;
    PrintColumn byIndex{7, 10, 0, 1, 1};
    PrintColumn byCode{-1, 10, 0, 1, 1, "F010"};
    EXPECT_EQ(byIndex.key(), 7);
    EXPECT_EQ(byCode.key(), 0x46303130);
}

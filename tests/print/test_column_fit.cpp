// Figures print whole: a column too narrow for its widest figure is widened
// for the job, the data font gets smaller (never below the minimum) where
// that saves a horizontal page, and what still does not fit continues on a
// horizontal page. Texts are measured by a fake whose widths are simple to
// reckon with.
#include "print/screen_jobs.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

using namespace gzgl;
using namespace gzgl::print;

namespace {

// 0.2 mm per character and point: 19 digits at 9 pt are 34.2 mm.
double fakeWidth(std::string_view text, const FontSpec& f) {
    return 0.2 * f.size * static_cast<double>(text.size());
}

constexpr const char* kAccount = "6222021234567890123";

// One heading row and one data row of cols columns, 15 mm each; the
// columns listed in figures hold the 19-digit account, the others "x".
PrintGrid gridWithFigures(int cols, const std::vector<int>& figures) {
    PrintGrid g;
    g.cells.resize(2);
    for (int c = 0; c < cols; ++c) {
        g.cells[0].push_back("H" + std::to_string(c));
        g.cells[1].push_back("x");
    }
    for (int c : figures)
        g.cells[1][static_cast<std::size_t>(c)] = kAccount;
    g.colWidthMm.assign(static_cast<std::size_t>(cols), 15.0);
    return g;
}

struct ColumnFit : ::testing::Test {
    test::PayrollTask task;
    Session& s = task.s;

    clsGridPrint job(const PrintGrid& g, bool measured = true) {
        clsGridPrint j = newJob(s, g, 9989);
        addHeadLine(j, "工资录入", 0, 10.0);
        applySettings(j, 0, false);
        if (measured)
            j.SetTextMeasure(fakeWidth);
        return j;
    }
    template <class F> void setUp(F change) {
        clsGridPrint j = job(gridWithFigures(1, {}));
        PrintProject p = j.project();
        change(p);
        j.saveProject(p);
    }
};

// The data cells (not the heading row) of every page.
std::vector<TextItem> dataCells(const PageModel& m) {
    std::vector<TextItem> out;
    for (const Page& p : m.pages)
        for (const TextItem& t : p.texts)
            if (t.text == kAccount || t.text == "x" || t.text.find(',') != std::string::npos)
                out.push_back(t);
    return out;
}

} // namespace

TEST_F(ColumnFit, FiguresFitTheirCellsAndTheFontStaysReadable) {
    struct Case {
        const char* what;
        int cols;
        std::vector<int> figures;
        int fixCols;
        double dataSize;
        int pages;       // horizontal pages
        double usedSize; // the data font printed
    } cases[] = {
        // 15 + 36.2 + 15 mm fit the 180 mm of an A4 page at once.
        {"one narrow column widened", 3, {1}, 2, 9, 1, 9},
        // 8 columns, 4 widened: 204.8 mm at 9 pt, 174.4 mm at 7 pt.
        {"font made smaller to keep one page", 8, {2, 3, 4, 5}, 0, 9, 1, 7},
        // Ten widened columns do not fit even at 6 pt (248 mm): the font
        // is made smaller only as far as it saves a page (3 -> 2 pages, at
        // 8.5 pt five columns of 34.3 mm fit).
        {"no smaller than needed, then a horizontal page", 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 0, 9, 2, 8.5},
        // One figure among columns that need two pages anyway: no page to
        // save, so the font stays.
        {"nothing to save, the font stays", 14, {13}, 0, 9, 2, 9},
        // A project font below the minimum is neither shrunk nor enlarged.
        {"a small project font is kept", 8, {2, 3, 4, 5}, 0, 5, 1, 5},
    };
    for (const Case& c : cases) {
        setUp([&](PrintProject& p) {
            p.fixCols = c.fixCols;
            p.dataFont = "0,0,宋体," + std::to_string(static_cast<int>(c.dataSize)) + ",0,0,0,";
        });
        const PageModel m = job(gridWithFigures(c.cols, c.figures)).paginate();
        EXPECT_EQ(m.pageCount(), c.pages) << c.what;
        for (const TextItem& t : dataCells(m)) {
            const FontSpec f = FontSpec::parse(t.font);
            EXPECT_EQ(f.size, c.usedSize) << c.what;
            EXPECT_GE(f.size, std::min(c.dataSize, kMinDataFontPt)) << c.what;
            if (t.text == kAccount) {
                EXPECT_GE(t.w + 1e-9, fakeWidth(t.text, f)) << c.what;
                EXPECT_TRUE(t.whole) << c.what;
            }
            // No cell reaches past the printable width.
            EXPECT_LE(t.x + t.w, 210 - 15 + 1e-9) << c.what;
        }
    }
}

TEST_F(ColumnFit, ThousandsSeparatorsAreMeasuredAsPrinted) {
    setUp([](PrintProject& p) { p.thousand = true; });
    PrintGrid g = gridWithFigures(2, {});
    g.cells[1][1] = "52234567.89";
    const PageModel m = job(g).paginate();
    ASSERT_TRUE(m.pages[0].hasText("52,234,567.89"));
    for (const TextItem& t : m.pages[0].texts)
        if (t.text == "52,234,567.89") {
            EXPECT_GE(t.w, fakeWidth(t.text, FontSpec::parse(t.font)));
        }
}

TEST_F(ColumnFit, AccountNumbersGetNoThousandsSeparators) {
    setUp([](PrintProject& p) {
        p.thousand = true;
        p.zero = 1;
    });
    PrintGrid g = gridWithFigures(4, {1});
    g.cells[1][0] = "1234567.50";
    g.cells[1][2] = "0";
    g.cells[1][3] = "0.00";
    g.colText = {false, true, true, false};
    const Page page = job(g).paginate().pages[0];
    EXPECT_TRUE(page.hasText("1,234,567.50"));
    EXPECT_TRUE(page.hasText(kAccount));
    EXPECT_TRUE(page.hasText("0"));     // a text column's zero stays
    EXPECT_FALSE(page.hasText("0.00")); // an amount's zero is left blank
}

TEST_F(ColumnFit, TextIsNotWidenedAndMayBeCut) {
    PrintGrid g = gridWithFigures(2, {});
    g.cells[1][1] = "欧阳娜娜娜娜娜娜娜娜娜";
    const PageModel m = job(g).paginate();
    for (const TextItem& t : m.pages[0].texts)
        if (t.text == g.cells[1][1]) {
            EXPECT_DOUBLE_EQ(t.w, 13.0);
            EXPECT_FALSE(t.whole);
        }
}

TEST_F(ColumnFit, WideningIsForTheJobNotStored) {
    const PageModel m = job(gridWithFigures(3, {1})).paginate();
    ASSERT_EQ(m.pageCount(), 1);
    const std::optional<PrintProject> stored =
        loadDefaultProject(s.taskConn, PrintTables::forPrefix(s.taskPrefix()), 9989);
    ASSERT_TRUE(stored);
    for (const PrintColumn& c : stored->columns)
        EXPECT_EQ(c.width, 0) << c.col;
    // A later month with short figures prints the screen's width again.
    const PageModel later = job(gridWithFigures(3, {})).paginate();
    for (const TextItem& t : later.pages[0].texts)
        if (t.text == "x") {
            EXPECT_DOUBLE_EQ(t.w, 13.0);
        }
}

TEST_F(ColumnFit, WithoutFontsTheEstimateStillWidens) {
    const PageModel m = job(gridWithFigures(3, {1}), false).paginate();
    const FontSpec nine = FontSpec::parse("0,0,宋体,9,0,0,0,");
    for (const TextItem& t : m.pages[0].texts)
        if (t.text == kAccount) {
            EXPECT_GE(t.w, estimateTextWidthMm(kAccount, nine));
        }
    // The estimate allows 0.6 em a digit, wider than any face's digits.
    EXPECT_NEAR(estimateTextWidthMm("0123456789", nine), 10 * 0.6 * 9 * 0.3528, 1e-9);
    EXPECT_NEAR(estimateTextWidthMm("工资", nine), 2 * 9 * 0.3528, 1e-9);
}

TEST(Figures, WhatMustPrintWhole) {
    struct Case {
        const char* text;
        bool figure;
    } cases[] = {
        {"6222021234567890123", true},
        {"52,234,567.89", true},
        {"-35.00", true},
        {"11010519491231002X", true},
        {"2006-02-01", true},
        {"0001", true},
        {"张三", false},
        {"员工12", false},
        {"", false},
        {"ABC", false},
        {"  ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isFigure(c.text), c.figure) << c.text;
}

// The entry grid's row after an edit against a full recalculation of what
// is stored: the one-row pass must give the row a fresh screen would show,
// also where a line assigns nothing (tax below the threshold).
#include "core/startup.h"
#include "monthly/entry.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <random>

using namespace gzgl;
using namespace gzgl::monthly;

namespace {

// Gross F003, allowance F004 and deduction F005 (inputs), taxable F006, tax
// F007 from three bracket lines that assign nothing up to 800, a whole
// number F008 (precision 0), net pay rounded off to the yuan. 0003 is
// exempt from tax (F_NotCalc) when the exceptions are on.
struct EntryRecalcTest : ::testing::Test {
    test::PayrollTask t{3};
    Session& s = t.s;
    SilentProgress progress;

    EntryRecalcTest() {
        t.item("F004", "津贴");
        t.item("F005", "扣款");
        t.item("F006", "应税", "数字", 2, false);
        t.item("F007", "所得税");
        t.item("F008", "整数", "数字", 0);
        t.formula("F006", "F003+F004-F005");
        t.formula("F007", "{[F006-800>0]&[F006-800<=500],(F006-800)*0.05}");
        t.formula("F007", "{[F006-800>500]&[F006-800<=2000],(F006-800)*0.10-25}");
        t.formula("F007", "{F006-800>2000,(F006-800)*0.15-125}");
        t.formula("F000", "F006-F007+F008");
        for (int i = 1; i <= 4; ++i) {
            const std::string no = "000" + std::to_string(i);
            t.employee(no, "人" + no, "01", i, i == 3 ? "F007" : "");
            t.value(no, "F003", 500.0 * i);
            t.value(no, "FFFF", 0.25 * i);
        }
    }

    // The grid as a fresh screen shows it: loaded and fully recalculated.
    calc::WorkGrid fresh() {
        calc::WorkGrid g = loadWorkGrid(s, {}, false).grid;
        calc::RecalculateGrid(s, g, {s.roundOffMode, IsNotCalcOn(s)}, progress);
        return g;
    }
    static int rowOf(const calc::WorkGrid& g, const std::string& empNo) {
        for (int r = calc::kFirstEmployeeRow; r < g.rows(); ++r)
            if (g.cell(r, 0) == empNo)
                return r;
        return -1;
    }
    static std::string cell(const calc::WorkGrid& g, const std::string& empNo, const std::string& code) {
        return g.cell(rowOf(g, empNo), g.columnOf(code));
    }
    EditResult edit(SalaryEntry& e, const std::string& empNo, const std::string& code,
                    const std::string& entry) {
        const int r = rowOf(e.grid(), empNo), c = e.grid().columnOf(code);
        return e.endInputEdit(r, c, e.grid().cell(r, c), entry);
    }
};

TEST_F(EntryRecalcTest, TaxCellBelowThresholdDoesNotKeepItsPreviousValue) {
    SalaryEntry e(s);
    e.open(progress);
    struct Step {
        const char* entry;
        const char* tax;
        const char* net;
    };
    // 0001: F003 500, FFFF 0.25. 12345678 is taxed at the top bracket; 100
    // leaves the taxable pay at 600, below the threshold, where no line
    // assigns: the tax is what a fresh screen shows, 0.00.
    const Step steps[] = {
        {"12345678", "1851681.70", "10494496.00"},
        {"100", "0.00", "600.00"},
        {"900", "35.00", "1365.00"},
        {"0", "0.00", "500.00"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.entry);
        ASSERT_TRUE(edit(e, "0001", "F004", step.entry).written);
        EXPECT_EQ(cell(e.grid(), "0001", "F007"), step.tax);
        EXPECT_EQ(cell(e.grid(), "0001", "F000"), step.net);
        EXPECT_EQ(cell(fresh(), "0001", "F000"), step.net);
    }
}

// A seeded run of edits, accepted and refused, of input items and (with the
// exceptions on) of per-employee values of the tax item: after each one the
// screen's grid equals a fresh full recalculation of the database, cell by
// cell, in every row.
TEST_F(EntryRecalcTest, EditedRowEqualsAFullRecalculationOfTheStoredValues) {
    for (const bool exceptions : {false, true}) {
        SCOPED_TRACE(exceptions ? "exceptions on" : "exceptions off");
        t.exceptions(exceptions);
        SalaryEntry e(s);
        e.open(progress);
        std::mt19937 rng(exceptions ? 20260613 : 613);
        const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        const std::vector<std::string> inputs = {"F003", "F004", "F005", "F008", "FFFF"};
        const auto amount = [&]() -> std::string {
            switch (pick(8)) {
            case 0:
                return "";
            case 1:
                return "-" + std::to_string(pick(3000)) + "." + std::to_string(pick(100));
            case 2:
                return std::to_string(800 + pick(3)) + ".5"; // at the threshold
            case 3:
                return "99999999.99";
            case 4:
                return pick(2) ? "123456789" : "12x"; // refused
            default:
                return std::to_string(pick(20000)) + "." + std::to_string(pick(1000));
            }
        };
        int written = 0;
        for (int step = 0; step < 400; ++step) {
            const std::string empNo = "000" + std::to_string(1 + pick(4));
            const bool taxValue = exceptions && pick(5) == 0;
            const std::string code = taxValue ? "F007" : inputs[static_cast<std::size_t>(pick(5))];
            const std::string entry = amount();
            written += edit(e, empNo, code, entry).written;
            const calc::WorkGrid want = fresh();
            ASSERT_EQ(e.grid().rows(), want.rows());
            for (int r = calc::kFirstEmployeeRow; r < want.rows(); ++r)
                for (int c = 0; c < want.cols(); ++c)
                    ASSERT_EQ(e.grid().cell(r, c), want.cell(r, c))
                        << "step " << step << ": " << empNo << " " << code << " = \"" << entry << "\", at "
                        << want.cell(r, 0) << " " << want.cell(0, c);
        }
        EXPECT_GT(written, 200); // the run did change the month
    }
}

} // namespace

// The recalculation of a working grid: order of lines, rounding-off of net
// pay, the per-employee exceptions and the one-row pass after an edit.
#include "calc/recalc.h"
#include "calc/roundoff.h"
#include "core/numtext.h"
#include "monthly/workgrid_load.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <random>

using namespace gzgl;
using namespace gzgl::calc;

namespace {

struct RecordingProgress : Progress {
    std::string status;
    int maximum = -1, steps = 0, ends = 0;
    void begin(const std::string& s, int m) override {
        status = s;
        maximum = m;
    }
    void step() override { ++steps; }
    void end() override { ++ends; }
};

// A task with gross pay F003, two allowances, tax and the three rounding-off
// items, one employee per call to add().
struct Payroll : test::PayrollTask {
    explicit Payroll(int mode = 0) : PayrollTask(mode) {
        item("F004", "岗位津贴");
        item("F005", "所得税");
        item("F006", "房贴");
    }
    WorkGrid recalc(bool exceptions = false) {
        WorkGrid g = monthly::loadWorkGrid(s, {}, false).grid;
        RecordingProgress progress;
        RecalculateGrid(s, g, {s.roundOffMode, exceptions}, progress);
        return g;
    }
    static std::string at(const WorkGrid& g, int empRow, const std::string& code) {
        return g.cell(kFirstEmployeeRow + empRow, g.columnOf(code));
    }
};

} // namespace

TEST(RoundOff, RemainderOfEachModeTakenFromTheDigits) {
    const double x = 1234.56;
    const char* expected[] = {"0", "4.56", "4.56", "0.56", "0.06", "0.06", "34.56", "34.56"};
    for (int mode = 0; mode <= 7; ++mode)
        EXPECT_EQ(decimalText(RoundOffRemainder(x, mode)), expected[mode]) << "mode " << mode;
    EXPECT_EQ(RoundOffRemainder(x, 8), 0);
    EXPECT_EQ(RoundOffRemainder(x, -1), 0);
    EXPECT_EQ(decimalText(RoundOffRemainder(-1234.56, 1)), "4.56");
    EXPECT_EQ(RoundOffRemainder(1230, 1), 0);
}

TEST(RoundOff, NetPayHoldsBackTheRemainderAndPaysTheCarry) {
    struct Case {
        double pay, carry;
        int mode;
        const char *heldBack, *paidOut, *net;
    };
    const Case cases[] = {
        {1234.56, 7.00, 1, "1.56", "10", "1240"},
        {1234.56, 7.00, 0, "0", "7", "1241.56"}, // no rounding-off pays the carry in full
        {2000.40, 0.70, 3, "0.1", "1", "2001"},  // a unit of one yuan
        {-5.5, 0, 1, "5.5", nullptr, "-11"},     // a negative net pay keeps a positive remainder
    };
    for (const Case& c : cases) {
        const NetPay n = netPay(c.pay, c.carry, c.mode);
        EXPECT_EQ(n.heldBack, c.heldBack) << c.pay << " mode " << c.mode;
        if (c.paidOut) {
            EXPECT_EQ(n.paidOut, c.paidOut) << c.pay << " mode " << c.mode;
        }
        EXPECT_EQ(decimalText(n.net), c.net) << c.pay << " mode " << c.mode;
    }
}

TEST(RoundOff, PaidPlusHeldBackIsNetPayPlusCarryToTheCent) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> cents(0, 2000000), carry(0, 9999);
    for (int mode = 0; mode <= 7; ++mode) {
        for (int i = 0; i < 2000; ++i) {
            const double P = cents(rng) / 100.0;
            const double L = carry(rng) / 100.0;
            const NetPay n = netPay(P, L, mode);
            const long long paid = std::llround(n.net * 100), held = std::llround(readNumber(n.heldBack) * 100);
            ASSERT_EQ(paid + held, std::llround(P * 100) + std::llround(L * 100))
                << "mode " << mode << " P " << P << " L " << L;
            if (mode != 0) {
                ASSERT_LT(readNumber(n.heldBack), roundOffUnit(mode));
            }
        }
    }
}

// Whole-grid recalculations: employees with their stored values, the
// formula lines in their order, and the cells they must end with.
TEST(Recalc, FormulaLinesGiveTheirCells) {
    struct Employee {
        const char* no;
        std::vector<std::pair<const char*, double>> values;
    };
    struct Cell {
        int row;
        const char *code, *text;
    };
    struct Case {
        const char* what;
        int mode;
        std::vector<Employee> employees;
        std::vector<std::pair<const char*, const char*>> formulas;
        std::vector<Cell> cells;
        bool exceptions = false;
    };
    const Case cases[] = {
        {"later lines see earlier results",
         0,
         {{"0001", {{"F004", 1000}, {"F006", 234.5}}}},
         {{"F003", "F004+F006+2000"}, {"F005", "{F003>800,(F003-800)*0.05,0}"}, {"F000", "F003-F005"}},
         // 121.725 rounds half away from zero.
         {{0, "F003", "3234.50"}, {0, "F005", "121.73"}, {0, "F000", "3112.77"}, {0, "FFFD", "0"},
          {0, "FFFE", "0"}}},
        {"net pay rounded off with last month's carry",
         1,
         {{"0001", {{"F004", 1234.56}, {"FFFF", 7}}}},
         {{"F000", "F004"}},
         {{0, "F000", "1240.00"}, {0, "FFFD", "1.56"}, {0, "FFFE", "10"}}},
        {"a negative referenced value is subtracted",
         0,
         {{"0001", {{"F004", -20}, {"F006", 100}}}},
         {{"F003", "F006+F004"}, {"F005", "F006*F004"}},
         {{0, "F003", "80.00"}, {0, "F005", "-2000.00"}}},
        {"two lines for one item: each row gets one",
         0,
         {{"0001", {{"F003", 6000}}}, {"0002", {{"F003", 3000}}}},
         {{"F004", "{F003>5000,100}"}, {"F004", "{F003<=5000,50}"}},
         {{0, "F004", "100.00"}, {1, "F004", "50.00"}}},
        {"an empty branch keeps a value and fills an empty cell",
         0,
         {{"0001", {{"F004", 88}}}, {"0002", {}}},
         {{"F004", "{F003>5000,100}"}},
         {{0, "F004", "88.00"}, {1, "F004", "0.00"}}},
        {"a code without column reads zero",
         0,
         {{"0001", {{"F003", 10}}}},
         {{"F004", "F003+F777+F001"}},
         {{0, "F004", "10.00"}}},
        {"the target item's precision", // F007 has none
         0,
         {{"0001", {{"F003", 2.5}}}},
         {{"F007", "F003"}, {"F004", "10/3"}},
         {{0, "F007", "3"}, {0, "F004", "3.33"}}},
        {"a stored -9999 means no value", 0, {{"0001", {{"F003", 1000}, {"F004", -9999}}}}, {{"F004", "F003*0.1"}},
         {{0, "F004", "100.00"}}, true},
    };
    for (const Case& c : cases) {
        Payroll t(c.mode);
        t.item("F007", "整数项", "数字", 0);
        for (const Employee& e : c.employees) {
            t.employee(e.no, "员工");
            for (const auto& [code, v] : e.values)
                t.value(e.no, code, v);
        }
        for (const auto& [code, text] : c.formulas)
            t.formula(code, text);
        const WorkGrid g = t.recalc(c.exceptions);
        for (const Cell& cell : c.cells)
            EXPECT_EQ(Payroll::at(g, cell.row, cell.code), cell.text) << c.what << ": " << cell.code;
    }
}

TEST(Recalc, ExceptionsOnlyWhenSwitchedOn) {
    Payroll t(1);
    t.employee("0001", "例外", "01", 0, "F005,F000");
    t.employee("0002", "普通");
    for (const char* e : {"0001", "0002"})
        t.value(e, "F003", 3000.0);
    t.value("0001", "F004", 250.0); // a stored value in a calculated item
    t.formula("F004", "F003*0.1");
    t.formula("F005", "F003*0.05");
    t.formula("F000", "F003-F005+F004");

    const WorkGrid off = t.recalc(false);
    EXPECT_EQ(Payroll::at(off, 0, "F004"), "300.00");
    EXPECT_EQ(Payroll::at(off, 0, "F005"), "150.00");
    EXPECT_EQ(Payroll::at(off, 0, "F000"), "3150.00");

    const WorkGrid on = t.recalc(true);
    EXPECT_EQ(Payroll::at(on, 0, "F004"), "250.00"); // stored value kept
    EXPECT_EQ(Payroll::at(on, 0, "F005"), "0.00"); // listed: not calculated
    EXPECT_EQ(Payroll::at(on, 0, "F000"), "0.00");
    EXPECT_EQ(Payroll::at(on, 1, "F004"), "300.00");
    EXPECT_EQ(Payroll::at(on, 1, "F005"), "150.00");
    EXPECT_EQ(Payroll::at(on, 1, "F000"), "3150.00");
}

TEST(Recalc, OneRowPassMatchesTheWholeGrid) {
    Payroll t(2);
    for (int i = 0; i < 5; ++i) {
        const std::string e = "000" + std::to_string(i);
        t.employee(e, "人" + std::to_string(i), "01", 0, i % 2 ? "F005" : "");
        t.value(e, "F003", 1000.0 + 333.37 * i);
        t.value(e, "FFFF", 0.01 * i);
    }
    t.value("0003", "F004", 12.0);
    t.formula("F004", "F003*0.02");
    t.formula("F005", "{F003>1500,(F003-1500)*0.1}");
    t.formula("F000", "F003+F004-F005");
    const WorkGrid whole = t.recalc(true);

    WorkGrid g = monthly::loadWorkGrid(t.s, {}, false).grid;
    const std::vector<FormulaLine> lines = loadFormulaLines(t.s);
    for (int r = kFirstEmployeeRow; r < g.rows(); ++r) {
        Exceptions one(t.s, g.cell(r, 0));
        RecalculateLines(lines, g, r, {2, true}, &one, nullptr);
    }
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c)
            EXPECT_EQ(g.cell(r, c), whole.cell(r, c)) << r << "," << c;
}

TEST(Recalc, OneRowPassRunsPastALineWithoutCode) {
    // As the whole grid does: a row after an edit must come out as it would
    // in a full pass.
    Payroll t;
    t.employee("0001", "张三");
    t.value("0001", "F003", 100.0);
    WorkGrid g = monthly::loadWorkGrid(t.s, {}, false).grid;
    WorkGrid whole = g;
    std::vector<FormulaLine> lines;
    lines.emplace_back("F004", "F003", "#0.00");
    lines.emplace_back("", "", "#0");
    lines.emplace_back("F005", "F003", "#0.00");
    RecalculateLines(lines, g, kFirstEmployeeRow, {0, false}, nullptr, nullptr);
    RecalculateLines(lines, whole, -1, {0, false}, nullptr, nullptr);
    EXPECT_EQ(Payroll::at(g, 0, "F004"), "100.00");
    EXPECT_EQ(Payroll::at(g, 0, "F005"), "100.00");
    EXPECT_EQ(Payroll::at(whole, 0, "F005"), "100.00");
}

TEST(Recalc, ValuesOf1e15AndAboveReadBackAsThemselves) {
    // A stored deduction of 1e15 and an intermediate of 2e15: written into
    // the formulas as "1e+15" they would read as 16 and 17.
    Payroll t;
    t.employee("0001", "张三");
    t.value("0001", "F003", 2000.0);
    t.value("0001", "F004", 1e15);
    t.formula("F006", "F003*1000000000000");
    t.formula("F005", "F006/1000000000000-F003");
    t.formula("F000", "F003-F004+F005");
    const WorkGrid g = t.recalc();
    EXPECT_EQ(Payroll::at(g, 0, "F006"), "2000000000000000.00");
    EXPECT_EQ(Payroll::at(g, 0, "F005"), "0.00");
    EXPECT_EQ(Payroll::at(g, 0, "F000"), "-999999999998000.00");
}

TEST(Recalc, ShowsProgressPerLine) {
    Payroll t;
    t.employee("0001", "张三");
    t.formula("F004", "1");
    t.formula("F005", "2");
    WorkGrid g = monthly::loadWorkGrid(t.s, {}, false).grid;
    RecordingProgress p;
    RecalculateGrid(t.s, g, {0, false}, p);
    EXPECT_EQ(p.status, "  正在准备数据，请稍候...");
    EXPECT_EQ(p.maximum, 2);
    EXPECT_EQ(p.steps, 2);
    EXPECT_EQ(p.ends, 1);
}

TEST(Exceptions, AnswersAsTheSingleLookupsDo) {
    Payroll t;
    t.item("F007", "文字项", "文字", 0);
    t.employee("0001", "甲", "01", 0, "F004,F005");
    t.employee("0002", "乙", "01", 1, "F004, F005");
    t.employee("a003", "丙", "01", 2);
    t.employee("0004", "丁", "01", 3, ",");
    t.value("0001", "F004", 12.5);
    t.value("0002", "F004", -9999.0);
    t.value("a003", "F004", "");
    t.value("a003", "F005", 0.0);
    t.value("0004", "F007", " 注 ");
    // A second data row of one employee: the first one counts.
    t.s.taskConn.execute("Insert Into " + t.table("Data") + "(F_EmpNo,F004) Values('0001',99)");
    WorkGrid g = monthly::loadWorkGrid(t.s, {}, false).grid;
    g.cell(kFirstEmployeeRow + 2, 0) = " A003 "; // numbers compare without case or blanks

    const int first = kFirstEmployeeRow, last = g.rows() - 1;
    for (const std::string code : {"F004", "F005", "F007", "F777", "FFFD", " F004", "F003"}) {
        Exceptions all(t.s);
        std::vector<std::optional<std::string>> stored;
        std::vector<char> listed;
        all.lookUp(g, first, last, code, stored, listed);
        for (int r = first; r <= last; ++r) {
            const std::string e = g.cell(r, 0);
            const std::size_t i = static_cast<std::size_t>(r - first);
            SCOPED_TRACE(code + " / " + e);
            EXPECT_EQ(stored[i].has_value(), HasStoredValue(t.s, e, code));
            EXPECT_EQ(stored[i].value_or(""), GetStoredValue(t.s, e, code));
            EXPECT_EQ(listed[i] != 0, IsItemListed(t.s, e, code));

            Exceptions one(t.s, e);
            std::vector<std::optional<std::string>> s1;
            std::vector<char> l1;
            one.lookUp(g, r, r, code, s1, l1);
            EXPECT_EQ(s1[0], stored[i]);
            EXPECT_EQ(l1[0], listed[i]);
        }
    }
    EXPECT_EQ(GetStoredValue(t.s, "0001", "F004"), "12.5");
    EXPECT_FALSE(HasStoredValue(t.s, "0002", "F004"));
    EXPECT_TRUE(IsItemListed(t.s, "0001", "F005"));
    EXPECT_FALSE(IsItemListed(t.s, "0002", "F005")); // elements are not trimmed
}

TEST(PrecisionFormat, ByCodeOrByName) {
    Payroll t;
    t.item("F007", "整数项", "数字", 0);
    t.item("F008", "三位", "数字", 3);
    EXPECT_EQ(SetPrecisionFormat(t.s, "F003"), "#0.00");
    EXPECT_EQ(SetPrecisionFormat(t.s, " F008 "), "#0.000");
    EXPECT_EQ(SetPrecisionFormat(t.s, "F007"), "#0");
    EXPECT_EQ(SetPrecisionFormat(t.s, "三位"), "#0.000");
    EXPECT_EQ(SetPrecisionFormat(t.s, "没有"), "#0");
    EXPECT_FALSE(ItemHasFormula(t.s, "F004"));
    t.formula("F004", "1");
    t.formula("FFFD", "1");
    EXPECT_TRUE(ItemHasFormula(t.s, "F004"));
    EXPECT_FALSE(ItemHasFormula(t.s, "FFFD"));
}

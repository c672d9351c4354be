// The recalculation against a plain one written straight from its rules:
// substitution into text, the text evaluator, formatting from text and the
// single-lookup exception routines, over random grids and formula lines.
#include "calc/recalc.h"
#include "calc/roundoff.h"
#include "core/numtext.h"
#include "core/text.h"
#include "monthly/workgrid_load.h"
#include "calc/reference_evaluator.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <random>

using namespace gzgl;
using namespace gzgl::calc;

namespace {

void plainRecalculate(Session& s, const std::vector<FormulaLine>& lines, WorkGrid& g, int mode, bool exceptions) {
    FormulaState st;
    for (const FormulaLine& line : lines) {
        st.PrecisionFormat = line.precisionFormat;
        const int target = g.columnOf(line.code);
        for (int r = kFirstEmployeeRow; r < g.rows(); ++r) {
            std::vector<double> values;
            for (const std::string& code : line.compiled.codes()) {
                const int c = g.columnOf(code);
                values.push_back(c < 0 || g.cell(r, c).empty() ? 0 : readNumber(g.cell(r, c)));
            }
            reference::evaluateFormula(reference::substituteValues(line.formula, values.data()), st);
            const std::string e = trim(g.cell(r, 0));
            if (line.code == "F000" && st.FormulaHasValue) {
                const double P = st.FormulaValue;
                const int cf = g.columnOf("FFFF");
                const double L = cf < 0 || g.cell(r, cf).empty() ? 0 : readNumber(g.cell(r, cf));
                if (g.columnOf("FFFD") >= 0)
                    g.cell(r, g.columnOf("FFFD")) = decimalText(RoundOffRemainder(P + L, mode));
                const double r1 = RoundOffRemainder(P, mode), r2 = RoundOffRemainder(r1 + L, mode);
                const double B = readNumber(reference::formatPattern(r1 + L - r2, "#0.00"));
                if (g.columnOf("FFFE") >= 0)
                    g.cell(r, g.columnOf("FFFE")) = decimalText(B);
                st.FormulaValue = exceptions && IsItemListed(s, e, "F000")
                                      ? 0
                                      : readNumber(reference::formatPattern(P - r1, "#0.00")) + B;
            }
            if (target < 0)
                continue;
            std::string& cell = g.cell(r, target);
            if (st.FormulaHasValue) {
                if (exceptions && HasStoredValue(s, e, line.code)) {
                    const std::string v = GetStoredValue(s, e, line.code);
                    cell = v.empty() ? "" : reference::formatPattern(readNumber(v), st.PrecisionFormat);
                } else if (exceptions && IsItemListed(s, e, line.code))
                    cell = "0.00";
                else
                    cell = reference::formatPattern(st.FormulaValue, st.PrecisionFormat);
            }
            if (trim(cell).empty())
                cell = "0.00";
        }
    }
}

// A random formula over the grid's codes: mostly well formed, sometimes odd.
std::string randomFormula(std::mt19937& rng) {
    static const char* codes[] = {"F003", "F004", "F005", "F006", "F007", "F008", "FFFF", "F000", "F999"};
    static const char* ops[] = {"+", "-", "*", "/", ">", "<", ">=", "<=", "<>", "="};
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto operand = [&]() -> std::string {
        switch (pick(4)) {
        case 0: return std::to_string(pick(5000));
        case 1: return "0." + std::to_string(pick(100));
        default: return codes[pick(9)];
        }
    };
    auto arith = [&]() {
        std::string t = operand();
        for (int i = pick(4); i > 0; --i)
            t += std::string(ops[pick(4)]) + operand();
        return pick(3) == 0 ? "(" + t + ")" : t;
    };
    switch (pick(6)) {
    case 0: return arith() + "*" + arith();
    case 1: return "{" + arith() + ops[4 + pick(6)] + arith() + "," + arith() + "," + arith() + "}";
    case 2: return "{[" + arith() + ">" + operand() + "]&[" + arith() + "<=" + operand() + "]," + arith() + "}";
    case 3: return "{" + arith() + ">" + operand() + ",," + arith() + "}";
    case 4: { // junk
        static const char junk[] = "F0123456789+-*/()[]{},<>=&| .";
        std::string t;
        for (int i = pick(30); i > 0; --i)
            t += junk[pick(sizeof junk - 1)];
        return t;
    }
    default: return arith();
    }
}

} // namespace

TEST(RecalcEquality, SameGridAsThePlainTextAlgorithm) {
    test::PayrollTask t;
    for (int i = 4; i <= 8; ++i)
        t.item("F00" + std::to_string(i), "项" + std::to_string(i), "数字", i % 4);
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> cents(-50000, 500000);
    for (int e = 0; e < 25; ++e) {
        const std::string no = "E" + std::to_string(100 + e);
        t.employee(no, "人", "01", e, e % 3 == 0 ? "F004,F000" : e % 5 == 0 ? "F006" : "");
        for (const char* c : {"F003", "F004", "F005", "F006", "FFFF"})
            if (e % 7 != 1 || c[3] == '5')
                t.value(no, c, cents(rng) / 100.0);
        if (e % 4 == 0) // a stored value in a calculated item, or the marker of none
            t.value(no, "F007", e % 8 == 0 ? -9999.0 : cents(rng) / 100.0);
    }
    const WorkGrid start = monthly::loadWorkGrid(t.s, {}, false).grid;
    static const char* targets[] = {"F003", "F004", "F005", "F006", "F007", "F008", "F000", "F998"};
    for (int scenario = 0; scenario < 40; ++scenario) {
        std::vector<FormulaLine> lines;
        for (int l = std::uniform_int_distribution<int>(1, 10)(rng); l > 0; --l) {
            const std::string code = targets[std::uniform_int_distribution<int>(0, 7)(rng)];
            lines.emplace_back(code, randomFormula(rng), SetPrecisionFormat(t.s, code));
        }
        const int mode = scenario % 8;
        const bool exceptions = scenario % 2 == 1;
        WorkGrid fast = start, plain = start;
        Exceptions ex(t.s);
        RecalculateLines(lines, fast, -1, {mode, exceptions}, &ex, nullptr);
        plainRecalculate(t.s, lines, plain, mode, exceptions);
        for (int r = 0; r < fast.rows(); ++r)
            for (int c = 0; c < fast.cols(); ++c)
                ASSERT_EQ(fast.cell(r, c), plain.cell(r, c))
                    << "scenario " << scenario << " row " << r << " col " << fast.cell(0, c) << " line 1: "
                    << lines[0].formula;
    }
}

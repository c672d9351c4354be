// The compiled form of a formula line: code scan, substitution, and results
// equal to the text evaluation of the substituted formula.
#include "calc/compiled.h"

#include "reference_evaluator.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace gzgl::calc;

namespace {

// Evaluates f with values three ways (compiled, text, reference) from equal
// states and expects one outcome; returns the compiled state.
FormulaState expectSame(const std::string& f, const std::vector<double>& values,
                        const std::string& format = "#0.00") {
    const CompiledFormula c(f);
    EXPECT_EQ(c.codes().size(), values.size()) << f;
    FormulaState compiled, text, ref;
    compiled.PrecisionFormat = text.PrecisionFormat = ref.PrecisionFormat = format;
    compiled.FormulaValue = text.FormulaValue = ref.FormulaValue = -1;
    const std::string substituted = SubstituteValues(f, values.data());
    const std::string rc = c.evaluate(values.data(), compiled);
    const std::string rt = EvaluateFormula(substituted, text);
    const std::string rr = reference::evaluateFormula(substituted, ref);
    EXPECT_EQ(rc, rt) << f << " as " << substituted;
    EXPECT_EQ(rc, rr) << f << " as " << substituted;
    EXPECT_EQ(compiled.FormulaHasValue, ref.FormulaHasValue) << substituted;
    EXPECT_EQ(text.FormulaHasValue, ref.FormulaHasValue) << substituted;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(compiled.FormulaValue), std::bit_cast<std::uint64_t>(ref.FormulaValue))
        << substituted << ": " << compiled.FormulaValue << " vs " << ref.FormulaValue;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(text.FormulaValue), std::bit_cast<std::uint64_t>(ref.FormulaValue))
        << substituted;
    return compiled;
}

} // namespace

TEST(CompiledFormula, EveryFStartsAFourCharacterCode) {
    EXPECT_EQ(formulaCodes("F003+F004-F003"), (std::vector<std::string>{"F003", "F004", "F003"}));
    EXPECT_EQ(formulaCodes("FFFF+FFFE"), (std::vector<std::string>{"FFFF", "FFFE"}));
    EXPECT_EQ(formulaCodes("{F0,1,2}"), (std::vector<std::string>{"F0,1"})); // a code swallows what follows
    EXPECT_EQ(formulaCodes("1+F00"), (std::vector<std::string>{"F00"}));     // shorter at the end
    EXPECT_EQ(formulaCodes("2*F"), (std::vector<std::string>{"F"}));
    EXPECT_TRUE(formulaCodes("1+2").empty());
}

TEST(CompiledFormula, SubstitutionWritesNegativeValuesAsSubtractionFromZero) {
    const double v[] = {-20, 0, 1250.5, 0.1 + 0.2, 1e20, -0.0};
    EXPECT_EQ(SubstituteValues("F003+F004*F005-F006+F007+F008", v),
              "(0-20)+0*1250.5-0.3+100000000000000000000+0");
    EXPECT_EQ(SubstituteValues("{F0,1,2}", v), "{(0-20),2}");
}

TEST(CompiledFormula, SalaryFormulasEqualTheTextEvaluation) {
    const std::string tax = "{[F003-800>500]&[F003-800<=2000],(F003-800)*0.10-25}";
    for (const double gross : {0.0, 800.0, 1300.0, 1300.01, 1456.78, 2000.0, 2800.0, 2800.01, 3456.78, -50.0})
        EXPECT_TRUE(CompiledFormula(tax).compiled()), expectSame(tax, {gross, gross, gross});
    for (const double gross : {0.0, 800.0, 801.0, 1234.567, -900.0})
        expectSame("{F003>800,(F003-800)*0.05,0}", {gross, gross});
    expectSame("F003+F004-F005*0.1", {3000, 1250.5, 987.65});
    expectSame("F003+F004-F005*0.1", {3000, -20, -987.65});
    expectSame("(F004+F005)*0.1", {1.005, 2.675}, "#0");
    const FormulaState s = expectSame("F003+F004", {1000, -20});
    EXPECT_EQ(s.FormulaValue, 980);
}

TEST(CompiledFormula, ValueIsSubstitutedWithFifteenDigits) {
    // 0.1 + 0.2 is written as 0.3, so ten times it is exactly 3.
    const FormulaState s = expectSame("F003*10", {0.1 + 0.2}, "#0.000000000000000");
    EXPECT_EQ(s.FormulaValue, 3);
    expectSame("F003-F004", {1.0000000000000002, 1}, "#0.0000000000000000");
}

TEST(CompiledFormula, LargeAndTinyValuesReadBackAsThemselves) {
    // Written in exponent form ("1e+15") the tokenizer would cut a value into
    // 1e, + and 15, which make 16: each value must come back as its
    // 15-digit decimal, on the compiled and on the text path alike.
    struct Case {
        double value;
        const char* format;
        double want; // F003 + 0 with the format
    };
    const Case cases[] = {
        {1e15, "#0.00", 1e15},
        {-1e15, "#0.00", -1e15},
        {1e20, "#0", 1e20},
        {123456789012345678.0, "#0", 123456789012346000.0},
        {999999999999999.9, "#0.00", 1e15},
        {1e300, "#0", 1e300},
        {1e-5, "#0.000000", 0.00001},
        {-1.5e-7, "#0.0000000", -0.0000002},
        {0.0000999999999999999, "#0.0000", 0.0001},
        {4.9e-324, "#0.00", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const FormulaState s = expectSame("F003+0", {c.value}, c.format);
        EXPECT_EQ(s.FormulaValue, c.want);
        EXPECT_EQ(SubstituteValues("F003", &c.value).find('e'), std::string::npos);
    }
    // An intermediate of large magnitude, substituted into the next line.
    EXPECT_EQ(expectSame("F003-F004", {2e16, 1e16}, "#0").FormulaValue, 1e16);
    EXPECT_EQ(expectSame("F003/F004", {3e20, 1e20}).FormulaValue, 3);
    expectSame("F003+F004", {std::numeric_limits<double>::infinity(), 1});
    expectSame("F003+F004", {std::nan(""), 1});
}

TEST(CompiledFormula, CodeMergingWithItsNeighbourTakesTheTextPath) {
    for (const char* f : {"2F003", "F003F004", "F003 5", "F003.5", "F003@1", "{F003>1,F0045,0}"}) {
        const CompiledFormula c(f);
        EXPECT_FALSE(c.compiled()) << f;
        expectSame(f, std::vector<double>(c.codes().size(), 12.5));
        expectSame(f, std::vector<double>(c.codes().size(), -12.5));
    }
    EXPECT_TRUE(CompiledFormula("(F003)*[F004]").compiled());
}

TEST(CompiledFormula, NegativeValueWhereItsBracketsMeetOtherOperators) {
    // The "(" of "(0-x)" has no relation after an unmatched ")" and is dropped.
    for (const char* f : {")F003*2", "1)F003", "F003)*2", "[F003>F004]", "(F003>1)", "{F003,1,2}", "F003&F004"})
        for (const double v : {-3.0, 3.0, 0.0})
            expectSame(f, std::vector<double>(CompiledFormula(f).codes().size(), v));
}

TEST(CompiledFormula, FixedOutcomesNeedNoValues) {
    FormulaState st;
    st.FormulaValue = 5;
    EXPECT_EQ(CompiledFormula("  ").evaluate(nullptr, st), "");
    EXPECT_FALSE(st.FormulaHasValue);
    EXPECT_EQ(CompiledFormula("{F003>1}").evaluate(nullptr, st), "False");
    EXPECT_EQ(CompiledFormula("{F003>1,2").evaluate(nullptr, st), "False");
    EXPECT_EQ(st.FormulaValue, 5);
}

TEST(CompiledFormula, OneFormulaServesManyRows) {
    const CompiledFormula c("{F003>5000,100}");
    FormulaState st;
    st.PrecisionFormat = "#0.00";
    const double high = 6000, low = 4000;
    EXPECT_EQ(c.evaluate(&high, st), "True");
    EXPECT_TRUE(st.FormulaHasValue);
    EXPECT_EQ(st.FormulaValue, 100);
    EXPECT_EQ(c.evaluate(&low, st), "True");
    EXPECT_FALSE(st.FormulaHasValue);
    EXPECT_EQ(st.FormulaValue, 100);
}

TEST(CompiledFormula, LongTextNearThePositionLimitTakesTheTextPath) {
    std::string f = "F003+" + std::string(32760, '0');
    EXPECT_FALSE(CompiledFormula(f).compiled());
    expectSame(f, {1});
    expectSame(f, {-123456.789});
    expectSame(std::string(32755, '0') + "+F003", {-1});
}

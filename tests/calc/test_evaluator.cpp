// The formula evaluator on substituted text: the language's rules and the
// quirks its formulas rely on.
#include "calc/evaluator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace gzgl::calc;

namespace {

struct Outcome {
    std::string result;
    bool has;
    double value;
};

// Evaluates with one state, so that FormulaValue carries over between calls.
class Evaluator {
public:
    explicit Evaluator(const std::string& format = "#0.00") { st.PrecisionFormat = format; }
    Outcome operator()(const std::string& formula) {
        const std::string r = EvaluateFormula(formula, st);
        return {r, st.FormulaHasValue, st.FormulaValue};
    }
    // The value of a formula that must yield one.
    double value(const std::string& formula) {
        const Outcome r = (*this)(formula);
        EXPECT_EQ(r.result, "True") << formula;
        EXPECT_TRUE(r.has) << formula;
        return r.value;
    }
    FormulaState st;
};

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// Each formula ends with the given result, assigns nothing and leaves the
// last value in place.
void expectNothingAssigned(Evaluator& e, std::initializer_list<const char*> formulas, const char* result,
                           double kept) {
    for (const char* f : formulas) {
        const Outcome r = e(f);
        EXPECT_EQ(r.result, result) << f;
        EXPECT_FALSE(r.has) << f;
        EXPECT_EQ(r.value, kept) << f;
    }
}

} // namespace

// Formulas that yield a number, each evaluated afresh at its precision.
TEST(FormulaValues, EachFormulaGivesItsValue) {
    struct Case {
        const char* formula;
        double value;
        const char* format = "#0.00";
    };
    const Case cases[] = {
        // "*" and "/" bind tighter and all four associate left; "[ ]" groups too.
        {"2+3*4", 14}, {"(2+3)*4", 20}, {"10-4-3", 3}, {"8/4/2", 1}, {"2-3+4", 3}, {"2*3-4/2", 4},
        {"[2+3]*4", 20},
        // Division by zero gives zero.
        {"5/0", 0}, {"5/(3-3)", 0}, {"5/0+1", 1}, {"0/0", 0},
        // A leading minus subtracts from zero, in a branch as well; a
        // substituted negative value comes bracketed.
        {"-5+2", -3}, {"-5*2", -10}, {"3*(0-2)", -6}, {"100+(0-20)", 80}, {"{1>0,-4,2}", -4},
        // Spaces are removed before tokenizing.
        {"1 0 + 2", 12}, {" { 5 > = 5 , 1 , 2 } ", 1},
        // Missing operands read zero; an operand reads its leading number.
        {"*5", 0}, {"5*", 0}, {"5+", 5}, {"+5", 5}, {"()", 0}, {"abc+2", 2}, {"1.2.3+1", 2.2},
        // A comparison directly inside "( )" has no relation: ">" is dropped
        // and the last operand is the value.
        {"(5>3)", 3}, {"(5)(7)", 7},
        // The result is rounded to the target's decimals, halves away from zero.
        {"10/3", 3.33}, {"2.675", 2.68}, {"1.005*1", 1.01}, {"0.1+0.2", 0.3},
        {"10/3", 3, "#0"}, {"2.5", 3, "#0"}, {"0-2.5", -3, "#0"}, {"-0.4", 0, "#0"},
        {"2/3", 0.6667, "#0.0000"},
        // The condition chooses the branch; text after "}" is ignored.
        {"{5>3,1,2}", 1}, {"{5<3,1,2}", 2}, {"{5<3,,2}", 2}, {"{5>3,1}", 1}, {"{100>=100,1,2}", 1},
        {"{100<>100,1,2}", 2}, {"{3<=2,1,2}", 2}, {"{3=3,1,2}", 1}, {"{5>3,1,2}+100", 1},
        {"{2>1,(5-1)*2,0}", 8},
        // "&" and "|" between bracketed comparisons.
        {"{[5>3]&[2>1],7,8}", 7}, {"{[5>3]&[2>9],7,8}", 8}, {"{[5>3]|[2>9],7,8}", 7},
        {"{[5<3]|[2>9],7,8}", 8}, {"{5>3&2>9,7,8}", 8},
        // "&" binds tighter than "|": (F & T) | T is true, F & (T | T) would not be.
        {"{[1>2]&[2>1]|[2>1],7,8}", 7}, {"{[2>1]|[1>2]&[1>2],7,8}", 7},
        // Directly inside "[ ]" an "&" has no relation and is dropped: only
        // the last comparison counts.
        {"{[2>9&5>3],7,8}", 7},
        // Truth texts read zero in arithmetic.
        {"True+1", 1}, {"{True,1,2}", 1}, {"{False,1,2}", 2},
        // A chained comparison: the second ">" is dropped, the first
        // compares 3 with the last operand.
        {"{5>3>4,1,2}", 2}, {"{5>3>2,1,2}", 1},
        // "#" inside an operand is part of it.
        {"5#3", 5},
        // A literal beyond range that is never read as a number does not fail.
        {"(1e999)(2)", 2}, {"1e999&1", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Evaluator(c.format).value(c.formula), c.value) << c.formula << " at " << c.format;
}

TEST(FormulaConditional, EmptyChosenBranchAssignsNothing) {
    Evaluator e;
    e.value("42");
    expectNothingAssigned(e, {"{5<3,1}", "{5>3,,2}", "{5<3,1,}"}, "True", 42); // the last value stays
}

TEST(FormulaConditional, TaxBracketFormulaAssignsOnlyInsideItsBracket) {
    Evaluator e;
    const std::string bracket = "{[F-800>500]&[F-800<=2000],(F-800)*0.10-25}";
    auto with = [&](const std::string& gross) {
        std::string f = bracket;
        for (std::size_t p; (p = f.find('F')) != std::string::npos;)
            f.replace(p, 1, gross);
        return e(f);
    };
    const Outcome in = with("2000");
    EXPECT_TRUE(in.has);
    EXPECT_EQ(in.value, 95);
    const Outcome mid = with("1456.78");
    EXPECT_TRUE(mid.has);
    EXPECT_EQ(mid.value, 40.68); // 65.678 - 25 rounded
    const Outcome above = with("3456.78");
    EXPECT_EQ(above.result, "True");
    EXPECT_FALSE(above.has);
    EXPECT_EQ(above.value, 40.68);
    EXPECT_FALSE(with("1300").has); // 500 is not above 500
}

TEST(FormulaConditional, ConditionThatIsNotATruthValueAssignsNothing) {
    Evaluator e;
    e.value("1");
    const Outcome r = e("{5,1,2}");
    EXPECT_EQ(r.result, "True");
    EXPECT_FALSE(r.has);
    EXPECT_EQ(r.value, 5); // the numeric condition still leaves its value
    EXPECT_FALSE(e("{,1,2}").has);
}

TEST(FormulaConditional, FormWithoutCommaFails) {
    Evaluator e;
    e.value("9");
    expectNothingAssigned(e, {"{5>3}"}, "False", 9);
}

TEST(FormulaConditional, MissingOrMisplacedClosingBraceFails) {
    Evaluator e;
    for (const char* f : {"{5>3,1,2", "{5>3,1", "{5>3,,2", "{1>0,2},3}", "{1}>0,2}"}) {
        const Outcome r = e(f);
        EXPECT_EQ(r.result, "False") << f;
        EXPECT_FALSE(r.has) << f;
    }
    // An empty branch before its "}" is no failure.
    EXPECT_EQ(e("{5<3,,}").result, "True");
}

TEST(FormulaTruth, WholeValueThatIsATruthValueAssignsNothing) {
    Evaluator e;
    e.value("3");
    expectNothingAssigned(e, {"5>3", "5<3", "True", "{1>0,2>1,3}", "[1>0]&[2>1]"}, "True", 3);
}

TEST(FormulaTruth, LoneOperatorCharacterIsAnOperator) {
    Evaluator e;
    const Outcome r = e("(5)#(3)"); // "#" standing alone is "<>"
    EXPECT_EQ(r.result, "True");
    EXPECT_FALSE(r.has);
}

TEST(FormulaFailure, OverflowEndsAsFalseAndKeepsTheLastValue) {
    Evaluator e;
    e.value("12");
    expectNothingAssigned(e, {"1e308*10", "1e308+1e308", "0-1e308-1e308", "1e999", "1e999+1", "2/1e999",
                              "{1e999>0,1,2}", "{1>0,1e308*1e308}"},
                          "False", 12);
}

TEST(FormulaFailure, BlankFormulaGivesEmptyResult) {
    Evaluator e;
    for (const char* f : {"", "   "}) {
        const Outcome r = e(f);
        EXPECT_EQ(r.result, "") << f;
        EXPECT_FALSE(r.has);
    }
}

TEST(FormulaFailure, ScanPositionBeyondSixteenBitsFails) {
    Evaluator e;
    // With "!" appended, a 32765-character formula ends at position 32766.
    EXPECT_EQ(e(std::string(32765, '0')).result, "True");
    EXPECT_EQ(e(std::string(32766, '0')).result, "False");
    EXPECT_EQ(e("1" + std::string(40000, ' ') + "+1").result, "True"); // spaces go first
    // Text after the first "!" is never scanned.
    EXPECT_EQ(e.value("7!" + std::string(40000, '0')), 7);
}

TEST(FormulaCapacity, OperatorStackHoldsTwoHundredNinetyNine) {
    Evaluator e;
    // "!" and 297 "(" leave room for the "*"; with 298 "(" the "*" is
    // refused and only the last operand remains.
    EXPECT_EQ(e.value(repeat("(", 297) + "2*3" + repeat(")", 297)), 6);
    EXPECT_EQ(e.value(repeat("(", 298) + "2*3" + repeat(")", 298)), 3);
}

TEST(FormulaCapacity, OperandStackHoldsTwoHundredNinetyNine) {
    Evaluator e;
    // "," is no operator: "1,2,3…" pushes numbers and commas as operands.
    std::string f;
    for (int i = 1; i <= 400; ++i)
        f += std::to_string(i) + ",";
    EXPECT_EQ(e.value(f), 150); // the 299th operand
    EXPECT_EQ(e.value(repeat("1,", 149) + "5"), 5); // exactly 299 fit
}

TEST(FormulaValueState, ValueCarriesOverUntilANumberIsComputed) {
    Evaluator e;
    EXPECT_EQ(e.value("7"), 7);
    EXPECT_FALSE(e("{5<3,1}").has);
    EXPECT_FALSE(e("5>3").has);
    EXPECT_EQ(e("1e999").result, "False");
    EXPECT_EQ(e.st.FormulaValue, 7);
    EXPECT_EQ(e.value("8"), 8);
}

TEST(FormulaSteps, RelationIsTheFullPrecedenceTable) {
    // Rows: top of stack, columns: incoming, both in operator-set order;
    // "x" is no relation.
    const char* table[17] = {
        ">><<<>>>>>>>>>>>>", ">><<<>>>>>>>>>>>>", ">>>><>>>>>>>>>>>>", ">>>><>>>>>>>>>>>>",
        "<<<<<=xxxxxx>>>>>", ">>>>x>>>>>>>>>>>>", "<<<<<xxxxxxx>>>>>", "<<<<<xxxxxxx>>>>>",
        "<<<<<xxxxxxx>>>>>", "<<<<<xxxxxxx>>>>>", "<<<<<xxxxxxx>>>>>", "<<<<<xxxxxxx>><>>",
        "<<<<<<<<<<<<<><>>", "<<<<<<<<<<<<<><>>", "<<<<<<<<<<<<xx<=>", "<<<<<<>>>>>>>>>>>",
        "<<<<<<<<<<<<<<<<=",
    };
    for (int i = 0; i < 17; ++i)
        for (int j = 0; j < 17; ++j) {
            const char want = table[i][j] == 'x' ? ' ' : table[i][j];
            EXPECT_EQ(Precede(kOperatorSet.substr(i, 1), kOperatorSet.substr(j, 1)), want)
                << kOperatorSet[i] << " against " << kOperatorSet[j];
        }
    EXPECT_THROW(Precede("*&%*&^(&^*(", "+"), FormulaFailure);
}

TEST(FormulaSteps, TokenizerJoinsTwoCharacterComparisons) {
    const std::string text = "12.5>=3<=x<>{y}!";
    std::int16_t pos = 1;
    std::vector<std::string> tokens;
    for (std::string_view t; !(t = NextToken(pos, text)).empty();)
        tokens.emplace_back(t);
    const std::vector<std::string> want = {"12.5", "@", "3", "$", "x", "#", "{", "y", "}", "!"};
    EXPECT_EQ(tokens, want);
    EXPECT_EQ(pos, static_cast<std::int16_t>(text.size() + 1));
}

TEST(FormulaSteps, OperateOnTruthTextsAndBrackets) {
    EXPECT_EQ(Operate("True", "&", "True"), "True");
    EXPECT_EQ(Operate("True", "&", "5"), "");
    EXPECT_EQ(Operate("5", "&", "False"), "False");
    EXPECT_EQ(Operate("False", "|", "False"), "False");
    EXPECT_EQ(Operate("x", "|", "True"), "True");
    EXPECT_EQ(Operate("x", "|", ""), "");
    EXPECT_EQ(Operate("1", "(", "2"), "");
    EXPECT_EQ(Operate("0.1", "+", "0.2"), "0.30000000000000004"); // reads back exactly
    EXPECT_THROW(Operate("1e200", "*", "1e200"), FormulaFailure);
    EXPECT_THROW(Operate("1e999", "<", "1"), FormulaFailure);
}

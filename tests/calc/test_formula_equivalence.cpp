// Randomized proof that the production evaluator and the compiled form give
// what the plain reference algorithm gives: the result text,
// FormulaHasValue and FormulaValue to the bit, with FormulaValue carried
// over from call to call, over well-formed, malformed and oversized
// formulas and values of every kind.
#include "calc/compiled.h"

#include "reference_evaluator.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace gzgl::calc;

namespace {

class FormulaGenerator {
public:
    explicit FormulaGenerator(std::uint64_t seed) : rng_(seed) {}

    int pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return pick(100) < percent; }

    std::string formula() {
        const int kind = pick(100);
        std::string f;
        if (kind < 40)
            f = expression(3);
        else if (kind < 70)
            f = conditional();
        else if (kind < 85)
            f = junk(1 + pick(60));
        else if (kind < 97)
            f = mutate(chance(50) ? expression(3) : conditional());
        else
            f = oversized();
        return chance(20) ? spaced(f) : f;
    }

    std::string format() {
        const int d = pick(8) == 0 ? pick(20) : pick(5);
        return d == 0 ? "#0" : "#0." + std::string(static_cast<std::size_t>(d), '0');
    }

    double value() {
        switch (pick(16)) {
        case 0: return 0;
        case 1: return -0.0;
        case 2: return pick(10000);
        case 3: return -pick(10000);
        case 4: return (pick(2000000) - 1000000) / 100.0;
        case 5: return (pick(2000000) - 1000000) / 3.0;
        case 6: return (pick(2000000) - 1000000) / 1000.0 * 1.1;
        case 7: return std::pow(10.0, pick(40) - 20) * (pick(2) ? 1 : -1);
        case 8: return std::pow(10.0, pick(600) - 300) * 1.2345;
        case 9: return 1e15 - pick(3) * 0.25;
        case 10: return 0.0001 + (pick(3) - 1) * 1e-19;
        case 11: return std::bit_cast<double>(rng_());
        case 12: return pick(3) == 0 ? std::numeric_limits<double>::infinity() : 1e-320;
        case 13: return 0.1 + 0.2;
        default: return (pick(100000) + 0.5) / 100.0; // a tie at two decimals
        }
    }

private:
    std::string number() {
        switch (pick(20)) {
        case 0: return ".5";
        case 1: return "1.";
        case 2: return "1.2.3";
        case 3: return std::to_string(pick(10)) + "e" + std::to_string(pick(30));
        case 4: return "1e999";
        case 5: return chance(50) ? "True" : "False";
        case 6: return "abc";
        case 7: return std::to_string(pick(1000)) + "." + std::to_string(pick(1000)) + "5";
        case 8: return "0";
        case 9: return "1e308";
        default: return std::to_string(pick(5000));
        }
    }
    std::string code() {
        static const char* codes[] = {"F003", "F004", "F005", "F000", "FFFF", "F1A2"};
        return codes[pick(6)];
    }
    std::string operand() { return chance(50) ? code() : number(); }
    std::string expression(int depth) {
        if (depth == 0 || chance(30))
            return operand();
        static const char* ops[] = {"+", "-", "*", "/"};
        switch (pick(6)) {
        case 0: return "(" + expression(depth - 1) + ")";
        case 1: return "-" + expression(depth - 1);
        case 2: return "[" + expression(depth - 1) + "]";
        default: return expression(depth - 1) + ops[pick(4)] + expression(depth - 1);
        }
    }
    std::string comparison() {
        static const char* cmp[] = {">", "<", ">=", "<=", "<>", "="};
        return expression(2) + cmp[pick(6)] + expression(2);
    }
    std::string condition(int depth) {
        if (depth == 0 || chance(40))
            return chance(70) ? comparison() : expression(1);
        const char* join = chance(50) ? "&" : "|";
        if (chance(70))
            return "[" + condition(depth - 1) + "]" + join + "[" + condition(depth - 1) + "]";
        return condition(depth - 1) + join + condition(depth - 1);
    }
    std::string conditional() {
        const std::string c = condition(2);
        const std::string yes = chance(15) ? "" : expression(2);
        const std::string no = chance(15) ? "" : expression(2);
        switch (pick(10)) {
        case 0: return "{" + c + "," + yes + "}";
        case 1: return "{" + c + "}";
        case 2: return "{" + c + "," + yes + "," + no;
        case 3: return "{" + c + "," + yes + "," + no + "}" + expression(1);
        default: return "{" + c + "," + yes + "," + no + "}";
        }
    }
    std::string junk(int n) {
        static const std::string alphabet = "0123456789.+-*/()[]<>=&|{},! F03TrueFalse@$#eE";
        std::string s;
        for (int i = 0; i < n; ++i)
            s += alphabet[static_cast<std::size_t>(pick(static_cast<int>(alphabet.size())))];
        return s;
    }
    std::string mutate(std::string s) {
        for (int n = 1 + pick(3); n > 0; --n) {
            const std::size_t at = s.empty() ? 0 : static_cast<std::size_t>(pick(static_cast<int>(s.size())));
            if (chance(50) && !s.empty())
                s.erase(at, 1);
            else
                s.insert(at, junk(1));
        }
        return s;
    }
    std::string spaced(const std::string& s) {
        std::string out;
        for (const char c : s) {
            if (chance(15))
                out += ' ';
            out += c;
        }
        return out;
    }
    // Deep nesting, long operand runs and texts at the scan position limit.
    std::string oversized() {
        const int n = 250 + pick(150);
        switch (pick(5)) {
        case 0: return std::string(static_cast<std::size_t>(n), '(') + expression(2) + std::string(n, ')');
        case 1: {
            std::string s;
            for (int i = 0; i < n; ++i)
                s += operand() + (chance(80) ? "," : "+");
            return s;
        }
        case 2: {
            std::string s;
            for (int i = 0; i < n; ++i)
                s += "[" + comparison() + "]&";
            return "{" + s + "[1>0]," + expression(2) + "," + expression(2) + "}";
        }
        case 3: return junk(1000 + pick(3000));
        default: return std::string(static_cast<std::size_t>(32760 + pick(10)), '0') + "+" + operand();
        }
    }

    std::mt19937_64 rng_;
};

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

} // namespace

TEST(FormulaEquivalence, ProductionAndCompiledEqualTheReferenceOnRandomFormulas) {
    FormulaGenerator gen(0x5EED2026);
    FormulaState text, compiled, ref, rawText, rawRef;
    int fast = 0;
    constexpr int kFormulas = 25000;
    for (int i = 0; i < kFormulas; ++i) {
        const std::string f = gen.formula();
        const CompiledFormula c(f);
        fast += c.compiled();
        const std::string format = gen.format();
        text.PrecisionFormat = compiled.PrecisionFormat = ref.PrecisionFormat = format;
        for (int round = 0; round < 2; ++round) {
            std::vector<double> values(c.codes().size());
            for (double& v : values)
                v = gen.value();
            const std::string substituted = SubstituteValues(f, values.data());
            ASSERT_EQ(substituted, reference::substituteValues(f, values.data())) << f;
            const std::string rr = reference::evaluateFormula(substituted, ref);
            const std::string rt = EvaluateFormula(substituted, text);
            const std::string rc = c.evaluate(values.data(), compiled);
            ASSERT_EQ(rt, rr) << "text: " << substituted;
            ASSERT_EQ(text.FormulaHasValue, ref.FormulaHasValue) << "text: " << substituted;
            ASSERT_EQ(bits(text.FormulaValue), bits(ref.FormulaValue)) << "text: " << substituted;
            ASSERT_EQ(rc, rr) << "compiled: " << f << " as " << substituted;
            ASSERT_EQ(compiled.FormulaHasValue, ref.FormulaHasValue) << "compiled: " << f << " as " << substituted;
            ASSERT_EQ(bits(compiled.FormulaValue), bits(ref.FormulaValue))
                << "compiled: " << f << " as " << substituted << ": " << compiled.FormulaValue << " vs "
                << ref.FormulaValue;
        }
        // The formula as stored, its codes read as text operands.
        rawText.PrecisionFormat = rawRef.PrecisionFormat = format;
        ASSERT_EQ(EvaluateFormula(f, rawText), reference::evaluateFormula(f, rawRef)) << f;
        ASSERT_EQ(rawText.FormulaHasValue, rawRef.FormulaHasValue) << f;
        ASSERT_EQ(bits(rawText.FormulaValue), bits(rawRef.FormulaValue)) << f;
    }
    // Most generated formulas must exercise the numeric pass, not its fallback.
    EXPECT_GT(fast, kFormulas / 2);
}

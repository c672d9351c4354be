// A formula line compiled once for evaluation over many grid rows.
//
// The recalculation evaluates every formula line for every employee: text
// substitution and a pass over text tokens for each of them would dominate
// it. A CompiledFormula tokenizes the formula once, with each item code as a
// value slot, and evaluates on numbers with fixed-size stacks and no
// allocation. Its results (result text, FormulaHasValue, FormulaValue to the
// bit) are those of EvaluateFormula on the substituted text, for every
// formula and every value: where the numeric pass could differ it takes the
// text path instead, either for every call (a code that would merge with a
// neighbouring character into one token, a text long enough to reach the
// tokenizer's position limit) or for one call (a value that is not finite,
// or whose decimal text is longer than the compiled pass allows for).
#pragma once

#include "calc/evaluator.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gzgl::calc {

// The item codes of a formula in order of occurrence, one entry per
// occurrence: every "F", scanning left to right, starts a code of the four
// characters from there (fewer at the end of the text).
std::vector<std::string> formulaCodes(std::string_view formula);

// The formula with the i-th code occurrence replaced by the decimal text of
// values[i] (15 significant digits, never in exponent form: plainDecimalText,
// since the tokenizer would cut "1e+20" into 1e, + and 20); a negative text
// is written "(0" + text + ")" so that no two operators meet.
std::string SubstituteValues(std::string_view formula, const double* values);

namespace detail {
// A token of a compiled formula.
struct FormulaToken {
    enum Kind : std::uint8_t { Op, Num, True, False, Slot };
    double num = 0;         // operand value (infinity: a literal beyond range)
    std::uint32_t slot = 0; // value slot: index into values
    Kind kind = Num;
    std::uint8_t op = 0; // operator: 1-based index in kOperatorSet
};
} // namespace detail

class CompiledFormula {
public:
    explicit CompiledFormula(std::string_view formulaWithCodes);

    // The codes in order of occurrence (see formulaCodes); the caller maps
    // each to a grid column once per formula line.
    const std::vector<std::string>& codes() const { return codes_; }

    // EvaluateFormula(SubstituteValues(formula, values), st). values[i] is
    // the number of the cell of codes()[i] (0 for an empty cell or a code
    // without a column); values may be null when there are no codes.
    std::string evaluate(const double* values, FormulaState& st) const;

    // False when the formula's shape sends every call down the text path.
    bool compiled() const { return shape_ != Shape::Text; }
    const std::string& formula() const { return formula_; }

private:
    using Token = detail::FormulaToken;
    enum class Shape : std::uint8_t { Blank, Value, Conditional, NoComma, Broken, Text };
    enum class Outcome : std::uint8_t { Number, TrueValue, FalseValue, Failed, NeedText };
    struct Result {
        Outcome outcome;
        double value;
    };

    static Result run(const std::vector<Token>& tokens, const double* values);
    std::string settle(const Result& r, bool assigns, const double* values, FormulaState& st) const;
    std::string textPath(const double* values, FormulaState& st) const;

    std::string formula_;
    std::vector<std::string> codes_;
    Shape shape_ = Shape::Text;
    std::vector<Token> value_;     // the whole formula, or the condition of a conditional form
    std::vector<Token> yes_, no_;  // the branches; empty for an empty branch
};

} // namespace gzgl::calc

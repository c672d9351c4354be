// The formula language's evaluator: a two-stack operator-precedence pass
// over text tokens.
//
// A formula arrives with every item code already replaced by its value
// (SubstituteValues). EvaluateFormula strips the spaces, appends the end
// marker "!" and hands the text to EvaluateExpression, which reads tokens
// left to right: operands go on the operand stack, operators on the
// operator stack, and the precedence relation between the operator on top
// and the incoming one decides whether to reduce (pop an operator and two
// operands, push the result), push, discard a matched bracket, or drop the
// incoming token. Every intermediate result is decimal text again, in the
// shortest form that reads back to the same double, so the text pass and
// a pass on doubles (CompiledFormula) compute the same numbers.
//
// The conditional form {condition,value-if-true,value-if-false} evaluates
// the condition and then one branch; an empty chosen branch, a condition
// that is neither "True" nor "False", a value that is itself a truth value
// or a form without "," assign nothing (FormulaHasValue false).
//
// Malformed text is not reported: a token without a precedence relation is
// dropped, a missing operand reads 0, a push onto a full stack (299 entries)
// is dropped. Only run-time failures end an evaluation with "False": a
// result or a literal beyond the range of a double, a scan position beyond
// 32767 (the tokenizer's position is a 16-bit count), and a conditional form
// whose closing "}" is missing or stands before the branch it should end.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace gzgl::calc {

// The values an evaluation shares with its caller.
struct FormulaState {
    // "#0" or "#0." + as many "0" as the target item's decimals.
    std::string PrecisionFormat = "#0";
    // The numeric result of the last evaluation that computed a number,
    // rounded to PrecisionFormat; kept between calls otherwise.
    double FormulaValue = 0;
    // True when the last evaluation assigns FormulaValue to the target item.
    bool FormulaHasValue = false;
};

// Evaluates a formula whose item codes have been replaced by values.
// Returns "True" when the formula was evaluated (FormulaHasValue tells
// whether it yields a value), "False" when the evaluation failed or a
// conditional form has no "," (FormulaHasValue false), "" for a blank
// formula (FormulaHasValue false). Never throws.
std::string EvaluateFormula(std::string_view formula, FormulaState& st);

// ---- The steps of an evaluation, exposed for the compiled form and for tests. ----

// Thrown inside an evaluation for a run-time failure; EvaluateFormula turns
// it into the result "False".
class FormulaFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The operators, in the order that indexes the precedence relation. "@" is
// >=, "$" is <=, "#" is <>, "!" the end marker.
inline constexpr std::string_view kOperatorSet = "+-*/()><@$#=&|[]!";

// 1-based position of a one-character token in kOperatorSet, 0 otherwise.
int operatorIndex(std::string_view token);

// True for the characters that end an operand: + - * / ( ) [ ] < > & | { } = , !
bool isDelimiter(char c);

// The text with every space removed.
std::string StripSpaces(std::string_view text);

// The token at the 1-based position pos of text, advancing pos past it: a
// delimiter (">=", "<=" and "<>" become "@", "$" and "#"), or the longest
// run of other characters. Empty past the end of the text. Throws
// FormulaFailure when pos would pass 32767.
std::string_view NextToken(std::int16_t& pos, std::string_view text);

// The relation between the operator on top of the stack and the incoming
// one: '>' (reduce), '<' (push), '=' (matched pair) or ' ' (none). Throws
// FormulaFailure for a text that is not an operator.
char Precede(std::string_view top, std::string_view incoming);

// a op b on texts read with the leading-number rule; comparisons give
// "True" / "False", "&" and "|" combine truth texts, a bracket gives "".
// Throws FormulaFailure for a literal or a result beyond the range of a
// double.
std::string Operate(std::string_view a, std::string_view op, std::string_view b);

} // namespace gzgl::calc

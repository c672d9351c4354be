// A plain second implementation of the formula evaluator, kept only to check
// the production one: it follows the algorithm step by step on text with
// string stacks, 1-based positions and cut-by-length substrings, and shares
// no code with calc/ beyond the leading-number rule (readNumber) and the
// decimal text of zero and of values that are not finite (decimalText).
#pragma once

#include "calc/evaluator.h"

#include <string>
#include <string_view>

namespace gzgl::calc::reference {

std::string evaluateFormula(std::string_view formula, FormulaState& st);

// Every "F" starts a four-character code, replaced by values[k] of the k-th
// code: its 15-significant-digit decimal written out without exponent, a
// negative one as "(0" + text + ")".
std::string substituteValues(std::string_view formula, const double* values);

// v's 15-significant-digit text rounded half away from zero to the pattern's
// decimals, as text.
std::string formatPattern(double v, std::string_view pattern);

} // namespace gzgl::calc::reference

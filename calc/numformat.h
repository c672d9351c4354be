// Numbers as the grid and the evaluator write them: "#0" / "#0.00" style
// patterns, and the shortest text that reads back to the same double.
//
// A pattern rounds the value's 15-significant-digit decimal text, not its
// binary value, half away from zero: 2.675 (binary 2.67499999999999982…)
// has the text 2.675 and shows as 2.68 with "#0.00"; −2.5 shows as −3 with
// "#0". A result that rounds to zero shows without a sign.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gzgl {

// What a pattern fixes: the count of "0" after its "." (decimal places) and
// before it (how many digits the whole number is padded to). "#0" is {0, 1},
// "#0.00" {2, 1}; other characters are ignored.
struct NumberPattern {
    int decimals = 0;
    int minIntegerDigits = 1;
};
NumberPattern parsePattern(std::string_view pattern);

// The pattern of an item with that many decimals: "#0", or "#0." followed
// by as many "0".
std::string precisionPattern(int decimals);

// v written with the pattern's decimals, rounded as described above. A value
// that is not finite is written as 0.
std::string formatNumber(double v, const NumberPattern& pattern);
std::string formatNumber(double v, std::string_view pattern);

// readNumber(formatNumber(v, pattern with these decimals)) without building
// the text in the common cases: the value a cell shows, read back.
double roundToPattern(double v, int decimals);

// The bound on a salary amount that is stored or typed, the entry box's: at
// most eight characters before the decimal point, sign included (99999999.99
// down to -9999999.99). Within it a value's 15-significant-digit text keeps
// seven decimals exactly, so what is stored is what formulas read back.
inline constexpr std::size_t kAmountWholeChars = 8;
inline constexpr const char* kAmountTooLarge = "谁这么大款，有这么多工资？";

// Whether a number's text keeps to the bound: the part before its first "."
// (all of it without one) has at most kAmountWholeChars characters.
bool amountTextFits(std::string_view text);
// Whether v, written with the pattern as it would be stored, keeps to the
// bound; a value that is not finite never does.
bool amountFits(double v, const NumberPattern& pattern);

// The shortest decimal text that reads back to exactly v (std::to_chars),
// with exponent form where that is shorter (1e+20); "0" for either zero.
std::string roundTripText(double v);

} // namespace gzgl

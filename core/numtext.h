// Conversions between numbers and their decimal text, used wherever a value
// read from a field or a text box becomes a number and back.
#pragma once

#include <string>
#include <string_view>

namespace gzgl {

// Reads the longest numeric prefix of text: optional blanks and sign, digits
// with an optional fraction or a fraction alone, then an optional exponent.
// Text without such a prefix reads 0. A prefix whose magnitude is beyond the
// range of a double reads as infinity (too large) or 0 (too small); the
// reading does not depend on the process locale.
double readNumber(std::string_view text);

// The decimal text of a value with at most 15 significant digits and no
// trailing zeros (1.56 shows as 1.56, 3 as 3), as "%.15g" writes it in the C
// locale: exponent form below 1e-4 and from 1e15 on (1e-05, 1e+15).
std::string decimalText(double v);

// The same decimal value without exponent form (1e+20 as
// 100000000000000000000, 1e-05 as 0.00001): the formula tokenizer splits an
// exponent at its sign, so a value substituted into formula text must be
// written out in full to read back as itself. Texts that are not numbers
// ("inf", "nan") stay as decimalText writes them.
std::string plainDecimalText(double v);

// A whole text that is one plain number: an optional sign, digits with at
// most one point, at least one digit ("+5", "-0.5", "5." and ".5" are;
// "1-2", "1.2.3", "-" and "" are not).
bool isNumberText(std::string_view text);

} // namespace gzgl

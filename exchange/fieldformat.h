// The pieces of FormatField (bank.h) that the file writers use on their own:
// the amount text of a number field and the padding or cutting of text that
// is already in GBK bytes, so that a line of the bank file is converted to
// GBK once per cell and measured without converting again.
#pragma once

#include <string>
#include <string_view>

namespace gzgl::exchange {

// A number field's text, step 1 of FormatField: the value read as a number
// (|v| < 0.0005 as 0) with two decimals ("#0.00"); with noPoint that
// amount × 100 in fen, "#0" or, with zeroPad, "#" followed by digits
// zeros ("#" alone for 0 digits, so a zero amount is the empty text).
std::string amountText(std::string_view value, bool noPoint, bool zeroPad, int digits);

// GBK bytes padded to width with blanks (align 0 on the right, any other
// on the left) or cut to their longest leading part of at most width bytes
// that does not split a double-byte character, then padded.
std::string fitGbk(std::string_view gbk, int align, int width);

} // namespace gzgl::exchange

// FormatField, the shared fixed-width formatter, and its GBK-byte form.
#include "exchange/bank.h"
#include "exchange/fieldformat.h"

#include "calc/numformat.h"
#include "core/gbk.h"
#include "core/numtext.h"

#include <algorithm>
#include <cmath>

namespace gzgl::exchange {

std::string amountText(std::string_view value, bool noPoint, bool zeroPad, int digits) {
    double v = readNumber(value);
    if (!std::isfinite(v) || std::fabs(v) < 0.0005)
        v = 0;
    if (!noPoint)
        return formatNumber(v, NumberPattern{2, 1});
    // The two-decimal amount as its text reads back, without writing the
    // text (roundToPattern's contract), times 100.
    const double fen = roundToPattern(v, 2) * 100;
    // "#0" has one integer digit; "#" + n zeros has n (none for "#").
    const int minDigits = zeroPad ? std::max(digits, 0) : 1;
    return formatNumber(fen, NumberPattern{0, minDigits});
}

std::string fitGbk(std::string_view gbk, int align, int width) {
    const std::size_t w = width > 0 ? static_cast<std::size_t>(width) : 0;
    std::string_view s = gbk;
    if (s.size() > w) {
        std::size_t i = 0;
        while (i < s.size()) {
            const std::size_t len = static_cast<unsigned char>(s[i]) >= 0x81 && i + 1 < s.size() ? 2 : 1;
            if (i + len > w)
                break;
            i += len;
        }
        s = s.substr(0, i);
    }
    const std::string blanks(w - s.size(), ' ');
    return align == 0 ? std::string(s) + blanks : blanks + std::string(s);
}

std::string FormatField(std::string_view value, int align, int width, bool isNumber, bool noPoint,
                        bool zeroPad, int digits) {
    const std::string s = isNumber ? amountText(value, noPoint, zeroPad, digits) : std::string(value);
    const std::size_t w = width > 0 ? static_cast<std::size_t>(width) : 0;
    std::size_t n = gbkLength(s);
    std::string kept = s;
    if (n > w) {
        kept = gbkLeft(s, w);
        n = gbkLength(kept);
    }
    const std::string blanks(w - n, ' ');
    return align == 0 ? kept + blanks : blanks + kept;
}

} // namespace gzgl::exchange

#include "calc/numformat.h"

#include "core/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace gzgl {

namespace {
constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int kSignificant = 15;
} // namespace

NumberPattern parsePattern(std::string_view pattern) {
    NumberPattern p{0, 0};
    bool afterPoint = false;
    for (const char c : pattern) {
        if (c == '.')
            afterPoint = true;
        else if (c == '0')
            ++(afterPoint ? p.decimals : p.minIntegerDigits);
    }
    return p;
}

bool amountTextFits(std::string_view text) {
    return std::min(text.find('.'), text.size()) <= kAmountWholeChars;
}

bool amountFits(double v, const NumberPattern& pattern) {
    return std::isfinite(v) && amountTextFits(formatNumber(v, pattern));
}

namespace {

// The text of the integer |r| / 10^decimals, r whole and below 1e13 in
// magnitude, as the general path below writes it.
std::string scaledIntegerText(double r, int decimals, int minIntegerDigits) {
    char digits[24];
    int len = 0;
    for (auto n = static_cast<unsigned long long>(std::fabs(r)); n > 0; n /= 10)
        digits[len++] = static_cast<char>('0' + n % 10);
    // digits holds the figures backwards; below the decimals they are 0.
    const int dec = decimals;
    const int integerLen = std::max(len - dec, 0);
    const int integerWidth = std::max(integerLen, minIntegerDigits);
    std::string out;
    out.reserve(static_cast<std::size_t>(integerWidth + dec + 2));
    if (r < 0)
        out += '-';
    out.append(static_cast<std::size_t>(integerWidth - integerLen), '0');
    for (int i = len - 1; i >= dec; --i)
        out += digits[i];
    if (dec > 0) {
        out += '.';
        for (int i = dec - 1; i >= 0; --i)
            out += i < len ? digits[i] : '0';
    }
    return out;
}

} // namespace

std::string formatNumber(double v, const NumberPattern& pattern) {
    if (!std::isfinite(v))
        v = 0;
    const int decimals = pattern.decimals < 0 ? 0 : pattern.decimals;
    if (decimals <= 15) {
        // The common case without building the 15-digit text: where m lies
        // clearly off a half-integer, the text rounds as m does (see
        // roundToPattern); a whole number below 1e13 is written directly.
        const double m = v * kPow10[decimals];
        const double am = std::fabs(m);
        if (am < 1e13) {
            const double r = std::nearbyint(m);
            if (0.5 - std::fabs(m - r) > am * 6e-15)
                return scaledIntegerText(r, decimals, pattern.minIntegerDigits);
        }
    }
    // The 15 significant digits: "d.dddddddddddddde±x" (or with a "-").
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, kSignificant - 1);
    const std::string_view sci(buf, r.ptr - buf);
    const bool negative = sci[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    std::string digits;
    digits += sci[first];
    digits.append(sci.substr(first + 2, kSignificant - 1));
    const int exponent = std::stoi(std::string(sci.substr(sci.find('e') + 1)));

    // Digit i weighs 10^(exponent - i); the integer N = D × 10^decimals keeps
    // the first `keep` digits, rounded half away from zero on the next one.
    const long long keep = static_cast<long long>(exponent) + decimals + 1;
    std::string n;
    if (keep >= kSignificant) {
        n = digits + std::string(static_cast<std::size_t>(keep - kSignificant), '0');
    } else if (keep <= 0) {
        n = (keep == 0 && digits[0] >= '5') ? "1" : "0";
    } else {
        n = digits.substr(0, static_cast<std::size_t>(keep));
        if (digits[static_cast<std::size_t>(keep)] >= '5') {
            std::size_t i = n.size();
            while (i > 0 && n[i - 1] == '9')
                n[--i] = '0';
            if (i == 0)
                n.insert(n.begin(), '1');
            else
                ++n[i - 1];
        }
    }
    const std::size_t lead = n.find_first_not_of('0');
    const bool zero = lead == std::string::npos;
    n = zero ? std::string() : n.substr(lead);

    const std::size_t dec = static_cast<std::size_t>(decimals);
    if (n.size() < dec)
        n.insert(0, dec - n.size(), '0');
    std::string integer = n.substr(0, n.size() - dec);
    if (integer.size() < static_cast<std::size_t>(pattern.minIntegerDigits))
        integer.insert(0, static_cast<std::size_t>(pattern.minIntegerDigits) - integer.size(), '0');
    std::string out = (negative && !zero) ? "-" : "";
    out += integer;
    if (dec > 0) {
        out += '.';
        out.append(n, n.size() - dec, dec);
    }
    return out;
}

std::string precisionPattern(int decimals) {
    return decimals > 0 ? "#0." + std::string(static_cast<std::size_t>(decimals), '0') : "#0";
}

std::string formatNumber(double v, std::string_view pattern) { return formatNumber(v, parsePattern(pattern)); }

double roundToPattern(double v, int decimals) {
    if (v == 0 || !std::isfinite(v))
        return 0.0;
    if (decimals < 0)
        decimals = 0;
    if (decimals <= 15) {
        // m is v × 10^decimals within half an ulp, and the 15-digit text of v
        // lies within 5e-15 relative of v: when m is farther than that from
        // a half-integer, the text rounds to the same integer as m does.
        const double scale = kPow10[decimals];
        const double m = v * scale;
        const double am = std::fabs(m);
        if (am < 1e13) {
            const double r = std::nearbyint(m);
            if (0.5 - std::fabs(m - r) > am * 6e-15)
                return r / scale + 0.0; // exact integer over exact power: correctly rounded; +0.0 drops a "-0"
        }
    }
    return readNumber(formatNumber(v, NumberPattern{decimals, 1}));
}

std::string roundTripText(double v) {
    if (v == 0)
        return "0";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

} // namespace gzgl

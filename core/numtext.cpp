#include "core/numtext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace gzgl {

namespace {
// Advances i over a run of digits and answers how many there were.
std::size_t skipDigits(std::string_view text, std::size_t& i) {
    const std::size_t from = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    return i - from;
}

// The value of a numeric prefix that lies outside the range of a double:
// infinity when it is too large, zero when it is too small. Which of the two
// follows from the decimal exponent of its first nonzero digit, because
// out-of-range magnitudes are either above 1e308 or below 1e-323.
double outOfRange(std::string_view number) {
    const bool negative = !number.empty() && number[0] == '-';
    long long lead = 0; // decimal exponent of the first nonzero digit, plus one
    bool seenPoint = false;
    bool seenNonzero = false;
    std::size_t i = negative ? 1 : 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        const char c = number[i];
        if (c == '.') {
            seenPoint = true;
        } else if (!seenNonzero && c == '0') {
            if (seenPoint)
                --lead;
        } else {
            seenNonzero = true;
            if (!seenPoint)
                ++lead;
        }
    }
    long long exponent = 0;
    if (i < number.size()) {
        ++i;
        const bool expNegative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            ++i;
        for (; i < number.size(); ++i)
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (number[i] - '0');
        if (expNegative)
            exponent = -exponent;
    }
    const double magnitude = lead + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}
} // namespace

double readNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::size_t start = i;
    if (i < n && text[i] == '+')
        start = ++i; // from_chars takes no plus sign
    else if (i < n && text[i] == '-')
        ++i;
    std::size_t digits = skipDigits(text, i);
    if (i < n && text[i] == '.') {
        std::size_t j = i + 1;
        const std::size_t frac = skipDigits(text, j);
        if (digits > 0 || frac > 0) {
            i = j;
            digits += frac;
        }
    }
    if (digits == 0)
        return 0.0;
    std::size_t end = i;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (skipDigits(text, j) > 0)
            end = j;
    }
    // from_chars reads the same text whatever the process locale is (the
    // desktop program runs under the user's locale, whose decimal mark may
    // not be ".").
    const std::string_view number = text.substr(start, end - start);
    double v = 0.0;
    const auto r = std::from_chars(number.data(), number.data() + number.size(), v);
    if (r.ec == std::errc::result_out_of_range)
        return outOfRange(number);
    return v;
}

std::string decimalText(double v) {
    if (v == 0)
        return "0";
    // "%.15g" in the C locale, independent of the process locale.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

std::string plainDecimalText(double v) {
    const std::string t = decimalText(v);
    const std::size_t e = t.find('e');
    if (e == std::string::npos)
        return t;
    const bool negative = t[0] == '-';
    std::string digits; // the mantissa's digits, without trailing zeros
    for (std::size_t i = 0; i < e; ++i)
        if (t[i] >= '0' && t[i] <= '9')
            digits += t[i];
    int exponent = 0;
    const char* from = t.data() + e + 1;
    if (*from == '+')
        ++from;
    std::from_chars(from, t.data() + t.size(), exponent);
    // The point stands after this many digits of the mantissa.
    const long point = static_cast<long>(exponent) + 1;
    const long n = static_cast<long>(digits.size());
    std::string out = negative ? "-" : "";
    if (point <= 0)
        out += "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    else if (point >= n)
        out += digits + std::string(static_cast<std::size_t>(point - n), '0');
    else
        out += digits.substr(0, static_cast<std::size_t>(point)) + "." +
               digits.substr(static_cast<std::size_t>(point));
    return out;
}

bool isNumberText(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        ++i;
    bool digit = false, point = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            digit = true;
        else if (t[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

} // namespace gzgl

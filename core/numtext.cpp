#include "core/numtext.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace gzgl {

namespace {
// Advances i over a run of digits and answers how many there were.
std::size_t skipDigits(std::string_view text, std::size_t& i) {
    const std::size_t from = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    return i - from;
}
} // namespace

double readNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
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
    const std::string prefix(text.substr(start, end - start));
    return std::strtod(prefix.c_str(), nullptr);
}

std::string decimalText(double v) {
    if (v == 0)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

} // namespace gzgl

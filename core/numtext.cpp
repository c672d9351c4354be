#include "core/numtext.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace gzgl {

double readNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        std::size_t j = i + 1;
        std::size_t frac = 0;
        while (j < n && std::isdigit(static_cast<unsigned char>(text[j]))) {
            ++j;
            ++frac;
        }
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
        std::size_t expDigits = 0;
        while (j < n && std::isdigit(static_cast<unsigned char>(text[j]))) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
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
    std::string s = buf;
    // %.15g may choose an exponent form; keep it, it reads back the same.
    return s;
}

} // namespace gzgl

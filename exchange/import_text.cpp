// The text side of the salary-file readers: fields, amounts, periods.
#include "exchange/import_support.h"

#include "core/numtext.h"
#include "core/text.h"

#include <algorithm>
#include <cmath>

namespace gzgl::exchange {

std::vector<std::string> splitFields(std::string_view text, std::string_view separator) {
    std::vector<std::string> fields;
    if (separator.empty()) {
        fields.emplace_back(text);
        return fields;
    }
    for (;;) {
        const std::size_t at = text.find(separator);
        fields.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return fields;
        text.remove_prefix(at + separator.size());
    }
}

std::size_t fieldCount(std::string_view text, std::string_view separator) {
    if (separator.empty())
        return 1;
    std::size_t n = 1;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, at + separator.size()))
        ++n;
    return n;
}

std::string shownLine(std::string_view text) {
    const std::string cut = leftChars(text, 120);
    return cut.size() < text.size() ? cut + "……" : cut;
}

std::optional<double> readAmount(std::string_view text) {
    if (!isNumberText(text))
        return std::nullopt;
    const double v = readNumber(text);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

bool isPeriodText(std::string_view text) {
    if (text.size() != 6 || !allDigits(text))
        return false;
    const int month = (text[4] - '0') * 10 + (text[5] - '0');
    return text.substr(0, 4) >= "1000" && month >= 1 && month <= 12;
}

void mergeSkipped(std::vector<SkippedLine>& skipped, const std::vector<SkippedLine>& unreadable) {
    skipped.insert(skipped.end(), unreadable.begin(), unreadable.end());
    std::stable_sort(skipped.begin(), skipped.end(),
                     [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; });
}

} // namespace gzgl::exchange

#include "core/text.h"

#include "core/gbk.h"

#include <cctype>

namespace gzgl {

std::string trim(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

std::string StripQuotes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '\'' && c != '|')
            out += c;
    return out;
}

std::string ClipText(std::string_view value, std::size_t maxBytes) {
    std::string t = trim(value);
    if (gbkLength(t) >= maxBytes)
        t = gbkLeft(t, maxBytes);
    return StripQuotes(t);
}

std::string nameRefusal(std::string_view name, std::string_view field, std::size_t maxBytes) {
    const std::string f(field);
    if (name.find_first_of("'|") != std::string_view::npos)
        return f + "里不能包含符号 ' 或 |。";
    for (unsigned char c : name)
        if (c < ' ' || c == 0x7F)
            return f + "里不能包含制表符、换行符等控制字符。";
    if (gbkUnencodableAt(name) != std::string_view::npos)
        return f + "里有GBK字符集以外的字符“" + firstUnencodable(name) + "”，不能保存。";
    if (const std::size_t bytes = gbkLength(name); bytes > maxBytes)
        return f + "太长：最多" + std::to_string(maxBytes) + "个字节（一个汉字占两个字节），现有" +
               std::to_string(bytes) + "个字节。";
    return {};
}

int HasDoubleQuote(std::string_view s) { return s.find('"') != std::string_view::npos ? 2 : 1; }

std::string ReplaceAll(std::string& text, std::string_view search, std::string_view replacement) {
    if (search.empty())
        return text;
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(search, pos);
        if (hit == std::string::npos)
            break;
        out.append(text, pos, hit - pos);
        out += replacement;
        pos = hit + search.size();
    }
    out.append(text, pos, std::string::npos);
    text = out;
    return text;
}

std::string upperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool allDigits(std::string_view s) {
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::string zeros(int n) { return n > 0 ? std::string(static_cast<std::size_t>(n), '0') : std::string(); }

std::string zeroPad(long long v, int width) {
    std::string s = std::to_string(v < 0 ? -v : v);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    return v < 0 ? "-" + s : s;
}

std::size_t charCount(std::string_view text) {
    std::size_t n = 0;
    for (const unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string leftChars(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t seen = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == count)
                break;
            ++seen;
        }
    }
    return std::string(text.substr(0, i));
}

std::vector<std::string> splitAt(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(separator, from);
        pieces.emplace_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos)
            return pieces;
        from = at + 1;
    }
}

} // namespace gzgl

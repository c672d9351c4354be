#include "core/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <vector>

namespace gzgl {

namespace {

// Length of the UTF-8 sequence starting with byte b (1 for stray bytes).
std::size_t seqLength(unsigned char b) {
    if (b < 0x80)
        return 1;
    if ((b & 0xE0) == 0xC0)
        return 2;
    if ((b & 0xF0) == 0xE0)
        return 3;
    if ((b & 0xF8) == 0xF0)
        return 4;
    return 1;
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one complete input; false when any byte could not be converted.
    bool convert(std::string_view in, std::string& out) {
        out.clear();
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buf[256];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

Converter& toGbkConverter() {
    thread_local Converter c("GBK", "UTF-8");
    return c;
}

Converter& fromGbkConverter() {
    thread_local Converter c("UTF-8", "GBK");
    return c;
}

// GBK byte count of one UTF-8 character.
std::size_t charBytes(std::string_view ch) {
    if (ch.size() == 1)
        return 1;
    std::string out;
    if (toGbkConverter().convert(ch, out) && !out.empty())
        return out.size();
    return 1;
}

} // namespace

std::size_t gbkLength(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t len = std::min(seqLength(static_cast<unsigned char>(s[i])), s.size() - i);
        n += charBytes(s.substr(i, len));
        i += len;
    }
    return n;
}

std::string gbkLeft(std::string_view s, std::size_t maxBytes) {
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t len = std::min(seqLength(static_cast<unsigned char>(s[i])), s.size() - i);
        std::size_t b = charBytes(s.substr(i, len));
        if (n + b > maxBytes)
            break;
        n += b;
        i += len;
    }
    return std::string(s.substr(0, i));
}

std::size_t gbkUnencodableAt(std::string_view s) {
    std::string enc;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = seqLength(b);
        if (b < 0x80) {
            ++i;
            continue;
        }
        // A stray or truncated sequence converts to nothing sensible either.
        if (len == 1 || i + len > s.size() || !toGbkConverter().convert(s.substr(i, len), enc) || enc.empty())
            return i;
        i += len;
    }
    return std::string_view::npos;
}

std::string toGbk(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t len = std::min(seqLength(static_cast<unsigned char>(s[i])), s.size() - i);
        std::string_view ch = s.substr(i, len);
        std::string enc;
        if (len == 1 && static_cast<unsigned char>(ch[0]) < 0x80)
            out += ch[0];
        else if (toGbkConverter().convert(ch, enc) && !enc.empty())
            out += enc;
        else
            out += '?';
        i += len;
    }
    return out;
}

std::string fromGbk(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        std::string dec;
        if (i + 1 < s.size() && fromGbkConverter().convert(s.substr(i, 2), dec) && !dec.empty()) {
            out += dec;
            i += 2;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string firstUnencodable(std::string_view s) {
    const std::size_t at = gbkUnencodableAt(s);
    if (at == std::string_view::npos)
        return {};
    const std::string_view rest = s.substr(at);
    const auto lead = static_cast<unsigned char>(rest[0]);
    const std::size_t len = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    bool whole = len > 1 && len <= rest.size();
    for (std::size_t i = 1; whole && i < len; ++i)
        whole = (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80;
    static const char hex[] = "0123456789ABCDEF";
    return whole ? std::string(rest.substr(0, len)) : std::string("0x") + hex[lead >> 4] + hex[lead & 0xF];
}

} // namespace gzgl

#include "base/tree.h"

#include "core/text.h"

namespace gzgl::base {

std::string nodeKey(int level, std::string_view code) {
    return "Dm" + std::to_string(level) + "_" + std::string(code);
}

std::string codeOfKey(std::string_view key) {
    return key.size() > 4 ? std::string(key.substr(4)) : std::string();
}

std::string textBeforeBlank(std::string_view entry) {
    const std::string t = trim(entry);
    return t.substr(0, t.find(' '));
}

std::string appendChoice(std::string_view field, std::string_view value) {
    if (trim(field).empty())
        return std::string(value);
    return std::string(field) + "," + std::string(value);
}

std::string likeEscaped(std::string_view code) {
    std::string out;
    out.reserve(code.size());
    for (char c : code) {
        if (c == '\\' || c == '%' || c == '_')
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace gzgl::base

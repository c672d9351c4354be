// Tree nodes as the department and type trees show them. The engine answers
// the nodes in display order with their parent's key; a screen adds them in
// that order under the parent (the root when the parent key is unknown).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gzgl::base {

inline constexpr const char* kRootKey = "Dm0";

struct TreeNode {
    std::string key;       // "Dm0", or "Dm" + level + "_" + code
    std::string text;      // code + " " + name
    std::string parentKey; // empty for the root
    std::string code;      // empty for the root
    int level = 0;         // 0 for the root
    bool red = false;      // a leaf department without employees
    bool operator==(const TreeNode&) const = default;
};

// "Dm" + level + "_" + code.
std::string nodeKey(int level, std::string_view code);
// The code a node key carries: its characters from the fifth on ("" for
// the root or a short key).
std::string codeOfKey(std::string_view key);
// The text before the first blank ("01  总部" -> "01"), trimmed.
std::string textBeforeBlank(std::string_view entry);

// A picker's choice added to a field: the field becomes the value, or the
// value is appended after "," when the field already holds something.
std::string appendChoice(std::string_view field, std::string_view value);

// The code escaped for a LIKE pattern with ESCAPE '\': a code that holds
// % or _ matches only itself.
std::string likeEscaped(std::string_view code);

} // namespace gzgl::base

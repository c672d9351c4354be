#include "items/line_order.h"

#include "calc/compiled.h"
#include "core/text.h"
#include "items/items.h"

#include <algorithm>
#include <set>
#include <utility>

namespace gzgl::items {

namespace {

std::string named(const std::map<std::string, std::string>& names, const std::string& code) {
    const auto it = names.find(code);
    return it == names.end() ? code : "“" + it->second + "”(" + code + ")";
}

std::map<std::string, std::string> namesOf(Session& s) {
    std::map<std::string, std::string> names;
    for (const Item& i : loadItems(s))
        names[trim(i.code)] = trim(i.name);
    return names;
}

// A warning's identity across two orders: the item of the line that reads
// too early and the item it reads, so that changing a line's text or
// moving it keeps a case it already had.
using Key = std::pair<std::string, std::string>;

std::set<Key> keysOf(const std::vector<OrderWarning>& warnings) {
    std::set<Key> keys;
    for (const OrderWarning& w : warnings)
        keys.insert({w.code, w.item});
    return keys;
}

} // namespace

std::vector<OrderWarning> checkLineOrder(const std::vector<FormulaLine>& lines,
                                         const std::map<std::string, std::string>& names) {
    // For every line, each item it reads and the first later line that
    // computes it.
    std::vector<OrderWarning> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string own = trim(lines[i].code);
        std::vector<std::string> read;
        for (const std::string& c : calc::formulaCodes(lines[i].formula))
            if (c != own && std::find(read.begin(), read.end(), c) == read.end())
                read.push_back(c);
        for (const std::string& c : read)
            for (std::size_t j = i + 1; j < lines.size(); ++j)
                if (trim(lines[j].code) == c) {
                    OrderWarning w;
                    w.line = static_cast<int>(i + 1);
                    w.code = own;
                    w.item = c;
                    w.laterLine = static_cast<int>(j + 1);
                    const auto self = names.find(own);
                    w.text = "第" + std::to_string(w.line) + "行（" +
                             (self == names.end() ? own : self->second + " " + own) + "）中的" + named(names, c) +
                             "由后面的第" + std::to_string(w.laterLine) + "行计算，本行将使用其计算前的值";
                    out.push_back(std::move(w));
                    break;
                }
    }
    return out;
}

std::vector<OrderWarning> checkLineOrder(Session& s) { return checkLineOrder(loadFormulaLines(s), namesOf(s)); }

Outcome lineOrderReport(Session& s) {
    const std::vector<OrderWarning> warnings = checkLineOrder(s);
    if (warnings.empty())
        return Outcome{true, "公式顺序没有问题。", kTitle, Icon::Information, {}};
    std::string text;
    for (const OrderWarning& w : warnings)
        text += (text.empty() ? "" : "\n") + w.text + "。";
    return Outcome::refuse(text, kTitle, Icon::Exclamation, "fgAlready");
}

bool acceptLineOrder(Session& s, Prompt& p, const std::vector<FormulaLine>& before,
                     const std::vector<FormulaLine>& after) {
    const std::map<std::string, std::string> names = namesOf(s);
    const std::set<Key> old = keysOf(checkLineOrder(before, names));
    std::string text;
    for (const OrderWarning& w : checkLineOrder(after, names))
        if (!old.count({w.code, w.item}))
            text += w.text + "。\n";
    if (text.empty())
        return true;
    return p.askYesNo(text + "仍按此顺序保存公式吗？", kTitle, Icon::Question);
}

} // namespace gzgl::items

#include "accounting/store.h"

#include "base/tree.h"
#include "core/text.h"

#include <map>

namespace gzgl::accounting {

std::string YearMonth::periodText() const {
    return zeroPad(year, 4) + zeroPad(month, 2);
}

std::vector<AccountNode> accountTree(const std::vector<Account>& chart) {
    std::vector<AccountNode> out;
    out.push_back({base::kRootKey, "", kAccountRootText, "", false});
    // The last account seen at each level: the parent candidate of the
    // accounts after it one level down.
    std::map<int, const Account*> last;
    for (const Account& a : chart) {
        std::string parent = base::kRootKey;
        if (const auto up = last.find(a.level - 1); up != last.end() && a.code.starts_with(up->second->code))
            parent = base::nodeKey(up->second->level, up->second->code);
        last.erase(last.lower_bound(a.level), last.end());
        last[a.level] = &a;
        out.push_back({base::nodeKey(a.level, a.code), parent, a.code + " " + a.name, a.code, a.leaf});
    }
    return out;
}

} // namespace gzgl::accounting

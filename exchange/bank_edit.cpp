#include "exchange/bank_edit.h"

#include <algorithm>
#include <utility>

namespace gzgl::exchange {

Outcome moveBankRow(BankTemplate& tpl, int index, int delta) {
    const int count = static_cast<int>(tpl.rows.size());
    if (index < 0 || index >= count || delta == 0)
        return Outcome::refuse({}, {}, Icon::None);
    const int to = index + (delta < 0 ? -1 : 1);
    if (to < 0)
        return Outcome::refuse(kRowAtTop, "提示", Icon::Exclamation);
    if (to >= count)
        return Outcome::refuse(kRowAtBottom, "提示", Icon::Exclamation);
    std::swap(tpl.rows[static_cast<std::size_t>(index)], tpl.rows[static_cast<std::size_t>(to)]);
    return Outcome::success();
}

bool removeBankRow(BankTemplate& tpl, int index) {
    if (index < 0 || index >= static_cast<int>(tpl.rows.size()))
        return false;
    tpl.rows.erase(tpl.rows.begin() + index);
    return true;
}

std::string departmentCodeOf(const std::string& entry) {
    return entry.substr(0, entry.find(' '));
}

int addBankDepartment(BankTemplate& tpl, const std::string& code, const std::string& name) {
    if (code.empty())
        return -1;
    auto& deps = tpl.departments;
    const auto found = std::find_if(deps.begin(), deps.end(),
                                    [&](const std::string& e) { return departmentCodeOf(e) == code; });
    if (found != deps.end())
        return static_cast<int>(found - deps.begin());
    deps.push_back(name.empty() ? code : code + " " + name);
    return static_cast<int>(deps.size()) - 1;
}

std::string templateProblemsMessage(const std::vector<std::string>& problems, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < problems.size() && i < shown; ++i)
        text += (i ? "\n" : "") + problems[i];
    if (problems.size() > shown)
        text += "\n……另有 " + std::to_string(problems.size() - shown) + " 行无法读取。";
    return text;
}

} // namespace gzgl::exchange

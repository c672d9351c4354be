#include "app/cli/args.h"

namespace gzgl::cli {

Args::Args(int argc, char** argv, const std::set<std::string>& flags) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--") {
            // The end of the options: what follows are words, even when
            // they begin with "--" (a formula such as --5).
            words_.insert(words_.end(), argv + i + 1, argv + argc);
            break;
        }
        if (a.rfind("--", 0) != 0) {
            words_.push_back(a);
            continue;
        }
        std::string key = a.substr(2);
        if (const auto eq = key.find('='); eq != std::string::npos) {
            options_[key.substr(0, eq)] = key.substr(eq + 1);
            repeated_[key.substr(0, eq)].push_back(key.substr(eq + 1));
            continue;
        }
        if (flags.count(key)) {
            flags_.insert(key);
            continue;
        }
        if (i + 1 >= argc)
            throw UsageError("选项 --" + key + " 缺少取值");
        options_[key] = argv[++i];
        repeated_[key].push_back(options_[key]);
    }
}

std::optional<std::string> Args::get(const std::string& key) const {
    auto it = options_.find(key);
    if (it == options_.end())
        return std::nullopt;
    return it->second;
}

std::string Args::get(const std::string& key, const std::string& fallback) const {
    return get(key).value_or(fallback);
}

std::string Args::require(const std::string& key) const {
    auto v = get(key);
    if (!v)
        throw UsageError("缺少选项 --" + key);
    return *v;
}

std::vector<std::string> Args::getAll(const std::string& key) const {
    auto it = repeated_.find(key);
    return it == repeated_.end() ? std::vector<std::string>{} : it->second;
}

void Args::allowOnly(const std::set<std::string>& allowed) const {
    for (const auto& [k, v] : options_)
        if (!allowed.count(k) && k != "home")
            throw UsageError("未知选项 --" + k);
    for (const auto& k : flags_)
        if (!allowed.count(k))
            throw UsageError("未知选项 --" + k);
}

} // namespace gzgl::cli

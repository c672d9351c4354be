// Command-line arguments: positional words and "--key value" options.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace gzgl::cli {

// A usage error: exit code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Args {
public:
    // flags are options that take no value (--yes).
    Args(int argc, char** argv, const std::set<std::string>& flags);

    const std::vector<std::string>& words() const { return words_; }
    std::optional<std::string> get(const std::string& key) const;
    std::string get(const std::string& key, const std::string& fallback) const;
    std::string require(const std::string& key) const;
    // Every value of an option that may be repeated (--cond A --cond B), in
    // the order given; get() answers the last one.
    std::vector<std::string> getAll(const std::string& key) const;
    bool flag(const std::string& key) const { return flags_.count(key) > 0; }
    // Fails with a usage error when an option outside allowed was given.
    void allowOnly(const std::set<std::string>& allowed) const;

private:
    std::vector<std::string> words_;
    std::map<std::string, std::string> options_;
    std::map<std::string, std::vector<std::string>> repeated_;
    std::set<std::string> flags_;
};

} // namespace gzgl::cli

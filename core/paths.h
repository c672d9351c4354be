// Places on disk: the data home (AppPath), its KSMoney folder, and finding a
// file there whatever the case of its name (the system writes both
// GZ0001.MDB and GZ0001.mdb forms).
#pragma once

#include <string>
#include <utility>

namespace gzgl {

// The data home: the --home argument when given, else $GZGL_HOME, else
// ~/.local/share/gzgl. Trimmed, without a trailing "/".
std::string resolveDataHome(const std::string& homeArgument);

// AppPath + "/KSMoney".
std::string moneyFolder(const std::string& appPath);

// The path of name inside folder: an existing entry whose name matches
// case-insensitively when there is one, else folder + "/" + name.
std::string findFileNoCase(const std::string& folder, const std::string& name);
bool fileExistsNoCase(const std::string& folder, const std::string& name);

// Lays out a new data home as an installer would: creates AppPath/KSMoney
// and makes the empty template databases GZNull.mdb / GZNULL.MDB there
// when they are missing.
// Throws std::runtime_error when the folder cannot be made.
void layoutDataHome(const std::string& appPath);

// A file removed when the guard goes unless its path was cleared first: the
// temporary or newly placed file of a write that did not finish.
struct FileGuard {
    std::string path;
    FileGuard() = default;
    explicit FileGuard(std::string p) : path(std::move(p)) {}
    FileGuard(const FileGuard&) = delete;
    FileGuard& operator=(const FileGuard&) = delete;
    ~FileGuard();
};

} // namespace gzgl

// Places on disk: the data home (AppPath), its KSMoney folder, and finding a
// file there whatever the case of its name (the system writes both
// GZ0001.MDB and GZ0001.mdb forms).
#pragma once

#include <string>

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

} // namespace gzgl

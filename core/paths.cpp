#include "core/paths.h"

#include "core/connection.h"
#include "core/text.h"

#include <strings.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace gzgl {

std::string resolveDataHome(const std::string& homeArgument) {
    std::string home = trim(homeArgument);
    if (home.empty()) {
        if (const char* env = std::getenv("GZGL_HOME"))
            home = trim(env);
    }
    if (home.empty()) {
        const char* h = std::getenv("HOME");
        home = std::string(h ? h : ".") + "/.local/share/gzgl";
    }
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return home;
}

std::string moneyFolder(const std::string& appPath) { return appPath + "/KSMoney"; }

std::string findFileNoCase(const std::string& folder, const std::string& name) {
    const std::string exact = folder + "/" + name;
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string n = entry.path().filename().string();
        if (strcasecmp(n.c_str(), name.c_str()) == 0)
            return entry.path().string();
    }
    return exact;
}

bool fileExistsNoCase(const std::string& folder, const std::string& name) {
    std::error_code ec;
    return fs::is_regular_file(findFileNoCase(folder, name), ec);
}

void layoutDataHome(const std::string& appPath) {
    const std::string money = moneyFolder(appPath);
    std::error_code ec;
    fs::create_directories(money, ec);
    if (!fs::is_directory(money))
        throw std::runtime_error("不能建立数据目录 " + money + ": " + ec.message());
    // The template is an empty database; both spellings are looked for.
    for (const char* name : {"GZNull.mdb", "GZNULL.MDB"}) {
        const fs::path target = fs::path(money) / name;
        if (!fs::exists(target, ec))
            createEmptyDatabase(target.string());
    }
}

FileGuard::~FileGuard() {
    if (!path.empty())
        ::unlink(path.c_str());
}

} // namespace gzgl

// What "关于工资系统" tells: the program, its version, the versions of the
// libraries it stands on, where its data lives and how many tasks it holds.
#pragma once

#include "core/session.h"

#include <string>

namespace gzgl {

struct AboutInfo {
    std::string title;
    std::string version;
    std::string sqliteVersion;
    std::string dataHome;
    int taskCount = 0; // -1 when the system database cannot be read
};

AboutInfo aboutInfo(Session& s);

} // namespace gzgl

#include "core/about.h"

#include <sqlite3.h>

#ifndef GZGL_VERSION
#define GZGL_VERSION "0.0"
#endif

namespace gzgl {

AboutInfo aboutInfo(Session& s) {
    AboutInfo a;
    a.title = s.productTitle;
    a.version = GZGL_VERSION;
    a.sqliteVersion = sqlite3_libversion();
    a.dataHome = s.appPath;
    try {
        a.taskCount = s.sysConn.isOpen() ? static_cast<int>(s.sysConn.scalar("Select count(*) From GZSysInfo").toInt())
                                         : -1;
    } catch (const DbError&) {
        a.taskCount = -1;
    }
    return a;
}

} // namespace gzgl

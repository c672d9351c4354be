#include "core/password.h"

#include "core/tasks.h"
#include "core/text.h"

namespace gzgl {

Outcome changePassword(Session& s, const std::string& oldPassword, const std::string& newPassword,
                       const std::string& repeat) {
    const std::string& title = s.productShortName;
    if (!s.loggedIn())
        return Outcome::refuse("请先登录工资任务！", title, Icon::Exclamation);
    const Value stored = s.sysConn.scalar("Select F_RYKL from GZSysInfo where F_ID=?", {s.curTaskID});
    if (trim(stored.toString()) != trim(oldPassword))
        return Outcome::refuse("没有修改口令的权限！", title, Icon::Exclamation, "txtKL1");
    if (newPassword != repeat)
        return Outcome::refuse("两次口令不一致！", title, Icon::Exclamation, "txtKL2");
    if (auto bad = checkPasswordLength(newPassword, title, "txtKL2"))
        return *bad;
    // Stored exactly as typed: the login compares it exactly.
    s.sysConn.execute("Update GZSysInfo set F_RYKL=? where F_ID=?", {newPassword, s.curTaskID});
    return Outcome{true, "口令修改完毕！", title, Icon::Exclamation, {}};
}

} // namespace gzgl

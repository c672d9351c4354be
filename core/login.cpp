#include "core/login.h"

#include "core/schema.h"
#include "core/text.h"

namespace gzgl {

namespace {
const char* kNoTask = "没有设立工资任务！";
}

std::vector<std::string> taskChoiceEntries(Session& s) {
    std::vector<std::string> out;
    const Recordset rs = s.sysConn.query("Select F_ID,F_GZMC From GZSysInfo Order By F_ID");
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const Value& id = rs.at(i, "F_ID");
        const Value& name = rs.at(i, "F_GZMC");
        out.push_back((id.isNull() ? std::string("未知序号") : id.toString()) + "      " +
                      (name.isNull() ? std::string("未知名称") : name.toString()));
    }
    return out;
}

ChoiceNext confirmTaskChoice(Session& s, Prompt& p, const std::string& entryText) {
    // A refused choice ends an automatic login for good: later choices in
    // the task list are the user's own.
    auto closed = [&s](const char* text, const std::string& detail, Prompt& prompt, Icon icon) {
        prompt.message(text + detail, s.productShortName, icon);
        s.autoLogin = false;
        return ChoiceNext::Closed;
    };
    std::string id;
    std::string name;
    if (s.autoLogin) {
        id = s.autoTaskID;
        name = s.autoTaskName;
    } else {
        const std::size_t sp = entryText.find(' ');
        if (sp == std::string::npos) {
            name = trim(entryText);
        } else {
            id = trim(entryText.substr(0, sp));
            name = trim(entryText.substr(sp));
        }
    }

    if (s.pathScreenMode == 1 || s.pathScreenMode == 2) {
        const Recordset rs =
            s.sysConn.query("Select F_ID,F_DQRQ,F_KWFS from GZSysInfo Where F_GZMC=?", {name});
        if (rs.empty())
            return closed(kNoTask, {}, p, Icon::Exclamation);
        s.curTaskID = id;
        s.curTaskName = name;
        s.curPeriod = rs.at(0, "F_DQRQ").toString();
        s.roundOffMode = static_cast<int>(rs.at(0, "F_KWFS").toInt());
        return ChoiceNext::Opened;
    }

    const Recordset rs = s.sysConn.query(
        "Select F_ID,F_DQRQ,F_KWFS,F_RYBMCD from GZSysInfo Where F_GZMC=? And F_ID=?", {name, id});
    // The task vanished (or the entry named none): nothing changes.
    if (rs.empty())
        return closed(kNoTask, {}, p, Icon::Exclamation);

    // The database is opened before the session changes, so that a missing
    // or damaged file leaves no half-open task behind.
    Connection conn;
    const std::string dbPath = s.taskDbPath(id);
    try {
        conn.open(dbPath);
    } catch (const DbError& e) {
        return closed("工资任务数据库不能打开！\n", e.what(), p, Icon::Critical);
    }

    s.curTaskID = id;
    s.curTaskName = name;
    s.curPeriod = rs.at(0, "F_DQRQ").toString();
    s.roundOffMode = static_cast<int>(rs.at(0, "F_KWFS").toInt());
    s.empNoMask = zeros(static_cast<int>(rs.at(0, "F_RYBMCD").toInt()));
    s.shell.statePanel = "已启用";
    s.shell.caption = s.productTitle + " --- " + name;
    s.shell.periodPanel = periodCaption(s.curPeriod);
    s.shell.mode = ShellMode::TaskChosen;
    s.taskConn = std::move(conn);

    if (s.openWithoutLogin)
        return ChoiceNext::Opened;
    if (s.autoLogin) {
        switch (confirmLogin(s, p, {}, {})) {
        case LoginNext::Done:
            return ChoiceNext::Ready;
        case LoginNext::Login:
        case LoginNext::Stay:
            return ChoiceNext::Login;
        }
    }
    return ChoiceNext::Login;
}

StoredLogin loadLoginScreen(Session& s) {
    const Recordset rs = s.sysConn.query("select F_RYXM,F_RYKL from GZSysInfo where F_ID=?", {s.curTaskID});
    if (rs.empty())
        return {};
    return {rs.at(0, "F_RYXM").toString(), rs.at(0, "F_RYKL").toString()};
}

LoginNext confirmLogin(Session& s, Prompt& p, const std::string& userName, const std::string& password) {
    const StoredLogin stored = loadLoginScreen(s);
    std::string user = userName;
    std::string pw = password;
    if (s.autoLogin) {
        const std::size_t us = s.commandLine.find('_');
        user = us == std::string::npos ? std::string() : s.commandLine.substr(0, us);
        pw = stored.password;
    }
    if (pw != stored.password || user != stored.name) {
        if (s.autoLogin) {
            p.message("用户口令错误！", s.productShortName, Icon::Exclamation);
            s.autoLogin = false;
            return LoginNext::Login;
        }
        p.message(user == stored.name ? "用户口令错误！" : "用户姓名错误！", s.productShortName,
                  Icon::Exclamation);
        return LoginNext::Stay;
    }

    try {
        const Recordset link =
            s.sysConn.query("Select F_ZTID,F_ZZ,F_ZTPATH from GZSysInfo where F_ID=?", {s.curTaskID});
        if (!link.empty() && !trim(link.at(0, "F_ZTID").toString()).empty()) {
            s.linkKind = 0;
            s.linkedSetID = link.at(0, "F_ZTID").toString();
            s.linkedSetPath = link.at(0, "F_ZTPATH").toString();
        }
        upgradeTaskSchema(s.taskConn, s.sysConn, s.taskPrefix());
    } catch (const DbError& e) {
        p.message(std::string("工资任务数据表不能升级！\n") + e.what(), s.productShortName, Icon::Critical);
        s.autoLogin = false;
        return LoginNext::Stay;
    }
    s.shell.operatorPanel = stored.name;
    s.curOperName = stored.name;
    s.shell.caption = s.productTitle + " --- " + s.curTaskName;
    s.shell.periodPanel = periodCaption(s.curPeriod);
    setLoggedInState(s);
    s.autoLogin = false;
    return LoginNext::Done;
}

void cancelLogin(Session& s) {
    setTaskChosenState(s);
}

void closeTask(Session& s) {
    s.taskConn.close();
    s.curOperName.clear();
    s.curPeriod.clear();
    s.curTaskID.clear();
    s.autoLogin = false;
    setNoTaskState(s);
}

bool loginByName(Session& s, Prompt& p, const std::string& taskName, const std::string& user,
                 const std::string& password) {
    const std::string wanted = trim(taskName);
    const Recordset rs = s.sysConn.query("Select F_ID,F_GZMC From GZSysInfo Order By F_ID");
    std::string entry;
    for (std::size_t i = 0; i < rs.size() && entry.empty(); ++i)
        if (trim(rs.at(i, "F_GZMC").toString()) == wanted)
            entry = rs.at(i, "F_ID").toString() + "      " + rs.at(i, "F_GZMC").toString();
    if (entry.empty()) {
        p.message(kNoTask, s.productShortName, Icon::Exclamation);
        return false;
    }
    s.autoLogin = false;
    s.openWithoutLogin = false;
    if (confirmTaskChoice(s, p, entry) != ChoiceNext::Login)
        return false;
    if (confirmLogin(s, p, user, password) != LoginNext::Done) {
        closeTask(s);
        return false;
    }
    return true;
}

} // namespace gzgl

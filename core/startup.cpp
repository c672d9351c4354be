#include "core/startup.h"

#include "core/login.h"
#include "core/paths.h"
#include "core/schema.h"
#include "core/text.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace gzgl {

namespace {
const char* kFatalTitle = "严重错误";
const char* kCannotConnect = "网络错误或数据库不能连接,系统关闭!";

void fatal(Session& s, Prompt& p, const std::string& detail) {
    s.sysConn.close();
    p.message(std::string(kCannotConnect) + "\n" + detail, kFatalTitle, Icon::Critical);
}
} // namespace

void initSession(Session& s, const std::string& appPath, const std::string& commandLine) {
    s.appPath = trim(appPath);
    while (s.appPath.size() > 1 && s.appPath.back() == '/')
        s.appPath.pop_back();
    s.commandLine = commandLine;
    setNoTaskState(s);
}

bool CreateSystemTables(Session& s, Prompt& p) {
    try {
        Transaction t(s.sysConn);
        createSystemTableStatements(s.sysConn);
        t.commit();
        return true;
    } catch (const DbError&) {
        s.sysConn.rollback();
        s.sysConn.close();
        p.message("创建数据库表失败！", kFatalTitle, Icon::Critical);
        std::error_code ec;
        fs::remove(s.sysDbPath, ec);
        return false;
    }
}

bool openSystemDatabase(Session& s, Prompt& p) {
    const std::string folder = s.moneyFolder();
    s.sysDbPath = findFileNoCase(folder, "KSSYS.MDB");
    std::error_code ec;
    if (fs::is_regular_file(s.sysDbPath, ec)) {
        try {
            s.sysConn.open(s.sysDbPath);
            return true;
        } catch (const DbError& e) {
            fatal(s, p, e.what());
            return false;
        }
    }
    // First start: the system database is a copy of the empty template.
    const std::string templ = findFileNoCase(folder, "GZNull.mdb");
    s.sysDbPath = folder + "/KSSYS.MDB";
    fs::copy_file(templ, s.sysDbPath, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        fatal(s, p, ec.message() + ": " + templ);
        return false;
    }
    try {
        s.sysConn.open(s.sysDbPath);
    } catch (const DbError& e) {
        fatal(s, p, e.what());
        return false;
    }
    return CreateSystemTables(s, p);
}

StartNext startRoutine(Session& s, Prompt& p) {
    try {
        layoutDataHome(s.appPath);
    } catch (const std::exception& e) {
        fatal(s, p, e.what());
        return StartNext::Quit;
    }
    if (!openSystemDatabase(s, p))
        return StartNext::Quit;

    std::int64_t count = 0;
    try {
        count = s.sysConn.scalar("Select Count(*) From GZSysInfo").toInt();
    } catch (const DbError& e) {
        fatal(s, p, e.what());
        return StartNext::Quit;
    }
    if (count == 0)
        return StartNext::NewTask;

    s.openWithoutLogin = false;
    if (!s.commandLine.empty()) {
        const std::size_t us = s.commandLine.find('_');
        // Without "_" the whole command line is the task name.
        const std::string wanted = trim(us == std::string::npos ? s.commandLine : s.commandLine.substr(us + 1));
        const Recordset rs = s.sysConn.query("Select F_ID,F_GZMC From GZSysInfo Order By F_ID");
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const Value& name = rs.at(i, "F_GZMC");
            if (!name.isNull() && trim(name.toString()) == wanted) {
                s.autoTaskName = wanted;
                s.autoTaskID = trim(rs.at(i, "F_ID").toString());
                s.autoLogin = true;
                break;
            }
        }
    }
    if (s.autoLogin) {
        switch (confirmTaskChoice(s, p, {})) {
        case ChoiceNext::Ready:
        case ChoiceNext::Opened:
            return StartNext::Ready;
        case ChoiceNext::Login:
            return StartNext::Login;
        case ChoiceNext::Closed:
            return StartNext::TaskChoice;
        }
    }
    if (!s.commandLine.empty()) {
        p.message("你在会计核算软件中设置的帐套名不正确，不能自动登录帐套！", s.productShortName, Icon::Exclamation);
        s.autoLogin = false;
    }
    return StartNext::TaskChoice;
}

bool IsNotCalcOn(Session& s) {
    try {
        const Recordset rs = s.sysConn.query("select * from tbSysSet where ztName = ? and ParaName = ?",
                                             {s.curTaskID, "BJSGZX"});
        return !rs.empty() && trim(rs.at(0, "ParaValue").toString()) == "1";
    } catch (const DbError&) {
        return false; // no parameter table yet: the switch is off
    }
}

std::string GetDepName(Session& s, const std::string& code, int style) {
    if (code.empty())
        return "全体部门";
    const Recordset rs = s.taskConn.query(
        "Select F_DepName From " + periodTable(s.taskPrefix(), "Depart") + " Where F_DepNo=?", {code});
    if (rs.empty())
        return {};
    const std::string name = rs.row(0)[0].toString();
    if (style == 0)
        return name;
    if (style == 1)
        return code + " " + name;
    return {};
}

} // namespace gzgl

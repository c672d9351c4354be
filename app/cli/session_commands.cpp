#include "app/cli/commands.h"

#include "core/login.h"
#include "core/password.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/tasks.h"
#include "core/text.h"

#include <ctime>
#include <iostream>

namespace gzgl::cli {

namespace {

std::optional<int> modeOption(const Args& a) {
    auto m = a.get("mode");
    if (!m)
        return std::nullopt;
    if (m->size() != 1 || (*m)[0] < '0' || (*m)[0] > '7')
        throw UsageError("--mode 应为扣尾方式代码 0 到 7");
    return (*m)[0] - '0';
}

int taskAdd(Context& c) {
    const Args& a = c.args;
    a.allowOnly({"name", "operator", "password", "repeat", "year", "month", "code-length", "mode", "corp"});
    const std::time_t now = std::time(nullptr);
    const std::tm* t = std::localtime(&now);
    NewTaskFields f;
    f.name = a.require("name");
    f.corporation = a.get("corp", "");
    f.year = a.get("year", std::to_string(t->tm_year + 1900));
    f.month = a.get("month", std::to_string(t->tm_mon + 1));
    f.operatorName = a.get("operator", "管理员");
    f.password1 = a.get("password", "");
    f.password2 = a.get("repeat", f.password1);
    f.codeLength = a.require("code-length");
    f.mode = modeOption(a);
    if (!openHome(c))
        return 1;
    const AddTaskResult r = addTask(c.session, f);
    if (r.outcome.ok)
        std::cout << r.taskID << "\n";
    return report(c, r.outcome);
}

int taskList(Context& c) {
    c.args.allowOnly({});
    if (!openHome(c))
        return 1;
    for (const TaskRow& t : listTasks(c.session))
        std::cout << t.id << '\t' << t.name << '\t' << t.operatorName << '\t' << t.startPeriod << '\t'
                  << t.currentPeriod << "\n";
    return 0;
}

int taskAmend(Context& c) {
    const Args& a = c.args;
    a.allowOnly({"task", "user", "password", "new-name", "new-operator", "new-password", "repeat", "corp", "mode"});
    const std::optional<int> mode = modeOption(a);
    if (!openAndLogin(c))
        return 1;
    AmendFields f = loadAmendFields(c.session);
    f.name = a.get("new-name", f.name);
    f.operatorName = a.get("new-operator", f.operatorName);
    f.corporation = a.get("corp", f.corporation);
    if (auto pw = a.get("new-password")) {
        f.password1 = *pw;
        f.password2 = a.get("repeat", *pw);
    }
    if (mode)
        f.modeText = roundOffText(*mode);
    return report(c, amendTask(c.session, f));
}

int taskDelete(Context& c) {
    c.args.allowOnly({"task", "user", "password", "yes"});
    if (!openAndLogin(c))
        return 1;
    return report(c, deleteCurrentTask(c.session, c.prompt));
}

} // namespace

std::string subcommand(const Context& c) {
    const auto& w = c.args.words();
    return w.size() > 1 ? w[1] : "";
}

std::set<std::string> withLogin(std::initializer_list<std::string> more) {
    std::set<std::string> s = {"task", "user", "password"};
    s.insert(more.begin(), more.end());
    return s;
}

std::vector<std::string> splitTabs(const std::string& line) { return splitAt(line, '\t'); }

void printRows(const std::vector<std::vector<std::string>>& rows) {
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            std::cout << (i ? "\t" : "") << row[i];
        std::cout << "\n";
    }
}

int report(Context& c, const Outcome& o) {
    o.show(c.prompt);
    return o.ok ? 0 : 1;
}

bool openHome(Context& c) {
    try {
        layoutDataHome(c.session.appPath);
    } catch (const std::exception& e) {
        c.prompt.message(std::string("网络错误或数据库不能连接,系统关闭!\n") + e.what(), "严重错误", Icon::Critical);
        return false;
    }
    return openSystemDatabase(c.session, c.prompt);
}

bool openAndLogin(Context& c) {
    const std::string task = c.args.require("task");
    const std::string user = c.args.require("user");
    const std::string password = c.args.get("password", "");
    return openHome(c) && loginByName(c.session, c.prompt, task, user, password);
}

int cmdInit(Context& c) {
    c.args.allowOnly({});
    if (!openHome(c))
        return 1;
    std::cout << c.session.sysDbPath << "\n";
    return 0;
}

int cmdTask(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "add")
        return taskAdd(c);
    if (sub == "list")
        return taskList(c);
    if (sub == "amend")
        return taskAmend(c);
    if (sub == "delete")
        return taskDelete(c);
    if (sub == "export")
        return taskExport(c);
    if (sub == "import")
        return taskImport(c);
    throw UsageError("task 之后应为 add、list、amend、delete、export 或 import");
}

int cmdLogin(Context& c) {
    c.args.allowOnly({"task", "user", "password"});
    if (!openAndLogin(c))
        return 1;
    std::cout << c.session.curTaskID << '\t' << c.session.curTaskName << '\t' << c.session.curPeriod << "\n";
    return 0;
}

int cmdPasswd(Context& c) {
    c.args.allowOnly({"task", "user", "password", "new", "repeat"});
    const std::string fresh = c.args.require("new");
    const std::string repeat = c.args.get("repeat", fresh);
    if (!openAndLogin(c))
        return 1;
    return report(c, changePassword(c.session, c.args.get("password", ""), fresh, repeat));
}

int cmdSettings(Context& c) {
    c.args.allowOnly({"task", "user", "password"});
    const auto& w = c.args.words();
    if (w.size() != 3 || w[1] != "notcalc" || (w[2] != "on" && w[2] != "off"))
        throw UsageError("用法: settings notcalc on|off --task 任务 --user 用户 --password 口令");
    if (!openAndLogin(c))
        return 1;
    setNotCalc(c.session, w[2] == "on");
    std::cout << "BJSGZX=" << (IsNotCalcOn(c.session) ? "1" : "0") << "\n";
    return 0;
}

} // namespace gzgl::cli

#include "core/tasks.h"

#include "core/gbk.h"
#include "core/numtext.h"
#include "core/paths.h"
#include "core/schema.h"
#include "core/text.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace gzgl {

namespace {

struct ModeText {
    int code;
    const char* text;
};

// The code table, in code order.
const ModeText kModes[] = {
    {0, "不去尾"},      {1, "不足10元去尾"}, {2, "不足5元去尾"},   {3, "不足1元去尾"},
    {4, "不足5角去尾"}, {5, "不足1角去尾"},  {6, "不足100元去尾"}, {7, "不足50元去尾"},
};

const char* kDuplicateName = "该任务名称已经存在，添加失败！";

bool nameTaken(Session& s, const std::string& name, const std::string& exceptID) {
    const Recordset rs = s.sysConn.query("Select F_ID from GZSysInfo where F_GZMC=?", {name});
    for (std::size_t i = 0; i < rs.size(); ++i)
        if (rs.row(i)[0].toString() != exceptID)
            return true;
    return false;
}

std::string nextTaskID(Session& s) {
    const Value max = s.sysConn.scalar("Select Max(F_ID) From GZSysInfo");
    const std::string text = max.toString();
    if (max.isNull() || trim(text).empty())
        return "0000";
    const std::string last4 = text.size() > 4 ? text.substr(text.size() - 4) : text;
    return zeroPad(static_cast<long long>(readNumber(last4)) + 1, 4);
}

// Header texts are stored as typed: one the column cannot hold, or one
// with ' or |, a control character or a character outside GBK, is refused
// rather than silently altered.
std::optional<Outcome> checkHeaderText(const std::string& text, std::size_t maxBytes, const std::string& label,
                                       const char* focus, const std::string& title) {
    const std::string refusal = nameRefusal(text, label, maxBytes);
    if (refusal.empty())
        return std::nullopt;
    return Outcome::refuse(refusal, title, Icon::Exclamation, focus);
}

} // namespace

std::optional<Outcome> checkHeaderTexts(const std::string& corporation, const std::string& name,
                                        const std::string& operatorName, const std::string& title) {
    if (auto bad = checkHeaderText(corporation, 20, "企业代码", "txtCorporation", title))
        return bad;
    if (auto bad = checkHeaderText(name, 64, "工资任务名称", "txtName", title))
        return bad;
    return checkHeaderText(operatorName, 16, "操作人员姓名", "txtOperator", title);
}

bool taskNameTaken(Session& s, const std::string& name) { return nameTaken(s, name, {}); }

void layOutTaskDatabase(Connection& task, const std::string& id, const std::string& period) {
    const std::string prefix = makeTaskPrefix(id, period);
    createPeriodTables(task, prefix);
    insertBuiltInItems(task, prefix);
    insertBuiltInTaxBrackets(task, prefix);
    createTaskRecordTable(task);
    task.execute("Insert Into GZRecord(F_ID,F_Time,F_ZZ) values(?,?,'0')", {id, period});
}

std::string nextFreeTaskID(Session& s) {
    std::string id = nextTaskID(s);
    while (fileExistsNoCase(s.moneyFolder(), "GZ" + id + ".MDB") && id != "9999")
        id = zeroPad(std::stoll(id) + 1, 4);
    return id;
}

std::optional<Outcome> checkPasswordLength(const std::string& password, const std::string& title,
                                           const char* focus) {
    // Any character may be part of a password; only its length is limited.
    if (gbkLength(password) > 16)
        return Outcome::refuse("口令不能超过16个字节（一个汉字占两个字节）！", title, Icon::Exclamation,
                               focus);
    return std::nullopt;
}

const std::vector<std::string>& roundOffChoices() {
    static const std::vector<std::string> choices = {"不去尾",       "不足100元去尾", "不足50元去尾",
                                                     "不足10元去尾", "不足5元去尾",   "不足1元去尾",
                                                     "不足5角去尾",  "不足1角去尾"};
    return choices;
}

std::optional<int> roundOffCode(const std::string& text) {
    for (const ModeText& m : kModes)
        if (text == m.text)
            return m.code;
    return std::nullopt;
}

std::string roundOffText(int code) {
    for (const ModeText& m : kModes)
        if (m.code == code)
            return m.text;
    return {};
}

Outcome checkPasswords(const std::string& password1, const std::string& password2, const std::string& title) {
    if (password1 != password2)
        return Outcome::refuse("两次输入的口令不一致！", title, Icon::Exclamation, "txtKL1");
    return Outcome::success();
}

AddTaskResult addTask(Session& s, const NewTaskFields& fields) {
    AddTaskResult r;
    NewTaskFields& f = r.cleaned;
    f = fields;
    f.corporation = trim(fields.corporation);
    f.name = trim(fields.name);
    f.operatorName = trim(fields.operatorName);
    const std::string& title = s.productShortName;
    auto refuse = [&](const char* msg, const char* focus) {
        r.outcome = Outcome::refuse(msg, title, Icon::Exclamation, focus);
        return r;
    };
    if (std::optional<Outcome> bad = checkHeaderTexts(f.corporation, f.name, f.operatorName, title)) {
        r.outcome = *bad;
        return r;
    }
    for (const std::string* pw : {&f.password1, &f.password2})
        if (std::optional<Outcome> bad = checkPasswordLength(*pw, title, "txtKL1")) {
            r.outcome = *bad;
            return r;
        }

    const double length = readNumber(f.codeLength);
    if (length == 0)
        return refuse("人员编码长度不能为0！", "txtLong");
    // Employee codes are stored in a 20-character column; a fraction would
    // be stored cut and then refuse every code.
    const std::string lengthText = trim(f.codeLength);
    if (!allDigits(lengthText) || lengthText.size() > 2 || length < 1 || length > 20)
        return refuse("人员编码长度应为1到20之间的整数！", "txtLong");
    const int codeLength = static_cast<int>(length);

    if (f.name.empty())
        return refuse("工资任务名称不能为空！", "txtName");
    if (trim(f.year).empty())
        return refuse("工资任务启用年不能为空！", "txtYear");
    if (trim(f.month).empty())
        return refuse("工资任务启用月不能为空！", "txtMonth");
    const std::optional<std::string> start = periodOf(trim(f.year), trim(f.month));
    if (!start)
        return refuse("工资任务启用时间不正确！", "txtYear");
    if (f.operatorName.empty())
        return refuse("操作人员姓名不能为空！", "txtOperator");
    if (Outcome pw = checkPasswords(f.password1, f.password2, title); !pw.ok) {
        r.outcome = pw;
        return r;
    }

    if (nameTaken(s, f.name, {})) {
        r.outcome = Outcome::refuse(kDuplicateName, "提示窗", Icon::Exclamation, "txtName");
        return r;
    }
    if (fields.mode)
        s.roundOffMode = *fields.mode;
    const std::string period = *start;
    const std::string id = nextFreeTaskID(s);
    const std::string dbPath = s.moneyFolder() + "/GZ" + id + ".MDB";

    // The task database and its GZSysInfo row come into being together: any
    // failure rolls both back and removes the copied file, and only that.
    Connection conn;
    bool copied = false;
    try {
        std::error_code ec;
        // Never over another task's file: the copy fails when one appeared.
        fs::copy_file(findFileNoCase(s.moneyFolder(), "GZNULL.MDB"), dbPath, fs::copy_options::none, ec);
        if (ec)
            throw DbError("不能建立工资任务文件 " + dbPath + "：" + ec.message());
        copied = true;
        conn.open(dbPath);
        Transaction taskTx(conn);
        layOutTaskDatabase(conn, id, period);

        Transaction sysTx(s.sysConn);
        s.sysConn.execute("Insert Into GZSysInfo(F_ID,F_GZMC,F_QYDM,F_RYXM,F_RYKL,F_QYRQ,F_DQRQ,F_BMJB,"
                          "F_RYBMCD,F_ZZ,F_KWFS) Values(?,?,?,?,?,?,?,'00000',?,0,?)",
                          {id, f.name, f.corporation, f.operatorName, f.password1, period, period,
                           static_cast<double>(codeLength), static_cast<double>(s.roundOffMode)});
        if (s.pendingLink.linked)
            s.sysConn.execute("Update GZSysInfo set F_ZTPATH=?,F_ZTID=? where F_ID=?",
                              {s.pendingLink.path, s.pendingLink.setID, id});
        taskTx.commit();
        sysTx.commit();
    } catch (const std::exception& e) {
        conn.close();
        std::error_code ec;
        if (copied)
            fs::remove(dbPath, ec);
        r.outcome =
            Outcome::refuse(std::string("新建工资任务失败！\n") + e.what(), title, Icon::Critical, "txtName");
        return r;
    }

    s.taskConn = std::move(conn);
    s.curTaskID = id;
    s.curTaskName = f.name;
    s.curPeriod = period;
    s.empNoMask = zeros(codeLength);
    s.curOperName = f.operatorName;
    if (s.pendingLink.linked) {
        s.linkKind = 0;
        s.linkedSetID = s.pendingLink.setID;
        s.linkedSetPath = s.pendingLink.path;
    } else {
        s.linkedSetID.clear();
        s.linkedSetPath.clear();
    }
    s.pendingLink = {};
    try {
        ensureParameterTable(s.sysConn);
    } catch (const DbError&) {
        // The login creates it again when it is still missing.
    }
    s.shell.caption = s.productTitle + " --- " + s.curTaskName;
    s.shell.periodPanel = periodCaption(period);
    s.shell.operatorPanel = s.curOperName;
    s.shell.statePanel = "未启用";
    setLoggedInState(s);

    r.taskID = id;
    r.outcome = Outcome{true,
                        "新建任务\"" + s.curTaskName +
                            "\"，\n请先进入\"基础档案管理\"的\"工资项目定义\"里进行工资项目维护！",
                        title,
                        Icon::Exclamation,
                        {}};
    return r;
}

Outcome cancelAddTask(Session& s) {
    if (!s.taskOpen())
        setNoTaskState(s);
    return Outcome{false, "没有增设工资任务！", s.productShortName, Icon::Exclamation, {}};
}

AmendFields loadAmendFields(Session& s) {
    const Recordset rs =
        s.sysConn.query("Select F_GZMC,F_RYXM,F_QYDM,F_KWFS from GZSysInfo where F_ID=?", {s.curTaskID});
    AmendFields f;
    if (rs.empty())
        return f;
    f.name = rs.at(0, "F_GZMC").toString();
    f.operatorName = rs.at(0, "F_RYXM").toString();
    f.corporation = rs.at(0, "F_QYDM").toString();
    f.modeText = rs.at(0, "F_KWFS").isNull() ? std::string()
                                             : roundOffText(static_cast<int>(rs.at(0, "F_KWFS").toInt()));
    return f;
}

Outcome amendTask(Session& s, const AmendFields& fields) {
    const std::string& title = s.productShortName;
    // The screen is open to whoever sits at it: only a logged-in operator
    // may rewrite the task's header and password.
    if (!s.loggedIn())
        return Outcome::refuse("请先登录工资任务！", title, Icon::Exclamation);
    const std::string name = trim(fields.name);
    const std::string op = trim(fields.operatorName);
    const std::string corp = trim(fields.corporation);
    if (auto bad = checkHeaderTexts(corp, name, op, title))
        return *bad;
    for (const std::string* pw : {&fields.password1, &fields.password2})
        if (auto bad = checkPasswordLength(*pw, title, "txtKL1"))
            return *bad;
    if (name.empty())
        return Outcome::refuse("工资任务名称不能为空！", title, Icon::Exclamation, "txtName");
    if (op.empty())
        return Outcome::refuse("操作人员姓名不能为空！", title, Icon::Exclamation, "txtOperator");
    const std::optional<int> mode = roundOffCode(fields.modeText);
    if (!mode)
        return Outcome::refuse("请选择扣尾方式！", title, Icon::Exclamation, "cmbMode");
    if (Outcome pw = checkPasswords(fields.password1, fields.password2, title); !pw.ok)
        return pw;
    // The stored password is never shown: both boxes left empty keep it.
    const bool newPassword = !fields.password1.empty() || !fields.password2.empty();
    try {
        // Two tasks of one name could not be told apart by the screens that
        // find a task by its name.
        if (nameTaken(s, name, s.curTaskID))
            return Outcome::refuse("该任务名称已经存在，修改失败！", "提示窗", Icon::Exclamation, "txtName");
        Transaction t(s.sysConn);
        s.sysConn.execute("Update GZSysInfo Set F_GZMC=?,F_QYDM=?,F_RYXM=?,F_KWFS=? Where F_ID=?",
                          {name, corp, op, static_cast<double>(*mode), s.curTaskID});
        if (newPassword)
            s.sysConn.execute("Update GZSysInfo Set F_RYKL=? Where F_ID=?", {fields.password1, s.curTaskID});
        t.commit();
    } catch (const DbError&) {
        return Outcome::refuse("修改任务失败，请稍后再试！", title, Icon::Exclamation);
    }
    s.roundOffMode = *mode;
    s.curTaskName = name;
    s.curOperName = op;
    s.shell.caption = s.productTitle + " --- " + name;
    s.shell.operatorPanel = op;
    return Outcome::success();
}

Outcome deleteCurrentTask(Session& s, Prompt& p) {
    s.autoLogin = false;
    // A task that is chosen but not logged in is never deleted: that would
    // remove a payroll book without its operator's password.
    if (!s.taskOpen() || !s.loggedIn())
        return Outcome::refuse({}, {}, Icon::None);
    if (!p.askYesNo("您确信要删除本工资任务吗？", s.productShortName, Icon::Information))
        return Outcome::refuse({}, {}, Icon::None);
    const std::string dbPath = s.taskDbPath(s.curTaskID);
    try {
        Transaction t(s.sysConn);
        s.sysConn.execute("Delete From GZSysInfo Where F_ID=?", {s.curTaskID});
        // The task's settings go with it: a later task given the same id
        // must not inherit them.
        if (s.sysConn.hasTable("tbSysSet"))
            s.sysConn.execute("Delete From tbSysSet Where ztName=?", {s.curTaskID});
        s.taskConn.close();
        std::error_code ec;
        if (!fs::remove(dbPath, ec) && fs::exists(dbPath))
            throw DbError(ec.message());
        t.commit();
    } catch (const std::exception&) {
        if (!s.taskConn.isOpen()) {
            try {
                s.taskConn.open(dbPath);
            } catch (const DbError&) {
            }
        }
        return Outcome::refuse("删除任务失败！", s.productShortName, Icon::Exclamation);
    }
    s.curTaskID.clear();
    s.curOperName.clear();
    s.curPeriod.clear();
    setNoTaskState(s);
    s.shell.caption = "工资管理系统";
    return Outcome{true, "工资任务删除完毕！", "提示", Icon::Information, {}};
}

std::vector<TaskRow> listTasks(Session& s) {
    std::vector<TaskRow> out;
    const Recordset rs =
        s.sysConn.query("Select F_ID,F_GZMC,F_RYXM,F_QYRQ,F_DQRQ From GZSysInfo Order By F_ID");
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back({rs.at(i, "F_ID").toString(), rs.at(i, "F_GZMC").toString(),
                       rs.at(i, "F_RYXM").toString(), rs.at(i, "F_QYRQ").toString(),
                       rs.at(i, "F_DQRQ").toString()});
    return out;
}

} // namespace gzgl

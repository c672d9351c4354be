#include "period/backup.h"

#include "core/login.h"
#include "core/schema.h"
#include "core/text.h"
#include "exchange/archive.h"
#include "period/backup_support.h"
#include "period/periods.h"

#include <strings.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace gzgl::period {

using detail::BadData;

namespace {

StepHook& stepHook() {
    static StepHook hook;
    return hook;
}

constexpr const char* kBackupFailed = "数据备份没有完成！";
constexpr const char* kRestoreFailed = "数据恢复没有完成，数据没有改变！";
constexpr const char* kBadBackup = "备份文件不正确，数据没有恢复！";

// The twelve tables a restore replaces row by row; _Data is rebuilt.
const std::vector<std::string>& restoredTables() {
    static const std::vector<std::string> tables = {"_Depart",  "_DepType",   "_EmpType", "_Employee",
                                                    "_Item",    "_Formula",   "_PrnPrj",  "_PrnHead",
                                                    "_PrnFoot", "_StdPrnCol", "_ZZ",      "_TaxRate"};
    return tables;
}

const TableDef& tableDef(const std::string& suffix) {
    for (const TableDef& t : periodTables())
        if (t.suffix == suffix)
            return t;
    throw DbError("未知的数据表 " + suffix);
}

bool isFolder(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && fs::is_directory(folder, ec);
}

// Detaches on every way out.
struct Attached {
    Connection& c;
    std::string alias;
    Attached(Connection& conn, const std::string& path, std::string as) : c(conn), alias(std::move(as)) {
        c.attach(path, alias);
    }
    ~Attached() {
        try {
            c.detach(alias);
        } catch (const DbError&) {
            // Closing the connection detaches it in any case.
        }
    }
};

struct ProgressGuard {
    Progress& p;
    ProgressGuard(Progress& progress, const std::string& status, int maximum) : p(progress) {
        p.begin(status, maximum);
    }
    ~ProgressGuard() { p.end(); }
};

// The archives of the task's backups in folder, by name.
std::vector<std::string> backupArchives(const std::string& folder, const std::string& taskID) {
    std::vector<std::string> out;
    const std::string head = "GZ" + taskID;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() >= head.size() + 4 && strncasecmp(name.c_str(), head.c_str(), head.size()) == 0 &&
            strcasecmp(name.c_str() + name.size() - 4, ".KSC") == 0 && entry.is_regular_file(ec))
            out.push_back(entry.path().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The period of a backup database: exactly one complete set of the task's
// tables and nothing else of the kind.
std::string backupPeriod(Connection& bak, const std::string& taskID) {
    std::string period;
    std::vector<std::string> suffixes;
    for (const std::string& name : bak.tables()) {
        const auto parsed = detail::parsePeriodTable(name);
        if (!parsed)
            continue;
        if (parsed->taskID != taskID)
            throw BadData("这是其他工资任务的备份");
        if (!period.empty() && parsed->period != period)
            throw BadData("备份文件中有多个月份的数据");
        period = parsed->period;
        suffixes.push_back(parsed->suffix);
    }
    if (period.empty())
        throw BadData("备份文件中没有工资数据");
    for (const std::string& suffix : copyOrder())
        if (std::find(suffixes.begin(), suffixes.end(), suffix) == suffixes.end())
            throw BadData("备份文件中缺少数据表 " + suffix.substr(1));
    return period;
}

// Rebuilds the period's _Data with F_EmpNo, F000, FFFF and one column per
// restored item in item order, then takes the backup's values by column.
void rebuildData(Connection& c, const std::string& prefix) {
    const std::string data = periodTable(prefix, "_Data");
    // Names are qualified: with the backup attached, an unqualified name
    // missing from main would reach the backup's table of that name.
    const Recordset items =
        c.query("Select F_Code,F_Type from main." + periodTable(prefix, "_Item") + " order by F_ID");
    std::string columns = "F_EmpNo varchar(20),F000 double,FFFF double";
    std::vector<std::string> seen = {"F000", "FFFF"};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string code = trim(items.at(i, "F_Code").toString());
        if (code == "F001" || code == "F002" || code == "FFFE" || code == "FFFD" || code == "F000" ||
            code == "FFFF")
            continue;
        if (!isItemCode(code))
            throw BadData("备份文件中有不正确的工资项目代码 " + code);
        if (std::find(seen.begin(), seen.end(), code) != seen.end())
            throw BadData("备份文件中的工资项目代码重复 " + code);
        seen.push_back(code);
        const bool number = trim(items.at(i, "F_Type").toString()) == "数字";
        columns += "," + code + (number ? " double" : " varchar(20)");
    }
    c.execute("DROP TABLE IF EXISTS main." + data);
    c.execute("Create Table main." + data + "(" + sqliteColumns(columns) + ")");
    c.execute("Create Index IX_" + data + " On " + data + "(F_EmpNo)");
    detail::copyRowsByName(c, "bak", "main", data);
}

} // namespace

void setStepHook(StepHook hook) {
    stepHook() = std::move(hook);
}

void detail::reachStep(std::string_view step) {
    if (stepHook())
        stepHook()(step);
}

std::string backupFolderName(const std::string& taskID, const std::string& period) {
    return "GZ" + taskID + "_" + period + "_BAK";
}

std::string backupFileName(const std::string& taskID, const std::string& period) {
    return "GZ" + taskID + "_" + period + ".KSC";
}

std::string packageFileName(const std::string& taskID, const std::string& date) {
    return "GZ_" + taskID + "_" + date + ".ksc";
}

std::string fullBackupFileName(const std::string& date) {
    return "GZALL_" + date + ".KSC";
}

std::string todayText() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return zeroPad(t.tm_year + 1900, 4) + zeroPad(t.tm_mon + 1, 2) + zeroPad(t.tm_mday, 2);
}

BackupStart openBackup(const Session& s) {
    if (s.curPeriod.size() != 6)
        return {};
    return {s.curPeriod.substr(0, 4), s.curPeriod.substr(4, 2)};
}

BackupDate confirmBackupDate(Session& s, const std::string& year, const std::string& month) {
    const std::optional<std::string> period = periodOf(trim(year), trim(month));
    if (!period)
        return {Outcome::refuse("请选择所需备份的日期!", s.productShortName, Icon::Exclamation,
                                trim(year).empty() ? "txtYear" : "txtMonth"),
                {}};
    s.pathScreenMode = kPathMonthBackup;
    return {Outcome::success(), *period};
}

PathResult backupMonth(Session& s, const std::string& period, const std::string& folder, Progress& progress) {
    PathResult r;
    const std::string& title = s.productShortName;
    if (!s.taskOpen())
        return {Outcome::refuse("没有打开的工资任务！", title, Icon::Exclamation), false, {}};
    if (!detail::validPeriod(period) ||
        s.taskConn.query("Select 1 from GZRecord where F_ID=? And F_Time=?", {s.curTaskID, period}).empty() ||
        !tableSetComplete(s.taskConn, s.curTaskID, period))
        return {
            Outcome::refuse("该任务没有" + periodCaption(period) + "的工资数据！", title, Icon::Exclamation),
            false,
            {}};
    if (!isFolder(folder))
        return {Outcome::refuse(kWrongPath, title, Icon::Exclamation), false, {}};

    const std::string bakFolder = folder + "/" + backupFolderName(s.curTaskID, period);
    bool madeFolder = false;
    try {
        ProgressGuard shown(progress, "正在进行备份...", static_cast<int>(copyOrder().size()) + 1);
        exchange::StagingDir staging;
        const std::string dbName = "GZ" + s.curTaskID + "_" + period + ".MDB";
        const std::string db = staging.file(dbName);
        createEmptyDatabase(db);
        {
            Attached bak(s.taskConn, db, "bak");
            // A scratch file: its journal would only slow the copy down.
            s.taskConn.execute("PRAGMA bak.journal_mode=OFF");
            s.taskConn.execute("PRAGMA bak.synchronous=OFF");
            // One transaction: every table is read from the same state of
            // the task database.
            Transaction t(s.taskConn);
            const std::string prefix = makeTaskPrefix(s.curTaskID, period);
            for (const std::string& suffix : copyOrder()) {
                const std::string table = periodTable(prefix, suffix);
                const Value sql = s.taskConn.scalar(
                    "SELECT sql FROM main.sqlite_master WHERE type='table' AND name=? COLLATE NOCASE",
                    {table});
                const std::string text = sql.toString();
                const std::size_t paren = text.find('(');
                if (paren == std::string::npos)
                    throw DbError("不能读取数据表定义 " + table);
                s.taskConn.execute("CREATE TABLE bak." + table + text.substr(paren));
                s.taskConn.execute("INSERT INTO bak." + table + " SELECT * FROM main." + table);
                progress.step();
            }
            t.commit();
        }
        std::error_code ec;
        if (!fs::is_directory(bakFolder, ec)) {
            if (!fs::create_directory(bakFolder, ec))
                throw exchange::ArchiveError("不能建立文件夹 " + bakFolder + "：" + ec.message());
            madeFolder = true;
        }
        const std::string archive = bakFolder + "/" + backupFileName(s.curTaskID, period);
        exchange::writeArchive(archive, {{dbName, db}});
        progress.step();
        // Older archives of the folder go only once the new one is whole.
        for (const std::string& old : backupArchives(bakFolder, s.curTaskID))
            if (fs::path(old).filename() != fs::path(archive).filename())
                fs::remove(old, ec);
        r.written = archive;
    } catch (const std::exception& e) {
        if (madeFolder) {
            std::error_code ec;
            fs::remove(bakFolder, ec); // only when still empty
        }
        r.outcome = Outcome::refuse(std::string(kBackupFailed) + "\n" + e.what(), title, Icon::Critical);
        return r;
    }
    s.pathScreenMode = kPathRestore;
    r.outcome = Outcome{true, "数据备份完成！", "提示窗", Icon::Information, {}};
    return r;
}

PathResult finishBackup(Session& s) {
    PathResult r;
    if (s.pathScreenMode != kPathRestore)
        return r;
    s.pathScreenMode = 0;
    closeTask(s);
    r.loginAgain = true;
    r.outcome = Outcome{true, "数据备份完毕！", s.productShortName, Icon::Information, {}};
    return r;
}

PathResult restoreMonth(Session& s, Prompt& p, const std::string& folder, Progress& progress) {
    PathResult r;
    const std::string& title = s.productShortName;
    if (!s.taskOpen())
        return {Outcome::refuse("没有打开的工资任务！", title, Icon::Exclamation), false, {}};
    if (!isFolder(folder))
        return {Outcome::refuse(kWrongPath, title, Icon::Exclamation), false, {}};
    const std::vector<std::string> archives = backupArchives(folder, s.curTaskID);
    if (archives.empty())
        return {Outcome::refuse(kWrongPath, title, Icon::Exclamation), false, {}};

    ProgressGuard shown(progress, "正在进行恢复...", static_cast<int>(restoredTables().size()) + 2);
    std::optional<exchange::StagingDir> staging;
    std::string db;
    std::string period;
    try {
        staging.emplace();
        const auto entries = exchange::unpackArchive(archives.back(), staging->path());
        if (entries.size() != 1)
            throw BadData("备份文件中应当只有一个数据库文件");
        db = entries.front().path;
        Connection bak;
        detail::openUntrusted(bak, db);
        period = backupPeriod(bak, s.curTaskID);
    } catch (const std::exception& e) {
        return {Outcome::refuse(std::string(kBadBackup) + "\n" + e.what(), title, Icon::Critical), false, {}};
    }
    progress.step();

    const Recordset info = s.sysConn.query("Select F_QYRQ,F_DQRQ from GZSysInfo where F_ID=?", {s.curTaskID});
    const std::string start = info.empty() ? "" : trim(info.at(0, "F_QYRQ").toString());
    const std::string current = info.empty() ? "" : trim(info.at(0, "F_DQRQ").toString());
    const bool recorded =
        !s.taskConn.query("Select 1 from GZRecord where F_ID=? And F_Time=?", {s.curTaskID, period}).empty();
    // A cleared period comes back as a closed one; a period after the open
    // one or before the start would break the order of the task's periods.
    if (!recorded && (period > current || period < start))
        return {Outcome::refuse("备份的" + periodCaption(period) + "数据不在本任务的期间之内，数据没有恢复！",
                                title, Icon::Exclamation),
                false,
                {}};

    if (!p.askYesNo("数据恢复将用备份替换" + periodCaption(period) + "的全部数据，确定要恢复吗？", "询问窗",
                    Icon::Question))
        return {Outcome{false, {}, {}, Icon::None, {}}, false, {}};

    try {
        Attached bak(s.taskConn, db, "bak");
        Transaction t(s.taskConn);
        const std::string prefix = makeTaskPrefix(s.curTaskID, period);
        for (const std::string& suffix : restoredTables()) {
            const std::string table = periodTable(prefix, suffix);
            if (!s.taskConn.hasTable(table)) {
                const TableDef& def = tableDef(suffix);
                s.taskConn.execute(createTableSql(prefix, def));
                if (!def.indexColumns.empty())
                    s.taskConn.execute(createIndexSql(prefix, def));
            }
            s.taskConn.execute("DELETE FROM main." + table);
            detail::copyRowsByName(s.taskConn, "bak", "main", table);
            progress.step();
        }
        detail::reachStep("restore:tables");
        rebuildData(s.taskConn, prefix);
        detail::reachStep("restore:data");
        if (!recorded)
            s.taskConn.execute("Insert into main.GZRecord(F_ID,F_Time,F_ZZ) values(?,?,'1')",
                               {s.curTaskID, period});
        t.commit();
        progress.step();
    } catch (const BadData& e) {
        return {Outcome::refuse(std::string(kBadBackup) + "\n" + e.what(), title, Icon::Critical), false, {}};
    } catch (const std::exception& e) {
        return {
            Outcome::refuse(std::string(kRestoreFailed) + "\n" + e.what(), title, Icon::Critical), false, {}};
    }
    closeTask(s);
    // The mode is not left at kPathRestore: the task choice would then
    // open the task without the login that must follow.
    s.pathScreenMode = 0;
    r.loginAgain = true;
    r.outcome = Outcome{true, "数据恢复完毕！", "提示窗", Icon::Information, {}};
    return r;
}

PathResult confirmPath(Session& s, Prompt& p, const PathRequest& r, Progress& progress) {
    const std::string date = r.date.empty() ? todayText() : r.date;
    switch (r.mode) {
    case kPathFullBackup:
        if (!isFolder(r.folder))
            return {Outcome::refuse(kWrongPath, s.productShortName, Icon::Exclamation), false, {}};
        return backupAll(s, r.folder + "/" + fullBackupFileName(date), progress);
    case kPathRestore:
        return restoreMonth(s, p, r.folder, progress);
    case kPathMonthBackup:
        return backupMonth(s, r.period, r.folder, progress);
    case kPathTaskExport:
        return exportTask(s, r.folder, date, progress);
    default:
        return {};
    }
}

} // namespace gzgl::period

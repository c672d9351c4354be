// Task export and import, and the full backup of a data home with its
// counterpart that lays one out as a new home (layouts: period/backup.h).
#include "period/backup.h"

#include "core/paths.h"
#include "core/schema.h"
#include "core/tasks.h"
#include "core/text.h"
#include "exchange/archive.h"
#include "period/backup_support.h"
#include "period/periods.h"

#include <stdlib.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace gzgl::period {

using detail::BadData;

namespace {

// The GZSysInfo columns an import carries over, in the order of the
// system's own insert.
const char* const kInfoColumns[] = {"F_GZMC", "F_QYDM",   "F_RYXM", "F_RYKL", "F_QYRQ", "F_DQRQ",
                                    "F_BMJB", "F_RYBMCD", "F_ZZ",   "F_KWFS", "F_ZTID", "F_ZTPATH"};

bool isFolder(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && fs::is_directory(folder, ec);
}

bool matchesTaskFile(const std::string& name) {
    // GZ + four digits + .MDB, any case
    return name.size() == 10 && strncasecmp(name.c_str(), "GZ", 2) == 0 && allDigits(name.substr(2, 4)) &&
           strcasecmp(name.c_str() + 6, ".MDB") == 0;
}

bool matchesBankForm(const std::string& name) {
    return name.size() == 16 && strncasecmp(name.c_str(), "BankForm", 8) == 0 &&
           allDigits(name.substr(8, 4)) && strcasecmp(name.c_str() + 12, ".frm") == 0;
}

struct ProgressGuard {
    Progress& p;
    ProgressGuard(Progress& progress, const std::string& status, int maximum) : p(progress) {
        p.begin(status, maximum);
    }
    ~ProgressGuard() { p.end(); }
};

// What a package holds, checked.
struct Package {
    Recordset info;   // the GZSysInfo row (row 0)
    Recordset params; // tbSysSet rows, possibly none
    std::string oldID;
    std::string name;
    std::map<std::string, std::vector<std::string>> sets; // period -> table names
};

std::string infoText(const Package& pkg, const char* column) {
    return trim(pkg.info.at(0, column).toString());
}

Package readPackage(Connection& c) {
    Package pkg;
    if (!c.hasTable("GZSysInfo"))
        throw BadData("没有工资任务信息");
    pkg.info = c.query("select * from GZSysInfo");
    if (pkg.info.empty())
        throw BadData("没有工资任务信息");
    for (const char* column : kInfoColumns)
        if (!pkg.info.fieldIndex(column))
            throw BadData(std::string("工资任务信息中缺少 ") + column);
    pkg.oldID = trim(pkg.info.at(0, "F_ID").toString());
    pkg.name = infoText(pkg, "F_GZMC");
    const std::string start = infoText(pkg, "F_QYRQ");
    const std::string current = infoText(pkg, "F_DQRQ");
    if (pkg.oldID.size() != 4 || !allDigits(pkg.oldID) || pkg.name.empty() ||
        infoText(pkg, "F_RYXM").empty() || !detail::validPeriod(start) || !detail::validPeriod(current) ||
        start > current)
        throw BadData("工资任务信息不正确");
    if (c.hasTable("tbSysSet"))
        pkg.params = c.query("select ParaName,ParaValue from tbSysSet");

    for (const std::string& table : c.tables()) {
        if (strncasecmp(table.c_str(), "ID", 2) != 0)
            continue;
        const auto parsed = detail::parsePeriodTable(table);
        if (!parsed || parsed->taskID != pkg.oldID)
            throw BadData("不认识的数据表 " + table);
        pkg.sets[parsed->period].push_back(table);
    }
    if (!c.hasTable("GZRecord"))
        throw BadData("没有期间记录");
    // Every recorded period has all thirteen tables, every set is recorded,
    // and the one open period is the current one.
    const Recordset rec = c.query("Select F_Time,F_ZZ from GZRecord");
    std::set<std::string> recorded;
    int open = 0;
    for (std::size_t i = 0; i < rec.size(); ++i) {
        const std::string period = trim(rec.at(i, "F_Time").toString());
        const std::string state = trim(rec.at(i, "F_ZZ").toString());
        if (!recorded.insert(period).second)
            throw BadData("期间记录重复 " + period);
        if (state == "0") {
            ++open;
            if (period != current)
                throw BadData("当前期间不符");
        } else if (state != "1") {
            throw BadData("期间记录不正确 " + period);
        }
        const auto set = pkg.sets.find(period);
        if (set == pkg.sets.end() || set->second.size() != copyOrder().size())
            throw BadData(periodCaption(period) + "的数据表不完整");
    }
    if (open != 1 || recorded.size() != pkg.sets.size())
        throw BadData("期间记录与数据表不符");
    return pkg;
}

// Turns the unpacked package into the new task's database: the period
// tables renamed to the new id with the program's own indexes, GZRecord
// rows for the new id, nothing else.
void reshapePackage(Connection& c, const Package& pkg, const std::string& newID) {
    Transaction t(c);
    // Views and triggers of a foreign file never run on our data.
    const Recordset extra =
        c.query("SELECT type,name FROM sqlite_master WHERE type IN ('view','trigger') ORDER BY type");
    for (std::size_t i = 0; i < extra.size(); ++i)
        c.execute(std::string(extra.row(i)[0].toString() == "view" ? "DROP VIEW " : "DROP TRIGGER ") +
                  detail::quotedName(extra.row(i)[1].toString()));
    for (const std::string& table : c.tables()) {
        const bool keep = strncasecmp(table.c_str(), "ID", 2) == 0 ||
                          strcasecmp(table.c_str(), "GZRecord") == 0 || table.starts_with("sqlite_");
        if (!keep)
            c.execute("DROP TABLE " + detail::quotedName(table));
    }
    for (const auto& [period, tables] : pkg.sets) {
        const std::string prefix = makeTaskPrefix(newID, period);
        for (const std::string& old : tables) {
            const auto parsed = detail::parsePeriodTable(old);
            const std::string fresh = periodTable(prefix, parsed->suffix);
            const Recordset idx = c.query("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name=? "
                                          "COLLATE NOCASE AND sql IS NOT NULL",
                                          {old});
            for (std::size_t i = 0; i < idx.size(); ++i)
                c.execute("DROP INDEX " + detail::quotedName(idx.row(i)[0].toString()));
            if (strcasecmp(old.c_str(), fresh.c_str()) != 0)
                c.execute("ALTER TABLE " + old + " RENAME TO " + fresh);
            for (const TableDef& def : periodTables())
                if (def.suffix == parsed->suffix && !def.indexColumns.empty())
                    c.execute(createIndexSql(prefix, def));
        }
    }
    c.execute("UPDATE GZRecord SET F_ID=?", {newID});
    t.commit();
}

} // namespace

PathResult exportTask(Session& s, const std::string& folder, const std::string& date, Progress& progress) {
    PathResult r;
    const std::string& title = s.productShortName;
    if (!s.taskOpen() || !fileExistsNoCase(s.moneyFolder(), "GZ" + s.curTaskID + ".MDB"))
        return {Outcome::refuse("当前任务的数据不存在！", title, Icon::Exclamation), false, {}};
    if (!isFolder(folder))
        return {Outcome::refuse(kWrongPath, title, Icon::Exclamation), false, {}};
    try {
        ProgressGuard shown(progress, "正在进行压缩...", 3);
        exchange::StagingDir staging;
        const std::string dbName = "GZ" + s.curTaskID + ".MDB";
        const std::string db = staging.file(dbName);
        detail::snapshotTo(s.taskConn, db);
        progress.step();
        {
            // The task's system row travels inside the copy; the live task
            // file is never written.
            Connection copy;
            copy.open(db);
            copy.attach(s.sysDbPath, "sys");
            copy.execute("CREATE TABLE GZSysInfo AS SELECT * FROM sys.GZSysInfo WHERE F_ID=?", {s.curTaskID});
            if (copy.scalar("SELECT count(*) FROM GZSysInfo").toInt() != 1)
                throw DbError("没有当前任务的信息");
            if (copy.hasTable("tbSysSet", "sys"))
                copy.execute("CREATE TABLE tbSysSet AS SELECT * FROM sys.tbSysSet WHERE ztName=?",
                             {s.curTaskID});
            copy.detach("sys");
        }
        progress.step();
        const std::string archive = folder + "/" + packageFileName(s.curTaskID, date);
        exchange::writeArchive(archive, {{dbName, db}});
        progress.step();
        r.written = archive;
    } catch (const std::exception& e) {
        r.outcome = Outcome::refuse(std::string(kExportFailed) + "\n" + e.what(), title, Icon::Critical);
        return r;
    }
    r.outcome = Outcome{true, "任务导出完毕！", "提示窗", Icon::Information, {}};
    return r;
}

ImportResult importTask(Session& s, const std::string& file, Progress& progress) {
    ImportResult r;
    const std::string& title = s.productShortName;
    if (trim(file).empty()) {
        r.outcome = Outcome::refuse("没有选择文件！", title, Icon::Exclamation);
        return r;
    }
    ProgressGuard shown(progress, "正在设置初始数据,请稍候...", 4);
    std::optional<exchange::StagingDir> staging;
    Connection pkgDb;
    Package pkg;
    try {
        staging.emplace();
        const auto entries = exchange::unpackArchive(file, staging->path());
        if (entries.size() != 1)
            throw BadData("压缩文件中应当只有一个数据库文件");
        detail::openUntrusted(pkgDb, entries.front().path);
        pkg = readPackage(pkgDb);
    } catch (const std::exception& e) {
        r.outcome = Outcome::refuse(std::string(kBadImport) + "\n" + e.what(), title, Icon::Exclamation);
        return r;
    }
    progress.step();
    if (!s.sysConn.query("Select F_ID from GZSysInfo where F_GZMC=?", {pkg.name}).empty()) {
        r.outcome =
            Outcome::refuse("工资任务\"" + pkg.name + "\"已经存在，导入失败！", title, Icon::Exclamation);
        return r;
    }

    const std::string newID = nextFreeTaskID(s);
    const std::string money = s.moneyFolder();
    const std::string target = money + "/GZ" + newID + ".MDB";
    FileGuard temp;
    FileGuard placed;
    try {
        if (fileExistsNoCase(money, "GZ" + newID + ".MDB"))
            throw DbError("没有可用的任务号");
        reshapePackage(pkgDb, pkg, newID);
        detail::reachStep("import:package");
        progress.step();

        // The new database is complete on disk under a temporary name
        // before the system learns of it.
        std::string tmp = money + "/.GZ" + newID + ".MDB.XXXXXX";
        const int fd = mkstemp(tmp.data());
        if (fd < 0)
            throw DbError(std::string("不能建立工资任务文件：") + std::strerror(errno));
        ::close(fd);
        temp.path = tmp;
        detail::snapshotTo(pkgDb, tmp);
        pkgDb.close();
        exchange::syncFile(tmp);
        progress.step();

        Transaction sys(s.sysConn);
        Params values{newID};
        for (const char* column : kInfoColumns)
            values.push_back(pkg.info.at(0, column));
        s.sysConn.execute("Insert Into GZSysInfo(F_ID,F_GZMC,F_QYDM,F_RYXM,F_RYKL,F_QYRQ,F_DQRQ,F_BMJB,"
                          "F_RYBMCD,F_ZZ,F_KWFS,F_ZTID,F_ZTPATH) Values(?,?,?,?,?,?,?,?,?,?,?,?,?)",
                          values);
        if (!pkg.params.empty()) {
            ensureParameterTable(s.sysConn);
            s.sysConn.execute("Delete from tbSysSet where ztName=?", {newID});
            for (std::size_t i = 0; i < pkg.params.size(); ++i)
                s.sysConn.execute("Insert Into tbSysSet(ztName,ParaName,ParaValue) Values(?,?,?)",
                                  {newID, pkg.params.at(i, "ParaName"), pkg.params.at(i, "ParaValue")});
        }
        detail::reachStep("import:system");
        // Renamed while the system transaction is still open: a failure
        // from here on removes the file again and rolls the rows back.
        if (fileExistsNoCase(money, "GZ" + newID + ".MDB"))
            throw DbError("工资任务文件已经存在");
        if (::rename(tmp.c_str(), target.c_str()) != 0)
            throw DbError(std::string("不能建立工资任务文件：") + std::strerror(errno));
        temp.path.clear();
        placed.path = target;
        detail::reachStep("import:renamed");
        sys.commit();
        placed.path.clear();
        progress.step();
    } catch (const std::exception& e) {
        r.outcome = Outcome::refuse(std::string("导入任务没有完成！\n") + e.what(), title, Icon::Critical);
        return r;
    }
    r.taskID = newID;
    r.outcome = Outcome{true, "导入任务完成！", "提示窗", Icon::Information, {}};
    return r;
}

PathResult backupAll(Session& s, const std::string& file, Progress& progress) {
    PathResult r;
    const std::string& title = s.productShortName;
    const std::string money = moneyFolder(s.appPath);
    if (!fileExistsNoCase(money, "KSSYS.MDB"))
        return {Outcome::refuse("没有可以备份的数据！", title, Icon::Exclamation), false, {}};
    const fs::path target(file);
    if (target.filename().empty() ||
        !isFolder(target.parent_path().empty() ? "." : target.parent_path().string()))
        return {Outcome::refuse(kWrongPath, title, Icon::Exclamation), false, {}};
    try {
        std::vector<std::string> databases;
        std::vector<std::string> forms;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(money, ec)) {
            const std::string name = e.path().filename().string();
            if ((strcasecmp(name.c_str(), "KSSYS.MDB") == 0 || matchesTaskFile(name)) &&
                e.is_regular_file(ec))
                databases.push_back(name);
        }
        for (const auto& e : fs::directory_iterator(s.appPath, ec)) {
            const std::string name = e.path().filename().string();
            if (matchesBankForm(name) && e.is_regular_file(ec))
                forms.push_back(name);
        }
        std::sort(databases.begin(), databases.end());
        std::sort(forms.begin(), forms.end());
        ProgressGuard shown(progress, "正在进行备份...", static_cast<int>(databases.size()) + 1);
        exchange::StagingDir staging;
        std::vector<exchange::ArchiveEntry> entries;
        for (const std::string& name : databases) {
            Connection c;
            c.open(money + "/" + name);
            detail::snapshotTo(c, staging.file(name));
            entries.push_back({"KSMoney/" + name, staging.file(name)});
            progress.step();
        }
        for (const std::string& name : forms) {
            // A template is replaced whole by rename when saved: a copy
            // taken now is one complete version.
            fs::copy_file(s.appPath + "/" + name, staging.file(name));
            entries.push_back({name, staging.file(name)});
        }
        exchange::writeArchive(file, entries);
        progress.step();
        r.written = file;
    } catch (const std::exception& e) {
        r.outcome = Outcome::refuse(std::string("全库备份没有完成！\n") + e.what(), title, Icon::Critical);
        return r;
    }
    r.outcome = Outcome{true, "全库备份完毕！", "提示窗", Icon::Information, {}};
    return r;
}

Outcome restoreAll(const std::string& archive, const std::string& home, Progress& progress) {
    const std::string title = "工资管理";
    fs::path target(home);
    while (target.has_filename() == false && target.has_parent_path() && target != target.root_path())
        target = target.parent_path();
    const std::string parent = target.parent_path().empty() ? "." : target.parent_path().string();
    std::error_code ec;
    if (home.empty() || !isFolder(parent))
        return Outcome::refuse(kWrongPath, title, Icon::Exclamation);
    const bool exists = fs::exists(fs::symlink_status(target, ec));
    if (exists && (!fs::is_directory(fs::symlink_status(target, ec)) || !fs::is_empty(target, ec)))
        return Outcome::refuse("目标文件夹不是空文件夹，不能在其中恢复全库备份！", title, Icon::Exclamation);
    try {
        ProgressGuard shown(progress, "正在进行恢复...", 3);
        exchange::StagingDir staging(parent, target.filename().string());
        const auto entries = exchange::unpackArchive(archive, staging.path());
        progress.step();
        bool system = false;
        for (const exchange::UnpackedEntry& e : entries) {
            const std::string& n = e.name;
            const bool inMoney = n.size() > 8 && n.compare(0, 8, "KSMoney/") == 0;
            const std::string base = inMoney ? n.substr(8) : n;
            if (inMoney && strcasecmp(base.c_str(), "KSSYS.MDB") == 0) {
                Connection c;
                detail::openUntrusted(c, e.path);
                if (!c.hasTable("GZSysInfo"))
                    throw BadData("系统数据库中没有工资任务表");
                system = true;
            } else if (inMoney && matchesTaskFile(base)) {
                Connection c;
                detail::openUntrusted(c, e.path);
            } else if (!matchesBankForm(n)) {
                throw BadData("全库备份中不应有文件 " + n);
            }
        }
        if (!system)
            throw BadData("全库备份中没有系统数据库");
        progress.step();
        layoutDataHome(staging.path());
        if (::rename(staging.path().c_str(), target.c_str()) != 0)
            throw exchange::ArchiveError(std::string("不能建立数据目录 ") + home + "：" +
                                         std::strerror(errno));
        staging.release();
        progress.step();
    } catch (const BadData& e) {
        return Outcome::refuse(std::string("全库备份文件不正确，没有恢复！\n") + e.what(), title,
                               Icon::Critical);
    } catch (const exchange::ArchiveError& e) {
        return Outcome::refuse(std::string("全库备份文件不正确，没有恢复！\n") + e.what(), title,
                               Icon::Critical);
    } catch (const std::exception& e) {
        return Outcome::refuse(std::string("全库恢复没有完成！\n") + e.what(), title, Icon::Critical);
    }
    return Outcome{true, "全库恢复完毕！", "提示窗", Icon::Information, {}};
}

} // namespace gzgl::period

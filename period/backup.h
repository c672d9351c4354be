// Backups, restores and moving whole tasks between installations.
//
// Design. Every file written here is a ZIP archive (exchange/archive.h)
// built in a private staging folder that is removed afterwards, and every
// database put into one is a consistent snapshot taken inside one read
// transaction, never a copy of a file that may be being written.
//
//   Monthly backup   <folder>/GZ<task>_<period>_BAK/GZ<task>_<period>.KSC,
//                    one entry GZ<task>_<period>.MDB holding the period's
//                    thirteen tables under their usual names
//                    (ID<task>_<period>_<suffix>).
//   Task package     <folder>/GZ_<task>_<yyyymmdd>.ksc, one entry
//                    GZ<task>.MDB: the whole task database (every period's
//                    tables and the task's GZRecord) plus a GZSysInfo table
//                    with the task's row and, when the task has parameters,
//                    a tbSysSet table with its rows.
//   Full backup      one archive holding KSMoney/KSSYS.MDB, every task
//                    database KSMoney/GZ<id>.MDB and every bank template
//                    BankForm<id>.frm of the data home.
//
// What each operation replaces:
//   - A restore replaces the twelve base tables of the backup's period
//     (rows copied by column name) and rebuilds its _Data table with one
//     column per restored item, all in one transaction on the task
//     database: a failure or a kill leaves the period as it was. A period
//     that was cleared comes back as a closed period with its GZRecord row;
//     the open period stays open.
//   - An import adds a task under the next free id: every ID table of the
//     package renamed to the new id, the package's GZRecord rows, its
//     GZSysInfo row (and parameters). The new database is written under a
//     temporary name and renamed in place only while the system database's
//     transaction is open, so that a failure at any step leaves no task
//     file and no system row behind.
//   - Laying out a full backup fills a new, empty data home; it never
//     writes into one that holds anything.
//
// After a monthly backup or a restore the task is closed and the operator
// logs in again.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <functional>
#include <string>
#include <string_view>

namespace gzgl::period {

inline constexpr const char* kRestoreNotice =
    "    如果因为系统故障或病毒程序的原因使得工资系统的数据被破坏，您可以使用本功能恢复数据。";
inline constexpr const char* kBackAllNotice =
    "    为防止系统故障或病毒程序破坏工资系统的数据，建议您经常对其进行备份。";
// The file dialog's filter on frmimporttask.
inline constexpr const char* kImportFilter = "压缩文件(*.ksc)|*.ksc";
inline constexpr const char* kWrongPath = "请选择正确的路径！";
inline constexpr const char* kBadImport = "要导入的数据不正确！";
inline constexpr const char* kExportFailed = "任务导出过程中发生错误,请重新操作！";

// The modes of the folder screen (frmPath) that this module serves; 4 and
// 7 belong to the accounting-link screens. A completed monthly backup sets
// the mode to kPathRestore for frmBackUp to test (finishBackup); no
// operation leaves it there, since the task choice would then open a task
// without the login that must follow.
enum PathMode : int { kPathFullBackup = 1, kPathRestore = 2, kPathMonthBackup = 3, kPathTaskExport = 6 };

// "GZ" + task + "_" + period + "_BAK", the folder of a monthly backup.
std::string backupFolderName(const std::string& taskID, const std::string& period);
// "GZ" + task + "_" + period + ".KSC", the archive inside it.
std::string backupFileName(const std::string& taskID, const std::string& period);
// "GZ_" + task + "_" + yyyymmdd + ".ksc", a task package.
std::string packageFileName(const std::string& taskID, const std::string& date);
// "GZALL_" + yyyymmdd + ".KSC", a full backup written by the folder screen.
std::string fullBackupFileName(const std::string& date);
// Today as yyyymmdd.
std::string todayText();

struct PathResult {
    Outcome outcome;
    bool loginAgain = false; // the task was closed: the operator logs in again
    std::string written;     // the archive written, when one was
};

struct BackupStart {
    std::string year;  // "2006"
    std::string month; // "02"
};

// Opening frmBackUp: the session's period in the year and month boxes.
BackupStart openBackup(const Session& s);

struct BackupDate {
    Outcome outcome;
    std::string period; // yyyymm when accepted
};

// OK on frmBackUp: "请选择所需备份的日期!" for an empty or impossible year
// or month; otherwise the period, and the folder screen opens in
// kPathMonthBackup (set in the session).
BackupDate confirmBackupDate(Session& s, const std::string& year, const std::string& month);

// OK on the folder screen in monthly-backup mode: writes the backup of the
// open task's period into folder (kWrongPath when it is no folder, a
// refusal when the task has no complete table set for the period). Old
// "GZ*.KSC" files of the backup folder go once the new archive is in
// place. Ends with "数据备份完成！" and the mode set to kPathRestore, or
// with "数据备份没有完成！" and no archive under the real name.
PathResult backupMonth(Session& s, const std::string& period, const std::string& folder, Progress& progress);

// frmBackUp after the folder screen: when the backup completed, closes the
// task ("数据备份完毕！", loginAgain); otherwise nothing happens.
PathResult finishBackup(Session& s);

// OK on the folder screen in restore mode. folder must hold a backup of the
// open task ("GZ" + task + "*.KSC"), else kWrongPath. A damaged, truncated
// or foreign archive, one with unsafe names or an oversized entry, or one
// whose period lies outside the task's periods is refused and nothing
// changes. Asks before replacing (No: nothing happens, no message). Then
// replaces the period in one transaction, closes the task and answers
// "数据恢复完毕！" with loginAgain.
PathResult restoreMonth(Session& s, Prompt& p, const std::string& folder, Progress& progress);

// OK on the folder screen in task-export mode: writes the open task's
// package into folder ("当前任务的数据不存在！" without a task file,
// kWrongPath without a folder). Ends with "任务导出完毕！", or with
// kExportFailed and no package under the real name. date is yyyymmdd.
PathResult exportTask(Session& s, const std::string& folder, const std::string& date, Progress& progress);

struct ImportResult {
    Outcome outcome;
    std::string taskID; // the new task's id on success
};

// OK on frmimporttask: "没有选择文件！" for no file; kBadImport for a file
// that is no package of this program (damaged, truncated, unsafe, without
// the task row, with an incomplete period); a refusal for a task name the
// installation has already. Otherwise adds the task under the next free
// id with all its periods ("导入任务完成！"), all or nothing. The session's
// own task is not touched.
ImportResult importTask(Session& s, const std::string& file, Progress& progress);

// The full backup: the system database, every task database and every bank
// template of the session's data home, each database a snapshot, into one
// archive at file. "全库备份完毕！"; a refusal without a system database
// or without the target folder; no half archive on failure.
PathResult backupAll(Session& s, const std::string& file, Progress& progress);

// Lays out a full backup as a new data home at home, which must not exist
// or be an empty folder. The archive is checked and unpacked completely
// beside home and renamed into place only when whole. "全库恢复完毕！".
Outcome restoreAll(const std::string& archive, const std::string& home, Progress& progress);

// The folder screen's OK, by mode: full backup (file fullBackupFileName),
// restore, monthly backup of period, task export. Other modes do nothing
// here.
struct PathRequest {
    int mode = 0;
    std::string folder;
    std::string period; // monthly backup
    std::string date;   // yyyymmdd for file names; empty: today
};
PathResult confirmPath(Session& s, Prompt& p, const PathRequest& r, Progress& progress);

// Called with the name of each step of a restore and an import as it is
// reached ("restore:tables", "restore:data", "import:package",
// "import:system", "import:renamed"); an exception thrown there stands for
// a failure at that point. Tests use it; empty by default.
using StepHook = std::function<void(std::string_view step)>;
void setStepHook(StepHook hook);

} // namespace gzgl::period

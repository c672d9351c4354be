// The session: the program-wide variables of the open task and the logged-in
// operator, the two shared connections, and what the main window shows.
// One object holds them all so that every engine function states plainly
// which session it works on.
#pragma once

#include "core/connection.h"

#include <array>
#include <optional>
#include <string>

namespace gzgl {

// The three enablement states of the main window's menus and toolbar.
enum class ShellMode { NoTask, TaskChosen, LoggedIn };

// What the main window shows; the desktop program renders it after every
// engine call, the command line ignores it.
struct ShellState {
    std::string caption;
    std::string periodPanel; // panel 1: yyyy年第mm月
    std::string operatorPanel; // panel 2
    std::string statePanel; // panel 3: 已启用 / 未启用
    ShellMode mode = ShellMode::NoTask;
};

// An accounting link chosen on the link screen before the task exists; the
// task creation stores it with the new task.
struct PendingLink {
    bool linked = false;
    std::string setID;
    std::string path;
};

// The display columns of the staff roster grid (frmSet): per group "all
// columns" or a flag per optional column. Both groups start as all columns.
struct RosterColumns {
    bool depAll = true;
    std::array<bool, 5> dep{}; // 0 部门类型号, 1 级别, 2 是否末级; 3, 4 no column
    bool empAll = true;
    std::array<bool, 7> emp{}; // 0 民族 .. 5 其他账号2, 6 序号 + 转账属性
};

// Which pane of the staff roster last picked a department by a double click.
enum class RosterPane { Tree, Grid };

struct Session {
    // Program-wide values of the start-up.
    std::string appPath; // the data home
    std::string sysDbPath;
    std::string commandLine;
    std::string productTitle = "工资管理系统";
    std::string productShortName = "工资管理";
    Connection sysConn;
    Connection taskConn;

    // The open task and the logged-in operator.
    std::string curTaskID;
    std::string curTaskName;
    std::string curPeriod;
    int roundOffMode = 0;
    std::string empNoMask;
    std::string curOperName;
    std::string linkedSetID;
    std::string linkedSetPath;
    int linkKind = 0;

    // Automatic login from the command line.
    bool autoLogin = false;
    std::string autoTaskName;
    std::string autoTaskID;
    bool openWithoutLogin = false;
    // Set by the backup and restore screens; 1 and 2 make the task choice
    // only load the task's period.
    int pathScreenMode = 0;
    // Which wide grid the column-fit button works on (0 = none).
    int activeGridScreen = 0;
    PendingLink pendingLink;
    RosterColumns rosterColumns;
    RosterPane rosterPane = RosterPane::Tree;
    // The employee last written on a salary screen (entry grid, batch).
    std::string curEmpNo;

    ShellState shell;

    // "ID" + task id + "_" + period + "_" of the open task's current period.
    std::string taskPrefix() const;
    bool taskOpen() const { return !curTaskID.empty(); }
    bool loggedIn() const { return !curOperName.empty(); }
    std::string moneyFolder() const;
    // The path of the open task's database file.
    std::string taskDbPath(const std::string& taskID) const;
};

// yyyy + "年第" + mm + "月" for a period yyyymm.
std::string periodCaption(const std::string& period);

// The period yyyymm of a year and month typed on a screen: digits only, a
// four-digit year (1000 to 9999) and a month from 1 to 12; nullopt for any
// other text.
std::optional<std::string> periodOf(const std::string& year, const std::string& month);

// Main window states (caption and panels follow the mode).
void setNoTaskState(Session& s);
void setTaskChosenState(Session& s);
void setLoggedInState(Session& s);

} // namespace gzgl

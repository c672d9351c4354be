// The start routine and the routines that many screens share: opening or
// creating the system database, deciding what the user sees first, and the
// per-task switch for per-employee exceptions.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <string>

namespace gzgl {

// What the desktop program shows after the start routine.
enum class StartNext {
    Quit,            // a fatal error was shown; the program ends
    NewTask,         // no task yet: the link screen in new-task mode
    TaskChoice,      // the task-choice screen
    Login,           // a task is chosen; the login screen (failed automatic login)
    Ready,           // the automatic login succeeded
};

// Prepares a session on a data home: AppPath, the product titles and the
// command line, and the no-task state of the main window.
void initSession(Session& s, const std::string& appPath, const std::string& commandLine = {});

// Opens the system database, creating it from the empty template on the
// first start (with the system tables). Shows the fatal message through p
// and answers false when the database cannot be opened or created; a file
// that was there is left as it was.
bool openSystemDatabase(Session& s, Prompt& p);

// Creates the system tables in one transaction. On failure: rolls back,
// closes the system connection, shows "创建数据库表失败！", deletes the
// system database file and answers false.
bool CreateSystemTables(Session& s, Prompt& p);

// The whole start routine after the main window is up: lays out the data
// home, opens the system database and decides what comes next, performing
// the automatic login of the command line "operator_taskname".
StartNext startRoutine(Session& s, Prompt& p);

// True when the open task's "BJSGZX" parameter is "1"; a missing row or a
// missing table counts as off.
bool IsNotCalcOn(Session& s);

// Name of a department of the open period: style 0 the name, 1 code + " " +
// name, other styles empty; an empty code is "全体部门"; unknown codes give
// the empty text.
std::string GetDepName(Session& s, const std::string& code, int style);

} // namespace gzgl

// Choosing a task and logging in to it. The task choice opens the task's
// database and loads its settings; the login checks the operator, upgrades
// older tasks and puts the main window into its logged-in state.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <string>
#include <vector>

namespace gzgl {

// The entries of the task-choice list: id + six spaces + name, with
// "未知序号" / "未知名称" standing for Null values.
std::vector<std::string> taskChoiceEntries(Session& s);

enum class ChoiceNext {
    Closed,   // the screen closed without a task being opened (message shown)
    Opened,   // the task is open and no login follows (path-screen modes, open without login)
    Login,    // show the login screen
    Ready,    // logged in (automatic login)
};

// The task-choice confirmation for the selected list entry (ignored for an
// automatic login). Opens the task's database; a database that cannot be
// opened is reported and leaves no task open.
ChoiceNext confirmTaskChoice(Session& s, Prompt& p, const std::string& entryText);

struct StoredLogin {
    std::string name;
    std::string password;
};

// What the login screen loads: the task's operator name and password.
StoredLogin loadLoginScreen(Session& s);

enum class LoginNext {
    Stay,  // refused; the login screen stays open
    Done,  // logged in
    Login, // an automatic login failed: show the login screen
};

// The login confirmation; for an automatic login the name comes from the
// command line and the password is the stored one. The focus of a refusal is
// reported through the outcome of p's message only.
LoginNext confirmLogin(Session& s, Prompt& p, const std::string& userName, const std::string& password);

// Cancelling the login: the task stays chosen but locked.
void cancelLogin(Session& s);

// "关闭当前任务": closes the task database and clears the session.
void closeTask(Session& s);

// Opens the task choice and login without screens, as the command line
// does: finds the task by name and logs in with the given name and
// password. Answers true when logged in; messages go through p.
bool loginByName(Session& s, Prompt& p, const std::string& taskName, const std::string& user,
                 const std::string& password);

} // namespace gzgl

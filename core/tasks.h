// Salary tasks: creating one (its database file, the thirteen tables of the
// start period, the built-in items and tax brackets, its GZSysInfo row),
// amending its header row and deleting it.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <optional>
#include <string>
#include <vector>

namespace gzgl {

// The rounding-off modes as the new-task screen offers them, in its order.
const std::vector<std::string>& roundOffChoices();
// Code of a mode text; nullopt for a text that names no mode.
std::optional<int> roundOffCode(const std::string& text);
// Text of a code; empty for an unknown code.
std::string roundOffText(int code);

// The fields of the new-task screen, as typed.
struct NewTaskFields {
    std::string corporation;
    std::string name;
    std::string year;
    std::string month;
    std::string operatorName = "管理员";
    std::string password1;
    std::string password2;
    std::string codeLength;
    // The mode chosen on the screen; none keeps the session's mode in force.
    std::optional<int> mode;
    bool operator==(const NewTaskFields&) const = default;
};

// The two-password check: refusal "两次输入的口令不一致！" on txtKL1.
Outcome checkPasswords(const std::string& password1, const std::string& password2, const std::string& title);

// A password is stored and compared exactly as typed; one longer than the
// 16-byte column is refused rather than cut.
std::optional<Outcome> checkPasswordLength(const std::string& password, const std::string& title,
                                           const char* focus);

struct AddTaskResult {
    Outcome outcome;       // refusal, or success with the two-line welcome message
    NewTaskFields cleaned; // the cleaned values the screen writes back
    std::string taskID;
};

// OK on the new-task screen: cleans the fields, validates them in order and
// creates the task in one piece: a failure anywhere leaves no GZSysInfo row
// and no task database file. On success the task is open and logged in with
// the new operator.
AddTaskResult addTask(Session& s, const NewTaskFields& fields);

// Cancel on the new-task screen: the message "没有增设工资任务！".
Outcome cancelAddTask(Session& s);

struct AmendFields {
    std::string name;
    std::string operatorName;
    std::string corporation;
    std::string password1;
    std::string password2;
    std::string modeText;
    bool operator==(const AmendFields&) const = default;
};

// The amend screen's values of the open task. The password boxes stay
// empty: no screen shows a stored password.
AmendFields loadAmendFields(Session& s);

// OK on the amend screen: validates and rewrites the header row of the open
// task; the start period, the code length and the id stay. Both password
// boxes empty keep the stored password; otherwise it is stored as typed.
// The rounding-off mode takes effect in the session only once saved.
Outcome amendTask(Session& s, const AmendFields& fields);

// "删除当前任务" once a task is open: asks, then removes the task's database
// file and its GZSysInfo row and leaves no task open. Nothing is deleted for
// a task that is chosen but not logged in.
Outcome deleteCurrentTask(Session& s, Prompt& p);

// The id a new task gets: the highest recorded id plus one, passing over
// ids whose database file is already in the data folder, so that a lost or
// replaced system database never leads to another task's book being
// overwritten.
std::string nextFreeTaskID(Session& s);

// The checks of a task's corporation code, name and operator name as
// stored: each refused when it holds ' or |, a control character or a
// character outside GBK, or is longer than its column.
std::optional<Outcome> checkHeaderTexts(const std::string& corporation, const std::string& name,
                                        const std::string& operatorName, const std::string& title);

// Whether a task of this name is recorded.
bool taskNameTaken(Session& s, const std::string& name);

// Lays out a new task's database for its start period: the period tables,
// the built-in items and tax brackets and the GZRecord row, inside the
// caller's transaction.
void layOutTaskDatabase(Connection& task, const std::string& id, const std::string& period);

struct TaskRow {
    std::string id, name, operatorName, startPeriod, currentPeriod;
};
std::vector<TaskRow> listTasks(Session& s);

} // namespace gzgl

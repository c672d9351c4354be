// The data-load file: one month of a task (departments, item names,
// employees with their values) written by one installation and loaded by
// another, creating what the receiving task lacks.
//
// File layout (GBK, lines ended by CR LF; a bare LF is read as well):
//   "KS770_GZGL"                              the file mark
//   "<任务名称>,<操作人员>,<yyyymm>"             task, operator, period
//   "*Dep*"
//   "<部门编码>   <部门名称>"                    one per department
//   "*Item*"
//   "<项目名称1>,<项目名称2>,...,<项目名称N>"
//   "*Data*"
//   "<部门名称或编码>,<员工代码>,<性别>,<员工姓名>,<值1>,...,<值N>"
// A value is a plain decimal number, the text of a text item, or "*" for
// no value. The exported items are those with a value column (F001 and
// F002 travel as the code and name, the account items have no column).
//
// Design note. Reading is split from writing to the database: parseDataLoad
// turns bytes into a DataLoadFile (or a refusal) without touching any
// database, so that the fuzzer can drive it alone. loadDataFile then checks
// the task and the period, and writes everything into the task database in
// one transaction; a refusal or failure anywhere leaves the task as it was.
// A task the file names but the data home lacks is built in a database file
// under a temporary name, renamed into place when complete and only then
// recorded in GZSysInfo, so that a crash leaves no half task in the list.
// The department coding scheme of an existing task lives in the system
// database and is written after the task database has committed, as the
// department screens do.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gzgl::exchange {

inline constexpr const char* kDataLoadMark = "KS770_GZGL";
inline constexpr const char* kDataLoadTitle = "数据加载";
inline constexpr const char* kRecordRejected = "记录不正确，本员工数据不予导入！";

// A line of the file that was not imported, with why.
struct SkippedLine {
    int line = 0;         // 1-based line number in the file
    std::string text;     // the line as read (UTF-8, cut to a screenful)
    std::string reason;   // the message shown for it
};

struct DataLoadFile {
    std::string taskName, operatorName, period;
    struct Department {
        int line = 0;
        std::string code, name;
    };
    std::vector<Department> departments;
    std::vector<std::string> items;
    struct Row {
        int line = 0;
        std::string text;                 // the line as read
        std::vector<std::string> fields;  // split at ","; empty when the line was not readable
    };
    std::vector<Row> rows;
    // Data lines refused while reading (not GBK, a control character).
    std::vector<SkippedLine> skipped;
};

struct ParsedDataLoad {
    std::optional<DataLoadFile> file;
    std::string error; // the refusal, when file is empty
};

// Reads the bytes of a data-load file. The first line must be the mark
// ("文件格式错误!"); the task line, the three section marks in order and
// the item line must be there and readable. A data line that is no GBK or
// holds a control character is set aside in skipped; everything else about
// a data line is judged by the load.
ParsedDataLoad parseDataLoad(std::string_view bytes);

// What the help text of the load screen shows.
std::string dataLoadLayoutHelp();

struct DataLoadResult {
    Outcome outcome;
    std::string taskID;       // the task loaded into
    bool taskCreated = false;
    int departmentsAdded = 0;
    int itemsAdded = 0;
    int employeesAdded = 0;
    int employeesUpdated = 0;
    std::vector<SkippedLine> skipped;
};

// Loads a data-load file. The task is the one of the file's name and
// operator; an existing one also needs its operator's password, and only
// its current period takes a load ("数据文件时间错误！" for any other). A
// task that does not exist is created with the password given, starting in
// the file's period. The session's own task stays open and unchanged.
DataLoadResult loadDataFile(Session& s, const std::string& path, const std::string& password,
                            Progress& progress);

// Writes the open task's current period as a data-load file at path (an
// existing file asks first; No writes nothing and shows nothing). A text
// that GBK cannot hold, or a code, name or text value holding a ",", is
// refused naming the employee, since the file could not carry it.
Outcome exportDataFile(Session& s, const std::string& path, Prompt& prompt, Progress& progress);

// The name the export screen proposes: task name + period + ".txt".
std::string proposedDataFileName(const Session& s);

} // namespace gzgl::exchange

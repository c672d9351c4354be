// The data-interface import: a delimited salary export (delimited.h) read
// back into the open task's current period.
//
// Design note. parseInterfaceFile reads the header block, the item-code and
// title lines and splits the data lines without any database, so that the
// fuzzer can drive it alone. importInterfaceFile matches the file to the
// open task and period, picks the columns it may write (an item of that code
// and title that is neither text nor the target of a formula line), and then
// writes every readable line in one transaction: an employee found by code
// and name keeps its department; a code the task does not have yet becomes
// a new employee in the department "新导入员工", which is made once, the
// first time it is needed. A line that cannot be imported is set aside with
// its line number and why; the others go in.
#pragma once

#include "exchange/dataload.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gzgl::exchange {

inline constexpr const char* kInterfaceTitle = "提示";
inline constexpr const char* kNotSalaryFile = "文件不是合法的工资数据文件或文件已损坏。";
inline constexpr const char* kTaskMismatch = "要导入的数据与当前任务信息不符合。无法导入。";
inline constexpr const char* kImportedDepartment = "新导入员工";

struct InterfaceFile {
    std::string taskID, taskName, period, separator;
    std::vector<std::string> codes, titles; // trimmed, one per column
    struct Row {
        int line = 0;
        std::string text;
        std::vector<std::string> cells; // trimmed; empty when the count is wrong
    };
    std::vector<Row> rows;
    std::vector<SkippedLine> skipped; // lines not readable as text
};

struct ParsedInterface {
    std::optional<InterfaceFile> file;
    std::string error;
};

// The first line must be "****"; the header up to the second "****" must
// name the task, the period and a separator that is not blank; the code and
// title lines must follow with the same number of columns.
ParsedInterface parseInterfaceFile(std::string_view bytes);

struct InterfaceImportResult {
    Outcome outcome;
    int employeesAdded = 0;
    int employeesUpdated = 0;
    int columnsImported = 0;
    std::vector<SkippedLine> skipped;
};

InterfaceImportResult importInterfaceFile(Session& s, const std::string& path, Progress& progress);

} // namespace gzgl::exchange

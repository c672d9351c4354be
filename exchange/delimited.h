// The delimited salary export (frmSave, reached from the salary query): the
// query grid written as a text file with a fixed header block, which the
// salary data exchange reads back.
//
// File layout (GBK, every line ended by CR LF):
//   "****"
//   "任务名称 " + task id + " " + task name
//   "工资期数 " + period
//   "分隔符号 " + separator
//   "导出日期 " + yyyymmdd
//   "****"
//   the item codes of the columns (blank for a column that is no item),
//   the column titles, then one line per data row; every cell of these
//   lines is trimmed and padded on the right to 12 bytes (a longer cell is
//   kept whole, never cut) and the cells are joined by the separator.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <string>
#include <vector>

namespace gzgl::exchange {

struct DelimitedExport {
    std::vector<std::string> titles;            // the grid's row 0
    std::vector<std::vector<std::string>> rows; // its data rows, as text
    std::string folder;                         // the chosen folder
    std::string name;                           // the typed file name
    std::string separator;                      // Cmbfg's text
    std::string today;                          // yyyymmdd
};

// The file name of the export: the typed name with the period put in as for
// the bank file (bankFileName), inside folder.
std::string delimitedPath(const std::string& folder, const std::string& typedName, const std::string& period);

// Writes the export for the open task's current period: an empty name is
// refused ("文件名不能为空！"), a missing folder too; an existing file asks
// "<full name>文件已存在，是否覆盖？" (No: nothing written, no message). A
// text GBK cannot hold refuses the whole file, naming the row and column.
// The file is written under a temporary name and renamed when complete;
// the progress shows "  正在生成报盘文件..." meanwhile. Success: "文件生成
// 完毕！" under the caption "提示", and *written (when given) holds the path.
// Questions go through prompt; the outcome's message is the caller's to
// show.
Outcome writeDelimited(Session& s, const DelimitedExport& e, Prompt& prompt, Progress& progress,
                       std::string* written = nullptr);

} // namespace gzgl::exchange

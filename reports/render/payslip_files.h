// The payslips of a report written as one PDF file per employee, for
// handing out by mail instead of on paper. Needs Qt Gui (a
// QGuiApplication must exist).
#pragma once

#include "core/prompt.h"
#include "core/session.h"
#include "reports/standard.h"

#include <string>
#include <vector>

namespace gzgl::reports {

// Writes each data row of a payslip report into folder (made when
// missing) as payslipFileName(code, name), laid out as the printed
// payslips are. Each file is written under a temporary name in the folder
// and renamed when complete, replacing a file of that name; two rows that
// come to the same name (an employee renamed within the range) get " (2)",
// " (3)" ... before ".pdf". written receives the paths in row order. A
// report that is not a payslip report or has no rows is refused with the
// no-data message; a file that cannot be written with "无法写入文件 " +
// path, leaving the files written before it.
Outcome writePayslipPdfs(Session& s, const BuiltReport& report, const std::string& folder,
                         std::vector<std::string>* written = nullptr);

} // namespace gzgl::reports

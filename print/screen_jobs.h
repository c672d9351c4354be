// The print jobs of the screens, built the way every screen builds one:
// the no-data check, the columns that must not print left out, the four
// table names of the period, the title, the department and page lines in
// the header, the date and maker lines in the footer, and the settings.
#pragma once

#include "base/departments.h"
#include "calc/workgrid.h"
#include "core/prompt.h"
#include "core/session.h"
#include "monthly/workgrid_load.h"
#include "print/gridprint.h"

#include <optional>
#include <string>
#include <vector>

namespace gzgl::print {

inline constexpr long kFormEntryGrid = 9989;
inline constexpr long kFormRoster = 1542;
inline constexpr const char* kPageLine = "第<当前页号>／<总页号>页";
inline constexpr const char* kPageLineAscii = "第<当前页号>/<总页号>页";

// The screen's no-data message when the grid holds no data rows:
// "没有数据可供预览！" for a preview, "没有数据可供打印！" for a print;
// nullopt when there is something to print.
std::optional<Outcome> noDataMessage(const PrintGrid& grid, bool preview);

// The shared conventions of the header and footer lines.
// "日期:" + yyyy + "年" + mm + "月" of a period yyyymm.
std::string dateLine(const std::string& period);
// A new job on the session's current period: connection, the four tables,
// grid and form number.
clsGridPrint newJob(Session& s, const PrintGrid& grid, long formID);
// The centred title line in the title font (topDist 10).
void addTitle(clsGridPrint& job, const std::string& title);
// A header line in the text font: align 0 left, 1 centre, 2 right.
void addHeadLine(clsGridPrint& job, const std::string& text, long align, double topDist = 1.0);
void addFootLine(clsGridPrint& job, const std::string& text, long align);
// "部门：" + name on the left and the page line on the right.
void addDepartmentAndPage(clsGridPrint& job, const std::string& depName, const char* pageLine = kPageLine);
// The date line on the left, "制表:" + blanks + the operator on the right.
void addDateAndMaker(clsGridPrint& job, Session& s, int blanks);
// The settings of a screen's job: A as given, C payslips, the rest fixed.
void applySettings(clsGridPrint& job, long settingA, bool payslips);

// The entry grid's print grid: the captions as the heading row, the
// employees below; items printed with F_Print 0 and, without rounding-off
// (RoundOffMode 0), the columns FFFF, FFFE, FFFD left out; widths from
// the items' F_Width in millimetres as stored now; numbers right-aligned;
// every column keyed by its item code, the columns of items other than
// numbers marked as text.
PrintGrid entryPrintGrid(Session& s, const calc::WorkGrid& grid, const std::vector<monthly::ItemColumn>& columns);
// The entry grid's job (form 9989): the title "工资录入" as a left-aligned
// line in the text font, the department and page lines, date and maker.
clsGridPrint entryGridJob(Session& s, const calc::WorkGrid& grid, const std::vector<monthly::ItemColumn>& columns,
                          const std::string& depName);

// The staff roster grid as a print grid: the captions as the heading row,
// the columns frmSet hides left out, every column text.
PrintGrid rosterPrintGrid(const base::RosterGrid& roster);
// The department staff list (form 1542): the title "部门人员管理表", the
// department and page lines, the footer "制表:" + nine blanks + the
// operator; setting A 3.
clsGridPrint rosterJob(Session& s, const PrintGrid& grid, const std::string& depName);

} // namespace gzgl::print

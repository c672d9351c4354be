// The print jobs of the standard reports and the payslips as separate
// forms: a built report handed to the print engine with its form number,
// title, header and footer lines and settings.
#pragma once

#include "print/gridprint.h"
#include "reports/standard.h"

#include <string>
#include <utility>
#include <vector>

namespace gzgl::reports {

// The report's body as the print engine takes it: the caption row as the
// heading, then the rows (with the totals row); number columns
// right-aligned, text columns (codes, names, the department, text and date
// items) marked text, item columns keyed by their item code.
print::PrintGrid reportPrintGrid(const ReportGrid& grid);
// The summaries' heading grid (SetHeadGrid): the caption row alone.
print::PrintGrid reportHeadGrid(const ReportGrid& grid);

// The report's print job on the current period's print projects: form 108,
// 118 or 128 and the report's name as title; the department line at the
// left, the date line centred and the page line at the right
// ("第<当前页号>／<总页号>页" for the summaries, the ASCII slash otherwise);
// the footers "主管:", "复核:" and "制表:" + the operator (each with eight
// blanks), or for the payslips "制表：" + four ideographic spaces + the
// operator; settings A 0, B (0, 0) for the pay sheet, C for the payslips,
// D 0, E true, F 1 and G 0. The payslips print each row as its own form.
print::clsGridPrint reportJob(Session& s, const BuiltReport& report);

// The payslip job of one employee (a data row of a payslip report): the
// same layout as the payslips printed together, with that row alone.
print::clsGridPrint payslipJob(Session& s, const BuiltReport& report, int row);

// One payslip as text: per printed column its caption and value.
struct Payslip {
    std::string empNo;
    std::string name;
    std::vector<std::pair<std::string, std::string>> lines;
};
std::vector<Payslip> payslips(const BuiltReport& report);

// The file name of an employee's payslip: code + "_" + name + ".pdf". A
// character that a file name cannot hold on Linux or Windows (/ \ : * ? "
// < > |, a control character) becomes "_", and trailing dots and blanks of
// the name are dropped, so that the same name works on either system.
std::string payslipFileName(const std::string& empNo, const std::string& name);

} // namespace gzgl::reports

// The entry grid written to an Excel workbook (KeyExcel): the columns the
// grid shows, the captions in the first row, number items as numbers and
// text, dates and the account numbers as text so that long digit strings
// keep every digit.
#pragma once

#include "core/prompt.h"
#include "exchange/xlsx.h"
#include "monthly/entry.h"

#include <string>

namespace gzgl::monthly {

inline constexpr const char* kOverwriteQuestion = "磁盘中已有Excel文件,是否要覆盖";
inline constexpr const char* kExported = "Excel表格已经成功导出。";
inline constexpr const char* kWithAccountsQuestion = "是否同时导出员工的身份证号和银行账号等账号？";

// The sheet of the grid as it is shown: its visible columns, one row per
// employee.
exchange::SheetTable entrySheet(const SalaryEntry& e);

// The same sheet with the employees' identity and account numbers from the
// employee records (身份证号, 银行账号, 养老保险账号, 住房公积金账号,
// 其他账号1, 其他账号2), placed after the name, always as text. A field
// already shown as an account item is not repeated, and one that is empty
// for every exported employee is left out.
exchange::SheetTable entrySheetWithAccounts(SalaryEntry& e);

// Writes the sheet to path. An existing file asks "磁盘中已有Excel文件,
// 是否要覆盖" first (No: nothing is written, no message). Ends with
// "Excel表格已经成功导出。", or with the writer's message when the file
// cannot be written. Answers whether the file was written.
bool exportSheet(Prompt& p, const std::string& title, const std::string& path, const exchange::SheetTable& t);

} // namespace gzgl::monthly

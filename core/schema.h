// The tables of the system.
//
// Layout. The system database KSSYS.MDB holds GZSysInfo (one row per salary
// task), GZRecord (created, left empty) and tbSysSet (named parameters per
// task, created at the first login). Each task database GZ<id>.MDB holds the
// task's own GZRecord (one row per period: "0" open, "1" closed) and, for
// every period yyyymm that has not been cleared, a complete set of thirteen
// tables named "ID" + id + "_" + period + "_" + suffix (the task prefix).
// Month-end copies a whole set forward; clearing drops a whole set; nothing
// is shared between the sets.
//
// Column declarations keep the original type words, mapped for SQLite:
// varchar(n) and memo become text compared case-insensitively (COLLATE
// NOCASE), long and integer become INTEGER, double stays floating point. An
// index is named "IX_" + its table, since SQLite's index names share the
// namespace of tables.
#pragma once

#include "core/connection.h"

#include <string>
#include <string_view>
#include <vector>

namespace gzgl {

struct TableDef {
    std::string suffix;      // "_Employee"
    std::string columns;     // column list in the original type words; "#NN" marks Not Null
    std::string indexColumns; // empty: no index
};

// The thirteen per-period tables in their creation order.
const std::vector<TableDef>& periodTables();

// "ID" + task id + "_" + period + "_".
std::string makeTaskPrefix(const std::string& taskID, const std::string& period);

// The name of one per-period table: prefix + suffix ("_Employee" and
// "Employee" name the same table).
std::string periodTable(const std::string& prefix, const std::string& suffix);

// True for an item code that may stand in SQL as a column name: "F"
// followed by three digits or capital letters.
bool isItemCode(std::string_view code);

// Maps a column list in the original type words to SQLite declarations.
std::string sqliteColumns(const std::string& columns);

std::string createTableSql(const std::string& prefix, const TableDef& t);
std::string createIndexSql(const std::string& prefix, const TableDef& t);

// Creates the four system-table statements on a fresh system database.
// Throws DbError; the caller owns the transaction.
void createSystemTableStatements(Connection& sys);

// Creates the thirteen tables of one period with their indexes, and the seven
// built-in items and tax brackets. Throws DbError.
void createPeriodTables(Connection& task, const std::string& prefix);
void insertBuiltInItems(Connection& task, const std::string& prefix);
void insertBuiltInTaxBrackets(Connection& task, const std::string& prefix);

// The task database's own period table.
void createTaskRecordTable(Connection& task);

// tbSysSet in the system database, when it is missing.
void ensureParameterTable(Connection& sys);

// The login-time upgrade of an older task: adds the employee columns
// F_NotCalc and F_LashMonth where missing and creates tbSysSet.
void upgradeTaskSchema(Connection& task, Connection& sys, const std::string& prefix);

} // namespace gzgl

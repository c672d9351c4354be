// The periods of a salary task and their table sets.
//
// Design. Every period yyyymm of a task has one complete set of thirteen
// tables "ID" + task + "_" + period + "_" + suffix in the task database, and
// one row in the task database's GZRecord: "0" for the one open period,
// "1" for a closed one. GZSysInfo.F_DQRQ in the system database names the
// open period; GZSysInfo.F_ZZ is its voucher-transfer flag.
//
// Invariants kept by every operation here:
//   - exactly one GZRecord row of the task has F_ZZ "0", and it equals
//     F_DQRQ;
//   - every recorded period has all thirteen tables;
//   - no table set exists without its GZRecord row.
//
// Closing a month copies the open set into a new one (each table with its
// own definition and index), prepares the new month and moves the open
// mark forward. Restoring drops every set later than a closed period and
// moves the mark back to it. Clearing drops one old set and its record.
//
// Each operation is one SQLite transaction on the task connection with the
// system database attached as "sys", so that the task's tables, its
// GZRecord and its GZSysInfo row change together: a failure, a stop or a
// kill at any moment leaves the task as it was before or as it is after,
// never in between (SQLite commits the two files through one super-journal).
#pragma once

#include "core/session.h"

#include <string>
#include <vector>

namespace gzgl::period {

// The table suffixes of a period's set, in the order a close copies them.
const std::vector<std::string>& copyOrder();

// The next month after period yyyymm (200612 -> 200701).
std::string nextPeriod(const std::string& period);

// yyyy + "年" + mm + "月", as the restore list shows a period.
std::string periodLabel(const std::string& period);

struct PeriodRow {
    std::string period;
    bool closed = false;
    bool complete = false; // all thirteen tables are there
};

// The task's recorded periods in order, with their state.
std::vector<PeriodRow> listPeriods(Session& s);

// Whether all thirteen tables of the task's period exist.
bool tableSetComplete(Connection& task, const std::string& taskID, const std::string& period);

// Attaches the system database to the task connection as "sys" for the
// life of the object, so that one transaction spans both files.
class SystemAttached {
public:
    explicit SystemAttached(Session& s);
    ~SystemAttached();
    SystemAttached(const SystemAttached&) = delete;
    SystemAttached& operator=(const SystemAttached&) = delete;

private:
    Session& s_;
};

// Copies one table under a new name with its definition (column types,
// defaults, collations) and its index, then its rows. Throws DbError.
void copyTable(Connection& c, const std::string& from, const std::string& to);

// Drops the thirteen tables of one period. Throws DbError.
void dropTableSet(Connection& c, const std::string& taskID, const std::string& period);

// Reclaims the space of dropped tables; a failure is harmless.
void reclaimSpace(Connection& c);

} // namespace gzgl::period

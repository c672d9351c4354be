// Pieces shared by the backup, restore and transfer operations: reading a
// database that came out of an archive without trusting it, snapshots, and
// copying rows between files by column name.
#pragma once

#include "core/connection.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace gzgl::period::detail {

// A file whose content is not what this program wrote; what() says why.
class BadData : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reports a step to the hook set with setStepHook.
void reachStep(std::string_view step);

// Opens a database unpacked from an archive: the file must begin with the
// SQLite header and pass SQLite's quick check. The connection runs with
// the defensive settings (no schema-borne functions, no writes to the
// schema table). Throws BadData.
void openUntrusted(Connection& c, const std::string& path);

// Writes a consistent copy of the connection's main database to target,
// which must not exist (VACUUM INTO: one read transaction). Throws DbError.
void snapshotTo(Connection& c, const std::string& target);

// A per-period table name taken apart: "ID0001_200602_Data" -> id 0001,
// period 200602, suffix "_Data" in the spelling of copyOrder(). nullopt for
// any other name.
struct PeriodTableName {
    std::string taskID;
    std::string period;
    std::string suffix;
};
std::optional<PeriodTableName> parsePeriodTable(const std::string& name);

// Six digits forming a year 1000..9999 and a month 1..12.
bool validPeriod(const std::string& period);

// Only letters, digits and "_": safe to stand in SQL as a name.
bool plainIdentifier(std::string_view name);

// Copies every row of fromSchema.table into toSchema.table, column by
// column name: columns only one side has are left out (the other side's
// default). Throws DbError.
void copyRowsByName(Connection& c, const std::string& fromSchema, const std::string& toSchema,
                    const std::string& table);

// A name quoted for SQL ("a""b"), for dropping objects of an untrusted file.
std::string quotedName(std::string_view name);

} // namespace gzgl::period::detail

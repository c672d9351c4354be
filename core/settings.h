// Settings of the open task, kept as name/value rows in tbSysSet (ztName =
// the task id) of the system database, so that they travel with the task.
#pragma once

#include "core/session.h"

#include <optional>
#include <string>

namespace gzgl {

// Stores "BJSGZX" = "1" or "0" for the open task. Throws DbError.
void setNotCalc(Session& s, bool on);

// The trimmed value of one parameter of the open task; nullopt when it is
// not set or there is no parameter table yet.
std::optional<std::string> taskParameter(Session& s, const std::string& name);

// Replaces the parameter's rows for task with one holding value, in table
// ("tbSysSet" on the system connection, "sys.tbSysSet" where the system
// database is attached to the task connection). The caller owns the
// transaction and has made sure the table exists. Throws DbError.
void putTaskParameter(Connection& c, const std::string& table, const std::string& task, const std::string& name,
                      const std::string& value);

} // namespace gzgl

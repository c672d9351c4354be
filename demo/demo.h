// The demo data home: one task to try the whole program on, laid out by
// the same engine functions the screens call.
//
// Design note. The home is built in a new folder beside the one asked for
// and renamed into place only when complete, so that a failure or a kill
// leaves no half demo, and an existing data home is never touched: a
// folder that exists and is not empty is refused. The task "演示单位"
// (operator 管理员, password "demo") holds a coded department tree with
// department and employee types, 200 employees with names, bank accounts
// and identity numbers, salary items with their formulas and tax brackets,
// one month of values, a bank template, and a demo accounting folder
// ("演示账务" inside the home) that the task is linked to.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"

#include <string>

namespace gzgl::demo {

inline constexpr const char* kTaskName = "演示单位";
inline constexpr const char* kOperator = "管理员";
inline constexpr const char* kPassword = "demo";
inline constexpr int kEmployees = 200;

// Lays out the demo home at home for the month year/month (yyyy, 1..12).
// Refuses a folder that holds anything already; success names the task
// and how to log in.
Outcome layOutDemoHome(const std::string& home, int year, int month, Progress& progress);

// An 18-digit identity number with its check character, for the demo.
std::string identityNumber(const std::string& region, const std::string& birth, int sequence);

} // namespace gzgl::demo

// 计算过程: why an employee's figures are what they are. The employee's row
// is recalculated by the recalculation itself with every step recorded
// (calc/trace.h), from the stored values as the entry screen loads them.
#pragma once

#include "calc/recalc.h"
#include "calc/trace.h"
#include "core/prompt.h"
#include "core/session.h"

#include <map>
#include <string>

namespace gzgl::monthly {

struct TraceResult {
    Outcome outcome;
    calc::EmployeeTrace trace;
    std::string text;
};

// The trace of one employee of the open month, with the per-employee
// exceptions as the entry screen applies them: "查无此人！" for an unknown
// employee number.
TraceResult traceEmployee(Session& s, const std::string& empNo);

// The heading of a trace: who, which month, the rounding-off and whether
// the per-employee exceptions apply.
std::string traceHeading(Session& s, const calc::EmployeeTrace& t, bool exceptions);

// Item code -> name of the open month.
std::map<std::string, std::string> itemNames(Session& s);

} // namespace gzgl::monthly

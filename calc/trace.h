// The calculation of one employee, line by line, as the recalculation does
// it: what each formula line read, what it gave and whether it assigned,
// and the rounding-off of net pay. The steps are recorded by the
// recalculation itself (RecalculateLines with a trace), so the row they end
// in is the row a full pass gives.
#pragma once

#include "calc/workgrid.h"

#include <map>

#include <string>
#include <utility>
#include <vector>

namespace gzgl::calc {

struct TraceStep {
    int line = 0; // 1-based place in the calculation order
    std::string code;
    std::string formula;
    // Every code the formula names with the number put in for it, in order
    // of occurrence.
    std::vector<std::pair<std::string, double>> inputs;
    bool hasValue = false; // the formula yielded a value
    double value = 0;      // that value, rounded to the item's decimals
    enum class Result {
        Assigned, // the value was written
        NoValue,  // a condition that did not hold: the cell kept its text
        Stored,   // a value stored for the employee took the formula's place
        Listed,   // the item is in the employee's not-calculated list: 0.00
    };
    Result result = Result::NoValue;
    std::string before; // the cell before the line
    std::string after;  // and after it
    // Net pay (F000) with a value: the rounding-off step.
    bool netPay = false;
    double carried = 0;    // FFFF, last month's remainder
    std::string heldBack;  // FFFD
    std::string paidOut;   // FFFE
    double net = 0;        // net pay after rounding-off
};

struct EmployeeTrace {
    std::string empNo;
    std::string name;
    std::vector<TraceStep> steps;
    WorkGrid row; // the two header rows and the employee's row, recalculated
};

struct FormulaLine;
struct RecalcSettings;
class Exceptions;

// The two header rows of grid and its row r, as a grid of its own.
WorkGrid rowCopy(const WorkGrid& grid, int r);

// Recalculates the employee row of row (a rowCopy) with the lines and
// records every step; exceptions as RecalculateLines takes them.
EmployeeTrace traceRow(const std::vector<FormulaLine>& lines, WorkGrid row, const RecalcSettings& settings,
                       Exceptions* exceptions);

// The trace as the clerk reads, prints and copies it: a heading, one block
// per line (the formula with item names, the values put in, the result and
// whether it was assigned, the rounding-off of net pay), then the
// employee's figures. names maps item codes to names.
std::string traceText(const EmployeeTrace& t, const std::map<std::string, std::string>& names,
                      const std::string& heading);

} // namespace gzgl::calc

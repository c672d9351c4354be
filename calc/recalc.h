// The salary recalculation. Calculated items are not kept up to date in the
// database: every screen that shows, prints or exports salary figures loads
// the month into a working grid and recalculates it here, formula line by
// formula line in ascending F_ID, each line over all employee rows. Later
// lines see what earlier ones wrote, so the order of the lines is the order
// of calculation (gross pay before tax before net pay).
//
// A line targeting F000 (net pay) also works out the rounding-off: FFFD and
// FFFE are written from the net pay and last month's carry (FFFF).
//
// With the per-employee exceptions on (BJSGZX), a value stored for the
// employee in the target item takes the place of the formula, and an item
// named in his F_NotCalc list gets 0.00.
//
// Nothing is written to the database here.
#pragma once

#include "calc/compiled.h"
#include "calc/numformat.h"
#include "calc/pubvar.h"
#include "calc/trace.h"
#include "calc/workgrid.h"
#include "core/progress.h"
#include "core/session.h"

#include <string>
#include <vector>

namespace gzgl::calc {

// One formula line, ready to run: its target, its formula compiled once and
// the target's display precision.
struct FormulaLine {
    FormulaLine(std::string code, std::string formula, std::string precisionFormat);
    std::string code;
    std::string formula;
    std::string precisionFormat;
    NumberPattern pattern;
    CompiledFormula compiled;
};

// The task's formula lines in ascending F_ID, with their precisions.
std::vector<FormulaLine> loadFormulaLines(Session& s);

// What the recalculation needs beside the grid.
struct RecalcSettings {
    int roundOffMode = 0;
    bool exceptions = false; // honour F_NotCalc and stored values (BJSGZX)
};

// Recalculates every employee row of grid with the task's current formula
// lines, showing "  正在准备数据，请稍候..." and one progress step per line.
// The per-employee exceptions are read once for the whole pass.
void RecalculateGrid(Session& s, WorkGrid& grid, const RecalcSettings& settings, Progress& progress);

// The same over prepared lines (the screen's copy taken when it opened): the
// whole grid, or only row when row >= 2, as after an edited cell. exceptions
// answers the per-employee questions when settings.exceptions is on (may be
// null otherwise; for one row, read for that employee only). One row runs
// every line as the whole grid does (a line without a code included), so
// that it comes out as the same row of a full pass.
// With trace and one row, every line's step is appended to trace.
void RecalculateLines(const std::vector<FormulaLine>& lines, WorkGrid& grid, int row, const RecalcSettings& settings,
                      Exceptions* exceptions, Progress* progress, std::vector<TraceStep>* trace = nullptr);

} // namespace gzgl::calc

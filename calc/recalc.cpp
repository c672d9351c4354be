#include "calc/recalc.h"

#include "calc/numformat.h"
#include "calc/roundoff.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/text.h"

#include <cmath>

namespace gzgl::calc {

namespace {

// The grid's cells as numbers for one pass over rows first..last: each cell
// is read once, and a cell the pass writes is known from the value written,
// so a value used by many lines is not read from its text again each time.
class PassCells {
public:
    PassCells(WorkGrid& grid, int first, int last)
        : grid_(grid), first_(first), cols_(static_cast<std::size_t>(grid.cols())),
          number_(static_cast<std::size_t>(last - first + 1) * cols_), known_(number_.size(), 0) {}

    WorkGrid& grid() { return grid_; }
    // The number of cell (r, c); 0 for an empty cell or no column (c < 0).
    double number(int r, int c) {
        if (c < 0)
            return 0;
        const std::size_t i = index(r, c);
        if (!known_[i]) {
            const std::string& t = grid_.cell(r, c);
            number_[i] = t.empty() ? 0 : readNumber(t);
            known_[i] = 1;
        }
        return number_[i];
    }
    void write(int r, int c, std::string text) {
        grid_.cell(r, c) = std::move(text);
        known_[index(r, c)] = 0;
    }
    // Writes text whose number is known to be value.
    void write(int r, int c, std::string text, double value) {
        grid_.cell(r, c) = std::move(text);
        const std::size_t i = index(r, c);
        number_[i] = value;
        known_[i] = 1;
    }

private:
    std::size_t index(int r, int c) const { return static_cast<std::size_t>(r - first_) * cols_ + static_cast<std::size_t>(c); }
    WorkGrid& grid_;
    int first_;
    std::size_t cols_;
    std::vector<double> number_;
    std::vector<char> known_;
};

// A stored value formatted as a calculated one would be.
std::string formatStored(const std::string& text, const NumberPattern& pattern) {
    return text.empty() ? std::string() : formatNumber(readNumber(text), pattern);
}

// The columns one line reads and writes, found once per line.
struct LineColumns {
    int target = -1;
    int carried = -1; // FFFF
    int paidOut = -1; // FFFE
    int heldBack = -1; // FFFD
    std::vector<int> operands;
};

LineColumns columnsOf(const FormulaLine& line, const WorkGrid& grid) {
    LineColumns c;
    c.target = grid.columnOf(line.code);
    for (const std::string& code : line.compiled.codes())
        c.operands.push_back(grid.columnOf(code));
    if (line.code == "F000") {
        c.carried = grid.columnOf("FFFF");
        c.paidOut = grid.columnOf("FFFE");
        c.heldBack = grid.columnOf("FFFD");
    }
    return c;
}

// The per-employee answers for one line over the rows of the pass.
struct LineExceptions {
    bool on = false;
    std::vector<std::optional<std::string>> stored;
    std::vector<char> listed;
};

// Runs one line over row r; i is r's place in the pass. With step, what the
// line did is recorded there.
void runLine(const FormulaLine& line, const LineColumns& cols, std::vector<double>& values, PassCells& cells, int r,
             std::size_t i, int roundOffMode, const LineExceptions& ex, FormulaState& st, TraceStep* step) {
    for (std::size_t k = 0; k < cols.operands.size(); ++k)
        values[k] = cells.number(r, cols.operands[k]);
    line.compiled.evaluate(values.data(), st);
    const bool listed = ex.on && ex.listed[i];
    if (step) {
        for (std::size_t k = 0; k < cols.operands.size(); ++k)
            step->inputs.emplace_back(line.compiled.codes()[k], values[k]);
        step->hasValue = st.FormulaHasValue;
        step->value = st.FormulaValue;
        step->before = cols.target < 0 ? std::string() : cells.grid().cell(r, cols.target);
    }

    if (st.FormulaHasValue && line.code == "F000") {
        const double carried = cells.number(r, cols.carried);
        const NetPay n = netPay(st.FormulaValue, carried, roundOffMode);
        if (cols.heldBack >= 0)
            cells.write(r, cols.heldBack, n.heldBack);
        if (cols.paidOut >= 0)
            cells.write(r, cols.paidOut, n.paidOut);
        st.FormulaValue = listed ? 0 : n.net;
        if (step) {
            step->netPay = true;
            step->carried = carried;
            step->heldBack = n.heldBack;
            step->paidOut = n.paidOut;
            step->net = n.net;
        }
    }
    if (cols.target < 0)
        return;
    using Result = TraceStep::Result;
    Result result = Result::NoValue;
    if (st.FormulaHasValue) {
        if (ex.on && ex.stored[i]) {
            cells.write(r, cols.target, formatStored(*ex.stored[i], line.pattern));
            result = Result::Stored;
        } else if (listed) {
            cells.write(r, cols.target, "0.00", 0);
            result = Result::Listed;
        } else if (std::isfinite(st.FormulaValue)) {
            cells.write(r, cols.target, formatNumber(st.FormulaValue, line.pattern),
                        roundToPattern(st.FormulaValue, line.pattern.decimals));
            result = Result::Assigned;
        } else {
            cells.write(r, cols.target, formatNumber(st.FormulaValue, line.pattern));
            result = Result::Assigned;
        }
    }
    if (trim(cells.grid().cell(r, cols.target)).empty())
        cells.write(r, cols.target, "0.00", 0);
    if (step) {
        step->result = result;
        step->after = cells.grid().cell(r, cols.target);
    }
}

} // namespace

FormulaLine::FormulaLine(std::string c, std::string f, std::string p)
    : code(std::move(c)), formula(std::move(f)), precisionFormat(std::move(p)), pattern(parsePattern(precisionFormat)),
      compiled(formula) {}

std::vector<FormulaLine> loadFormulaLines(Session& s) {
    std::vector<FormulaLine> lines;
    const Recordset rs =
        s.taskConn.query("Select F_Code,F_Formula from " + periodTable(s.taskPrefix(), "Formula") + " order by F_ID");
    lines.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const std::string code = trim(rs.row(i)[0].toString());
        const std::string formula = rs.row(i)[1].toString();
        lines.emplace_back(code, formula, SetPrecisionFormat(s, code));
    }
    return lines;
}

void RecalculateLines(const std::vector<FormulaLine>& lines, WorkGrid& grid, int row, const RecalcSettings& settings,
                      Exceptions* exceptions, Progress* progress, std::vector<TraceStep>* trace) {
    const bool oneRow = row >= kFirstEmployeeRow;
    if (oneRow && row >= grid.rows())
        return;
    const int first = oneRow ? row : kFirstEmployeeRow;
    const int last = oneRow ? row : grid.rows() - 1;
    // FormulaValue only matters where FormulaHasValue says it was just
    // computed, so one state per pass gives what a program-wide one would.
    FormulaState st;
    std::vector<double> values;
    PassCells cells(grid, first, last);
    LineExceptions ex;
    ex.on = settings.exceptions && exceptions;
    if (ex.on) {
        std::vector<std::string> targets;
        for (const FormulaLine& line : lines)
            targets.push_back(line.code);
        exceptions->prefetch(targets);
    }
    for (const FormulaLine& line : lines) {
        st.PrecisionFormat = line.precisionFormat;
        const LineColumns cols = columnsOf(line, grid);
        values.assign(cols.operands.size(), 0.0);
        if (ex.on)
            exceptions->lookUp(grid, first, last, line.code, ex.stored, ex.listed);
        TraceStep* step = nullptr;
        if (trace && oneRow) {
            trace->push_back({});
            step = &trace->back();
            step->line = static_cast<int>(trace->size());
            step->code = line.code;
            step->formula = line.formula;
        }
        for (int r = first; r <= last; ++r)
            runLine(line, cols, values, cells, r, static_cast<std::size_t>(r - first), settings.roundOffMode, ex, st,
                    step);
        if (progress)
            progress->step();
    }
}

void RecalculateGrid(Session& s, WorkGrid& grid, const RecalcSettings& settings, Progress& progress) {
    const std::vector<FormulaLine> lines = loadFormulaLines(s);
    Exceptions exceptions(s);
    progress.begin("  正在准备数据，请稍候...", static_cast<int>(lines.size()));
    struct End {
        Progress& p;
        ~End() { p.end(); }
    } end{progress};
    RecalculateLines(lines, grid, -1, settings, &exceptions, &progress);
}

} // namespace gzgl::calc

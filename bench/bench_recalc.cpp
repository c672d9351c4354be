// Timing of the recalculation over a generated month: 10,000 employees, 60
// items, 40 formula lines (9 of them generated tax lines, the rest
// arithmetic and conditional lines over earlier items), with the
// per-employee exceptions off and on; the whole grid and one row.
#include "calc/recalc.h"
#include "core/connection.h"
#include "core/numtext.h"
#include "items/taxrates.h"
#include "monthly/workgrid_load.h"
#include "bench_timing.h"
#include "entry_fixture.h"
#include "support/payroll_fixture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>

using namespace gzgl;

namespace {

using bench::itemCode;

// The tax page's example table, generated into formula lines with threshold 800.
std::vector<std::string> taxLines() {
    const std::vector<items::TaxRow> rows = {
        {"0", "500", "5", "0"},          {"500", "2000", "10", "25"},     {"2000", "5000", "15", "125"},
        {"5000", "20000", "20", "375"},  {"20000", "40000", "25", "1375"}, {"40000", "60000", "30", "3375"},
        {"60000", "80000", "35", "6375"}, {"80000", "100000", "40", "10375"}, {"100000", "", "45", "15375"},
    };
    return items::taxFormulaTexts("800", rows);
}

struct Month {
    test::PayrollTask t{1};
    calc::WorkGrid grid;
    Month() {
        // Items F004..F056: 27 inputs (F004..F030), 25 calculated, F056 the tax.
        for (int i = 4; i <= 56; ++i)
            t.item(itemCode(i), "项目" + std::to_string(i));
        std::mt19937 rng(42);
        std::uniform_int_distribution<int> cents(0, 300000);
        Connection& db = t.s.taskConn;
        {
            Transaction tx(db);
            for (int e = 0; e < 10000; ++e) {
                char no[8];
                std::snprintf(no, sizeof no, "%05d", e);
                t.employee(no, "职工" + std::to_string(e), "0" + std::to_string(1 + e % 20), e % 7,
                           e % 50 == 0 ? "F033,F040" : "");
                std::string sql = "Update " + t.table("Data") + " Set FFFF=?";
                std::vector<double> v{cents(rng) % 1000 / 100.0};
                for (int i = 4; i <= 30; ++i) {
                    sql += "," + itemCode(i) + "=?";
                    v.push_back(cents(rng) / 100.0);
                }
                if (e % 100 == 0) { // a stored value in a calculated item
                    sql += ",F035=?";
                    v.push_back(123.45);
                }
                Params p(v.begin(), v.end());
                p.emplace_back(std::string(no));
                db.execute(sql + " Where F_EmpNo=?", p);
            }
            // 29 lines over F031..F055, each reading inputs and earlier results.
            for (int l = 0; l < 29; ++l) {
                const int target = 31 + l % 25;
                const std::string a = itemCode(4 + l % 27), b = itemCode(5 + (l * 7) % 26), c = itemCode(l < 5 ? 6 : 31 + l % 5);
                std::string f;
                switch (l % 4) {
                case 0: f = a + "+" + b + "-" + c + "*0.1"; break;
                case 1: f = "{" + a + ">500,(" + a + "-500)*0.2," + b + "}"; break;
                case 2: f = "(" + a + "+" + b + ")*0.05"; break;
                default: f = "{[" + a + ">100]&[" + b + "<2000]," + c + "*0.3,0}"; break;
                }
                t.formula(itemCode(target), f);
            }
            t.formula("F003", "F031+F032+F033+F034+F035+F036+F037+F038");
            for (const std::string& line : taxLines())
                t.formula("F056", line);
            t.formula("F000", "F003-F056-F039");
            tx.commit();
        }
        grid = monthly::loadWorkGrid(t.s, {}, false).grid;
    }
};

Month& month() {
    static std::unique_ptr<Month> m = std::make_unique<Month>();
    return *m;
}

void BM_RecalculateGrid(benchmark::State& state) {
    Month& m = month();
    bench::timeRecalculation(state, m.t.s, m.grid, 1, state.range(0) != 0);
}
BENCHMARK(BM_RecalculateGrid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same pass with the plain text algorithm: substitution into text and
// the text evaluator for every row, cells read from their text each time.
void BM_RecalculateGridTextAlgorithm(benchmark::State& state) {
    Month& m = month();
    const std::vector<calc::FormulaLine> lines = calc::loadFormulaLines(m.t.s);
    for (auto _ : state) {
        state.PauseTiming();
        calc::WorkGrid g = m.grid;
        state.ResumeTiming();
        calc::FormulaState st;
        for (const calc::FormulaLine& line : lines) {
            st.PrecisionFormat = line.precisionFormat;
            const int target = g.columnOf(line.code);
            std::vector<int> cols;
            for (const std::string& c : line.compiled.codes())
                cols.push_back(g.columnOf(c));
            std::vector<double> values(cols.size());
            for (int r = calc::kFirstEmployeeRow; r < g.rows(); ++r) {
                for (std::size_t k = 0; k < cols.size(); ++k)
                    values[k] = cols[k] < 0 || g.cell(r, cols[k]).empty() ? 0 : readNumber(g.cell(r, cols[k]));
                calc::EvaluateFormula(calc::SubstituteValues(line.formula, values.data()), st);
                if (st.FormulaHasValue && target >= 0)
                    g.cell(r, target) = formatNumber(st.FormulaValue, line.precisionFormat);
            }
        }
        benchmark::DoNotOptimize(g);
    }
}
BENCHMARK(BM_RecalculateGridTextAlgorithm)->Unit(benchmark::kMillisecond);

void BM_RecalculateOneRow(benchmark::State& state) {
    Month& m = month();
    const bool exceptions = state.range(0) != 0;
    const std::vector<calc::FormulaLine> lines = calc::loadFormulaLines(m.t.s);
    calc::WorkGrid g = m.grid;
    int r = calc::kFirstEmployeeRow;
    for (auto _ : state) {
        calc::Exceptions one(m.t.s, g.cell(r, 0));
        calc::RecalculateLines(lines, g, r, {1, exceptions}, &one, nullptr);
        r = r + 1 < g.rows() ? r + 1 : calc::kFirstEmployeeRow;
    }
    state.SetLabel(exceptions ? "exceptions on" : "exceptions off");
}
BENCHMARK(BM_RecalculateOneRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

// The entry benchmarks' month (10,000 employees, 60 items, rounding to 1
// yuan) withholding tax cumulatively: the nine bracket lines of the tax item
// replaced by the eight generated cumulative lines, four deduction items,
// and the year's figures so far in every row. Times the whole
// recalculation, and closing the month with the cumulative carry.
#include "calc/recalc.h"
#include "bench_timing.h"
#include "entry_fixture.h"
#include "items/cumulative_tax.h"
#include "monthly/workgrid_load.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

using namespace gzgl;

namespace {

struct CumulativeMonth : bench::EntryMonth {
    calc::WorkGrid grid;
    CumulativeMonth() {
        Session& s = t.s;
        if (!items::setTaxMethod(s, items::kCumulativeMethod).ok ||
            !items::setCumulativeChoice(s, {"F003", {"F004", "F005", "F006", "F007"}, "F056"}).ok ||
            !items::generateAnnualFormulas(s, t.prompt).outcome.ok)
            throw std::runtime_error("cumulative set-up failed: " + t.prompt.last());
        // Five months of the year behind every employee.
        s.taskConn.execute("Update " + t.table("Data") +
                           " Set FFF1=100000+(rowid%997)*50, FFF2=25000, FFF3=4000+(rowid%311)*7");
        grid = monthly::loadWorkGrid(s, {}, false).grid;
    }
};

CumulativeMonth& month() {
    static std::unique_ptr<CumulativeMonth> m = std::make_unique<CumulativeMonth>();
    return *m;
}

void BM_RecalculateCumulative(benchmark::State& state) {
    CumulativeMonth& m = month();
    bench::timeRecalculation(state, m.t.s, m.grid, 3, state.range(0) != 0);
}
BENCHMARK(BM_RecalculateCumulative)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CloseMonthCumulative(benchmark::State& state) { bench::timeCloseMonth(state, month().t); }
BENCHMARK(BM_CloseMonthCumulative)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

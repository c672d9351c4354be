// Timing of the salary entry screen's engine on a month of 10,000
// employees, 60 items and 40 formula lines: the opening sequence over every
// employee (refresh, load, full recalculation) and one accepted cell
// (write-back and the row's recalculation).
#include "entry_fixture.h"
#include "monthly/entry.h"
#include "monthly/refresh.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace gzgl;

namespace {

bench::EntryMonth& month() {
    static std::unique_ptr<bench::EntryMonth> m = std::make_unique<bench::EntryMonth>();
    return *m;
}

void BM_EntryOpenAllEmployees(benchmark::State& state) {
    bench::EntryMonth& m = month();
    SilentProgress progress;
    for (auto _ : state) {
        monthly::SalaryEntry e(m.t.s);
        e.open(progress);
        benchmark::DoNotOptimize(e.grid().employeeCount());
    }
}
BENCHMARK(BM_EntryOpenAllEmployees)->Unit(benchmark::kMillisecond);

void BM_EntryAcceptOneCell(benchmark::State& state) {
    bench::EntryMonth& m = month();
    SilentProgress progress;
    monthly::SalaryEntry e(m.t.s);
    e.open(progress);
    const int c = e.grid().columnOf("F004");
    int r = calc::kFirstEmployeeRow + 5000, n = 0;
    for (auto _ : state) {
        const std::string value = std::to_string(1000 + (n++ % 500));
        benchmark::DoNotOptimize(e.endEdit(r, c, e.grid().cell(r, c), value));
        r = r + 1 < e.grid().rows() ? r + 1 : calc::kFirstEmployeeRow;
    }
}
BENCHMARK(BM_EntryAcceptOneCell)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// The three steps of the opening one by one: 0 the month-data refresh,
// 1 loading the grid, 2 the full recalculation.
void BM_EntryOpenSteps(benchmark::State& state) {
    bench::EntryMonth& m = month();
    const int step = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (step == 0) {
            monthly::RefreshMonthData(m.t.s);
        } else if (step == 1) {
            benchmark::DoNotOptimize(monthly::loadWorkGrid(m.t.s, {}, false));
        } else {
            state.PauseTiming();
            calc::WorkGrid g = monthly::loadWorkGrid(m.t.s, {}, false).grid;
            state.ResumeTiming();
            calc::RecalculateLines(calc::loadFormulaLines(m.t.s), g, -1, {3, false}, nullptr, nullptr);
            benchmark::DoNotOptimize(g);
        }
    }
    state.SetLabel(step == 0 ? "refresh" : step == 1 ? "load" : "recalculate");
}
BENCHMARK(BM_EntryOpenSteps)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

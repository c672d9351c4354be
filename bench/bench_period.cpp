// Month-end over the entry benchmarks' month (10,000 employees, 60 items,
// 40 formula lines, rounding to 1 yuan): closing a month (opening refresh,
// copy of the thirteen tables, recalculation, remainder carry, bookkeeping),
// and restoring it again.
#include "bench_timing.h"
#include "entry_fixture.h"
#include "period/balance.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

using namespace gzgl;

namespace {

bench::EntryMonth& month() {
    static std::unique_ptr<bench::EntryMonth> m = std::make_unique<bench::EntryMonth>();
    return *m;
}

void BM_CloseMonth(benchmark::State& state) { bench::timeCloseMonth(state, month().t); }
BENCHMARK(BM_CloseMonth)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RestoreOneMonth(benchmark::State& state) {
    bench::EntryMonth& m = month();
    SilentProgress progress;
    for (auto _ : state) {
        state.PauseTiming();
        const period::BalanceStart start = period::openBalance(m.t.s);
        if (!period::closeMonth(m.t.s, start.year, start.month, progress).ok)
            throw std::runtime_error("close failed");
        state.ResumeTiming();
        bench::restoreFirstMonth(m.t);
    }
}
BENCHMARK(BM_RestoreOneMonth)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

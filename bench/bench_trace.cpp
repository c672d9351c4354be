// The calculation trace of one employee and the order check of the formula
// lines, over the entry benchmarks' month (10,000 employees, 60 items, 40
// formula lines): the trace as 计算过程 shows it (the row read, the lines
// run with every step recorded, the text), and the check of all 40 lines.
#include "entry_fixture.h"
#include "items/line_order.h"
#include "monthly/trace.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

using namespace gzgl;

namespace {

bench::EntryMonth& month() {
    static std::unique_ptr<bench::EntryMonth> m = std::make_unique<bench::EntryMonth>();
    return *m;
}

void BM_TraceOneEmployee(benchmark::State& state) {
    bench::EntryMonth& m = month();
    int e = 0;
    for (auto _ : state) {
        char no[8];
        std::snprintf(no, sizeof no, "%05d", e);
        const monthly::TraceResult r = monthly::traceEmployee(m.t.s, no);
        if (!r.outcome.ok || r.trace.steps.size() != 40)
            throw std::runtime_error("trace failed");
        benchmark::DoNotOptimize(r.text);
        e = (e + 997) % 10000;
    }
}
BENCHMARK(BM_TraceOneEmployee)->Unit(benchmark::kMillisecond);

void BM_CheckLineOrder(benchmark::State& state) {
    bench::EntryMonth& m = month();
    for (auto _ : state) {
        const std::vector<items::OrderWarning> w = items::checkLineOrder(m.t.s);
        benchmark::DoNotOptimize(w);
    }
}
BENCHMARK(BM_CheckLineOrder)->Unit(benchmark::kMillisecond);

} // namespace

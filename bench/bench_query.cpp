// The salary query over a year of the entry benchmarks' month (10,000
// employees, 60 items, 40 formula lines, rounding to 1 yuan): twelve
// months made by closing the month eleven times, then the query over all
// twelve with two conditions on recalculated items.
#include "entry_fixture.h"
#include "period/balance.h"
#include "period/periods.h"
#include "reports/query.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

using namespace gzgl;

namespace {

bench::EntryMonth& year() {
    static std::unique_ptr<bench::EntryMonth> m = [] {
        auto made = std::make_unique<bench::EntryMonth>();
        SilentProgress progress;
        for (int i = 0; i < 11; ++i) {
            const std::string next = period::nextPeriod(made->t.s.curPeriod);
            if (!period::closeMonth(made->t.s, next.substr(0, 4), next.substr(4), progress).ok)
                throw std::runtime_error("close failed: " + made->t.prompt.last());
        }
        return made;
    }();
    return *m;
}

void BM_QueryTwelveMonthsTwoConditions(benchmark::State& state) {
    bench::EntryMonth& m = year();
    SilentProgress progress;
    std::size_t rows = 0;
    for (auto _ : state) {
        reports::QueryConditions q;
        q.year = "2006";
        q.month = "02";
        q.year1 = "2007";
        q.month1 = "01";
        for (const auto& [item, op, value] :
             {std::tuple{"应发工资", ">", "5000"}, std::tuple{"F056", "<", "3000"}}) {
            const auto added = reports::addQueryCondition(m.t.s, item, op, value, reports::kAnd);
            if (!added.outcome.ok)
                throw std::runtime_error(added.outcome.message);
            q.conditions.push_back(added.condition);
        }
        const reports::QueryRun run = reports::runQuery(m.t.s, q, progress);
        if (!run.outcome.ok)
            throw std::runtime_error(run.outcome.message);
        rows = run.result.rows.size();
        benchmark::DoNotOptimize(run.result.total);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
// Real time: the months are read on this thread while a worker recalculates;
// the CPU time of both is the process's.
BENCHMARK(BM_QueryTwelveMonthsTwoConditions)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

} // namespace

// Backups and task transfer over the entry benchmarks' month (10,000
// employees, 60 items) carried through twelve periods: a monthly backup
// and its restore, the export of the whole task and its import into
// another installation.
#include "bench_timing.h"
#include "entry_fixture.h"
#include "period/backup.h"
#include "period/balance.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

using namespace gzgl;

namespace {

struct TwelveMonths {
    bench::EntryMonth m;
    test::TempHome out;
    std::string package;
    TwelveMonths() {
        SilentProgress progress;
        for (int i = 0; i < 11; ++i) {
            const period::BalanceStart start = period::openBalance(m.t.s);
            if (!period::closeMonth(m.t.s, start.year, start.month, progress).ok)
                throw std::runtime_error("close failed");
        }
        const period::PathResult r = period::exportTask(m.t.s, out.path, "20070101", progress);
        if (!r.outcome.ok)
            throw std::runtime_error(r.outcome.message);
        package = r.written;
    }
    void login() {
        if (!loginByName(m.t.s, m.t.prompt, "工资", "管理员", ""))
            throw std::runtime_error("login failed: " + m.t.prompt.last());
    }
};

TwelveMonths& book() {
    static std::unique_ptr<TwelveMonths> b = std::make_unique<TwelveMonths>();
    return *b;
}

void BM_BackupMonth(benchmark::State& state) {
    TwelveMonths& b = book();
    SilentProgress progress;
    for (auto _ : state) {
        const period::PathResult r = period::backupMonth(b.m.t.s, b.m.t.s.curPeriod, b.out.path, progress);
        if (!r.outcome.ok)
            throw std::runtime_error(r.outcome.message);
        state.PauseTiming();
        period::finishBackup(b.m.t.s);
        b.login();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BackupMonth)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RestoreMonth(benchmark::State& state) {
    TwelveMonths& b = book();
    SilentProgress progress;
    const period::PathResult bak = period::backupMonth(b.m.t.s, b.m.t.s.curPeriod, b.out.path, progress);
    period::finishBackup(b.m.t.s);
    b.login();
    const std::string folder = bak.written.substr(0, bak.written.rfind('/'));
    for (auto _ : state) {
        b.m.t.prompt.answers = {true};
        const period::PathResult r = period::restoreMonth(b.m.t.s, b.m.t.prompt, folder, progress);
        if (!r.outcome.ok)
            throw std::runtime_error(r.outcome.message);
        state.PauseTiming();
        b.login();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RestoreMonth)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExportTask(benchmark::State& state) {
    TwelveMonths& b = book();
    SilentProgress progress;
    for (auto _ : state)
        if (!period::exportTask(b.m.t.s, b.out.path, "20070102", progress).outcome.ok)
            throw std::runtime_error("export failed");
}
BENCHMARK(BM_ExportTask)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportTask(benchmark::State& state) {
    TwelveMonths& b = book();
    SilentProgress progress;
    bench::timeInFreshHome(state, [&](Session& s) {
        const period::ImportResult r = period::importTask(s, b.package, progress);
        if (!r.outcome.ok)
            throw std::runtime_error(r.outcome.message);
    });
}
BENCHMARK(BM_ImportTask)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

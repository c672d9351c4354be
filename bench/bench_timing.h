// Timing loops several benchmarks share: the whole recalculation of a
// grid, closing a month that is restored again untimed, and work on a
// fresh data home.
#pragma once

#include "calc/recalc.h"
#include "period/balance.h"
#include "support/payroll_fixture.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace gzgl::bench {

// Times the whole recalculation of a fresh copy of grid each iteration.
inline void timeRecalculation(benchmark::State& state, Session& s, const calc::WorkGrid& grid, int roundOffMode,
                              bool exceptions) {
    SilentProgress progress;
    for (auto _ : state) {
        state.PauseTiming();
        calc::WorkGrid g = grid;
        state.ResumeTiming();
        calc::RecalculateGrid(s, g, {roundOffMode, exceptions}, progress);
        benchmark::DoNotOptimize(g);
    }
    state.SetLabel(exceptions ? "exceptions on" : "exceptions off");
}

// Goes back to the task's first month (February 2006) after a close.
inline void restoreFirstMonth(test::PayrollTask& t) {
    t.prompt.answers = {true};
    if (!period::restorePeriod(t.s, t.prompt, "2006年02月").ok)
        throw std::runtime_error("restore failed: " + t.prompt.last());
}

// Times closing the open month as the month-end screen proposes it; the
// month is restored, untimed, after each close.
inline void timeCloseMonth(benchmark::State& state, test::PayrollTask& t) {
    SilentProgress progress;
    for (auto _ : state) {
        const period::BalanceStart start = period::openBalance(t.s);
        const Outcome o = period::closeMonth(t.s, start.year, start.month, progress);
        if (!o.ok)
            throw std::runtime_error(o.message);
        state.PauseTiming();
        restoreFirstMonth(t);
        state.ResumeTiming();
    }
}

// Times work(s) on a fresh, empty data home each iteration; the home is
// laid out and removed again untimed.
template <class Work>
void timeInFreshHome(benchmark::State& state, Work work) {
    for (auto _ : state) {
        state.PauseTiming();
        auto home = std::make_unique<test::TempHome>();
        Session s;
        test::openHome(s, home->path);
        state.ResumeTiming();
        work(s);
        state.PauseTiming();
        s = Session{};
        home.reset();
        state.ResumeTiming();
    }
}

} // namespace gzgl::bench

// Timing of the staff roster's engine work on 10,000 employees in 200
// departments: what opening the roster on the root reads (the tree with
// its employee counts and the grid of all employees), and adding one
// employee with its data row.
#include "base/departments.h"
#include "base/employees.h"
#include "roster_fixture.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace gzgl;

namespace {

bench::Roster& roster() {
    static std::unique_ptr<bench::Roster> r = std::make_unique<bench::Roster>();
    return *r;
}

void BM_RosterOpenOnRoot(benchmark::State& state) {
    Session& s = roster().t.s;
    for (auto _ : state) {
        auto tree = base::departmentTree(s);
        auto grid = base::rosterGrid(s, base::RosterMode::AllEmployees, "", true);
        benchmark::DoNotOptimize(tree);
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_RosterOpenOnRoot)->Unit(benchmark::kMillisecond);

void BM_AddEmployee(benchmark::State& state) {
    Session& s = roster().t.s;
    // The roster's codes fill the four-digit mask, so the proposal is
    // computed as the form does but the saved codes are five digits long.
    static int next = 20000;
    for (auto _ : state) {
        base::EmployeeFields f;
        benchmark::DoNotOptimize(base::nextEmployeeCode(s));
        f.empNo = std::to_string(next++);
        f.depNo = "0101";
        f.name = "新职工";
        f.sortNo = std::to_string(base::nextSortNo(s, f.depNo));
        const auto r = base::addEmployee(s, f);
        if (!r.outcome.ok)
            state.SkipWithError(r.outcome.message.c_str());
    }
}
BENCHMARK(BM_AddEmployee)->Unit(benchmark::kMillisecond);

} // namespace

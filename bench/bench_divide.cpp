// Timing of the banknote denomination sheet over every department of a
// month of 10,000 employees, 60 items and 40 formula lines: loading the
// month, the full recalculation and the split of every net pay, summed
// into one row per lowest-level department with the total.
#include "entry_fixture.h"
#include "exchange/divide.h"
#include "monthly/refresh.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace gzgl;

namespace {

// The entry month with its employees' twenty departments defined as
// lowest-level departments.
struct DivideMonth {
    bench::EntryMonth m;
    DivideMonth() {
        Connection& db = m.t.s.taskConn;
        const Recordset deps = db.query("Select Distinct F_DepNo From " + m.t.table("Employee"));
        Transaction tx(db);
        for (std::size_t i = 0; i < deps.size(); ++i)
            db.execute("Insert Into " + m.t.table("Depart") +
                           "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',1,1)",
                       {deps.row(i)[0], "部门" + deps.row(i)[0].toString()});
        tx.commit();
        monthly::RefreshMonthData(m.t.s);
    }
};

DivideMonth& month() {
    static std::unique_ptr<DivideMonth> d = std::make_unique<DivideMonth>();
    return *d;
}

void BM_DivideAllDepartments(benchmark::State& state) {
    DivideMonth& d = month();
    SilentProgress progress;
    for (auto _ : state) {
        const exchange::DivideResult r = exchange::cmdDivide(d.m.t.s, {"", true}, progress);
        if (!r.outcome.ok || r.sheet.dataRows() != 20)
            state.SkipWithError("the sheet lacks its departments");
        benchmark::DoNotOptimize(r.sheet.rows.back().counts);
    }
}
BENCHMARK(BM_DivideAllDepartments)->Unit(benchmark::kMillisecond);

} // namespace

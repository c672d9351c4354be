// Timing of the batch adjustment over 10,000 employees with 20 items and 6
// formula lines: the whole run (load, recalculation, conditions, the write
// in one transaction) for a ratio and for a formula over a calculated item.
#include "core/connection.h"
#include "monthly/batch.h"
#include "entry_fixture.h"
#include "support/payroll_fixture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace gzgl;

namespace {

using bench::itemCode;

struct BatchMonth {
    test::PayrollTask t;
    BatchMonth() {
        for (int i = 4; i <= 23; ++i)
            t.item(itemCode(i), "项目" + std::to_string(i));
        Connection& db = t.s.taskConn;
        Transaction tx(db);
        for (int d = 1; d <= 20; ++d)
            db.execute("Insert Into " + t.table("Depart") +
                           "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) "
                           "Values(?,?,'01',1,1)",
                       {zero(d), "部门" + std::to_string(d)});
        for (int e = 0; e < 10000; ++e) {
            char no[8];
            std::snprintf(no, sizeof no, "%05d", e);
            t.employee(no, "职工" + std::to_string(e), zero(1 + e % 20), e % 7);
            db.execute("Update " + t.table("Data") + " Set F003=?,F004=?,F005=?,F006=? Where F_EmpNo=?",
                       {1000.0 + e % 5000, 100.0 + e % 300, 50.0 + e % 70, 10.0 * (e % 9), std::string(no)});
        }
        for (int l = 0; l < 6; ++l)
            t.formula(itemCode(18 + l), itemCode(4 + l) + "+" + itemCode(5 + l) + "*0.5");
        tx.commit();
    }
    static std::string zero(int d) { return (d < 10 ? "0" : "") + std::to_string(d); }
};

BatchMonth& month() {
    static auto m = std::make_unique<BatchMonth>();
    return *m;
}

void run(benchmark::State& state, const monthly::BatchRequest& r) {
    BatchMonth& m = month();
    SilentProgress progress;
    for (auto _ : state) {
        const monthly::BatchResult res = monthly::runBatch(m.t.s, r, progress);
        if (!res.outcome.ok)
            state.SkipWithError(res.outcome.message.c_str());
        benchmark::DoNotOptimize(res.changed.size());
    }
}

void BM_BatchRatioAllEmployees(benchmark::State& state) {
    monthly::BatchRequest r;
    r.item = "F010";
    r.way = 1;
    r.input = "1"; // every row is written, the values stay
    run(state, r);
}
BENCHMARK(BM_BatchRatioAllEmployees)->Unit(benchmark::kMillisecond);

void BM_BatchFormulaWithCondition(benchmark::State& state) {
    monthly::BatchRequest r;
    r.item = "F011";
    r.way = 2;
    r.input = "{F018>200,F018*0.1,0}";
    r.conditions = {{"F003", "", ">", "2000", monthly::kAnd}};
    run(state, r);
}
BENCHMARK(BM_BatchFormulaWithCondition)->Unit(benchmark::kMillisecond);

} // namespace

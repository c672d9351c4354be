// The standard reports over the entry benchmarks' month (10,000 employees,
// 60 items, 40 formula lines) carried forward into twelve months, with
// the employees spread over 20 departments of two levels: the department
// summary of one month, and the pay sheet over all twelve months.
#include "entry_fixture.h"
#include "period/balance.h"
#include "reports/standard.h"
#include "reports/standard_jobs.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

using namespace gzgl;

namespace {

struct TwelveMonths {
    bench::EntryMonth m;
    TwelveMonths() {
        Session& s = m.t.s;
        s.sysConn.execute("Update GZSysInfo set F_BMJB='22000' where F_ID=?", {s.curTaskID});
        {
            Transaction tx(s.taskConn);
            const std::string depart = m.t.table("Depart");
            for (int top = 1; top <= 4; ++top) {
                char code[8];
                std::snprintf(code, sizeof code, "%02d", top);
                s.taskConn.execute("Insert Into " + depart +
                                       "(F_DepNo,F_DepName,F_DepClass,F_End) Values(?,?,1,0)",
                                   {code, "部门" + std::to_string(top)});
            }
            // The fixture's departments "01".."020" become 0101..0405.
            for (int k = 1; k <= 20; ++k) {
                char code[8];
                std::snprintf(code, sizeof code, "%02d%02d", 1 + (k - 1) / 5, 1 + (k - 1) % 5);
                s.taskConn.execute("Insert Into " + depart +
                                       "(F_DepNo,F_DepName,F_DepClass,F_End) Values(?,?,2,1)",
                                   {code, "科室" + std::to_string(k)});
                s.taskConn.execute("Update " + m.t.table("Employee") + " Set F_DepNo=? Where F_DepNo=?",
                                   {code, "0" + std::to_string(k)});
            }
            tx.commit();
        }
        SilentProgress progress;
        for (int month = 3; month <= 13; ++month) {
            const std::string year = month <= 12 ? "2006" : "2007";
            const std::string mm = std::to_string(month <= 12 ? month : month - 12);
            if (!period::closeMonth(s, year, mm, progress).ok)
                throw std::runtime_error("close failed: " + m.t.prompt.last());
        }
    }
};

TwelveMonths& months() {
    static std::unique_ptr<TwelveMonths> m = std::make_unique<TwelveMonths>();
    return *m;
}

reports::BuiltReport build(int type, const std::string& from, const std::string& to) {
    TwelveMonths& m = months();
    reports::ReportRequest rq;
    rq.type = type;
    rq.year = from.substr(0, 4);
    rq.month = from.substr(4);
    rq.year1 = to.substr(0, 4);
    rq.month1 = to.substr(4);
    SilentProgress progress;
    reports::BuiltReport r = reports::buildReport(m.m.t.s, rq, progress);
    if (!r.outcome.ok)
        throw std::runtime_error(r.outcome.message);
    return r;
}

void BM_DepartmentSummaryOneMonth(benchmark::State& state) {
    months();
    for (auto _ : state) {
        const reports::BuiltReport r = build(reports::kDepartmentSummary, "200701", "200701");
        benchmark::DoNotOptimize(r.grid.rows.size());
    }
}
BENCHMARK(BM_DepartmentSummaryOneMonth)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PaySheetTwelveMonths(benchmark::State& state) {
    months();
    for (auto _ : state) {
        const reports::BuiltReport r = build(reports::kPaySheet, "200602", "200701");
        benchmark::DoNotOptimize(r.grid.rows.size());
    }
}
// Two months are read at once: the CPU column counts both threads.
BENCHMARK(BM_PaySheetTwelveMonths)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime()->UseRealTime();

// The pay sheet's cells written out for the print engine.
void BM_PaySheetPrintGrid(benchmark::State& state) {
    const reports::BuiltReport r = build(reports::kPaySheet, "200701", "200701");
    for (auto _ : state) {
        const print::PrintGrid g = reports::reportPrintGrid(r.grid);
        benchmark::DoNotOptimize(g.cells.size());
    }
}
BENCHMARK(BM_PaySheetPrintGrid)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

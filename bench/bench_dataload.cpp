// The data-load file over the entry benchmarks' month (10,000 employees,
// 60 items, 40 formula lines): writing it from the recalculated month, and
// loading a file of 10,000 employees and 60 items into a fresh data home,
// where the task, its 20 departments and 53 items are created.
#include "bench_timing.h"
#include "entry_fixture.h"
#include "exchange/dataload.h"
#include "core/gbk.h"
#include "exchange/textfile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <stdexcept>

using namespace gzgl;

namespace {

bench::EntryMonth& month() {
    static std::unique_ptr<bench::EntryMonth> m = std::make_unique<bench::EntryMonth>();
    return *m;
}

void BM_DataLoadExport(benchmark::State& state) {
    bench::EntryMonth& m = month();
    test::TempHome out;
    SilentProgress progress;
    const std::string path = out.path + "/month.txt";
    for (auto _ : state) {
        m.t.prompt.answers = {true};
        const Outcome o = exchange::exportDataFile(m.t.s, path, m.t.prompt, progress);
        if (!o.ok)
            throw std::runtime_error(o.message);
    }
}
BENCHMARK(BM_DataLoadExport)->Unit(benchmark::kMillisecond)->Iterations(5);

// A file as another installation writes it: 20 departments, the four
// fixed items and 56 others, amounts in cents, some "*".
std::string loadFile() {
    std::string text = "KS770_GZGL\r\n月薪,管理员,200602\r\n*Dep*\r\n";
    for (int d = 1; d <= 20; ++d) {
        char line[32];
        std::snprintf(line, sizeof line, "%02d   部门%d\r\n", d, d);
        text += line;
    }
    text += "*Item*\r\n实发工资,上月扣零,本月补发,本月扣零";
    for (int i = 1; i <= 56; ++i)
        text += ",项目" + std::to_string(i);
    text += "\r\n*Data*\r\n";
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> cents(0, 500000);
    for (int e = 0; e < 10000; ++e) {
        char head[64];
        std::snprintf(head, sizeof head, "%02d,%05d,男,职工%d", 1 + e % 20, e, e);
        text += head;
        for (int i = 0; i < 60; ++i) {
            const int c = cents(rng);
            char v[32];
            if (c % 13 == 0)
                std::snprintf(v, sizeof v, ",*");
            else
                std::snprintf(v, sizeof v, ",%d.%02d", c / 100, c % 100);
            text += v;
        }
        text += "\r\n";
    }
    return toGbk(text);
}

void BM_DataLoadIntoFreshHome(benchmark::State& state) {
    test::TempHome files;
    const std::string path = files.path + "/load.txt";
    exchange::writeFileReplacing(path, loadFile());
    SilentProgress progress;
    bench::timeInFreshHome(state, [&](Session& s) {
        const exchange::DataLoadResult r = exchange::loadDataFile(s, path, "pw", progress);
        if (!r.outcome.ok || r.employeesAdded != 10000)
            throw std::runtime_error(r.outcome.message);
    });
}
BENCHMARK(BM_DataLoadIntoFreshHome)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

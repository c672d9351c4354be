// Timing of screens as the user meets them, on the offscreen platform:
// opening the staff roster on the root with 10,000 employees in 200
// departments (tree built, grid of all employees filled and laid out).
#include "roster_fixture.h"
#include "screens/base/frmManage.h"
#include "support/test_support.h"

#include <QApplication>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace gzgl;

namespace {

bench::Roster& roster() {
    static std::unique_ptr<bench::Roster> r = std::make_unique<bench::Roster>();
    return *r;
}

void BM_frmManageOpenOnRoot(benchmark::State& state) {
    bench::Roster& r = roster();
    for (auto _ : state) {
        frmManage screen(r.t.s, r.t.prompt);
        screen.resize(980, 560);
        screen.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(screen.grid()->model()->rowCount());
    }
}
BENCHMARK(BM_frmManageOpenOnRoot)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

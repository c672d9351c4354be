// Timing of the salary entry screen as the user meets it, on the offscreen
// platform, over a month of 10,000 employees, 60 items and 40 formula
// lines: opening frmSalary on every employee (refresh, load, full
// recalculation, grid filled and laid out), and accepting one edited cell
// through the edit box (write-back, one-row recalculation, repaint).
#include "entry_fixture.h"
#include "screens/monthly/EntryGridModel.h"
#include "screens/monthly/frmSalary.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>

using namespace gzgl;

namespace {

bench::EntryMonth& month() {
    static std::unique_ptr<bench::EntryMonth> m = std::make_unique<bench::EntryMonth>();
    return *m;
}

void BM_frmSalaryOpenAllEmployees(benchmark::State& state) {
    bench::EntryMonth& m = month();
    for (auto _ : state) {
        frmSalary screen(m.t.s, m.t.prompt);
        screen.resize(980, 560);
        screen.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(screen.grid()->model()->rowCount());
    }
}
BENCHMARK(BM_frmSalaryOpenAllEmployees)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_frmSalaryAcceptOneCell(benchmark::State& state) {
    bench::EntryMonth& m = month();
    frmSalary screen(m.t.s, m.t.prompt);
    screen.resize(980, 560);
    screen.show();
    QApplication::processEvents();
    const int c = screen.entry().grid().columnOf("F004");
    const QModelIndex cell = screen.model()->index(0, c);
    screen.grid()->setCurrentIndex(cell);
    int n = 0;
    for (auto _ : state) {
        screen.openEdit(cell, QString::number(1000 + n++ % 500), false);
        screen.finishEdit();
        // The view repaints the changed row as the event loop runs.
        QApplication::processEvents();
    }
}
BENCHMARK(BM_frmSalaryAcceptOneCell)->Unit(benchmark::kMillisecond);

} // namespace

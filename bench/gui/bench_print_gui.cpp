// Timing of the entry grid's print preview over 10,000 employees and 60
// items: the job built from the recalculated grid, paginated, and every
// page drawn (as the preview draws them all before it shows), on the
// offscreen platform. The pagination alone is timed beside it.
#include "calc/recalc.h"
#include "core/startup.h"
#include "entry_fixture.h"
#include "monthly/workgrid_load.h"
#include "print/render/render.h"
#include "print/screen_jobs.h"
#include "screens/print/PrintDialogs.h"

#include <QPainter>
#include <QPicture>

#include <benchmark/benchmark.h>

#include <memory>

using namespace gzgl;

namespace {

struct PrintMonth {
    bench::EntryMonth month;
    monthly::LoadedGrid loaded;
    PrintMonth() {
        loaded = monthly::loadWorkGrid(month.t.s, {}, true);
        SilentProgress progress;
        calc::RecalculateGrid(month.t.s, loaded.grid, {month.t.s.roundOffMode, false}, progress);
    }
};

PrintMonth& printMonth() {
    static std::unique_ptr<PrintMonth> m = std::make_unique<PrintMonth>();
    return *m;
}

void BM_EntryGridPagination(benchmark::State& state) {
    PrintMonth& m = printMonth();
    for (auto _ : state) {
        print::clsGridPrint job = print::entryGridJob(m.month.t.s, m.loaded.grid, m.loaded.columns, "全体部门");
        benchmark::DoNotOptimize(job.paginate().pageCount());
    }
}
BENCHMARK(BM_EntryGridPagination)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EntryGridPreviewAllPages(benchmark::State& state) {
    PrintMonth& m = printMonth();
    for (auto _ : state) {
        print::clsGridPrint job = print::entryGridJob(m.month.t.s, m.loaded.grid, m.loaded.columns, "全体部门");
        const print::PageModel model = job.paginate();
        double bytes = 0, texts = 0;
        for (int i = 0; i < model.pageCount(); ++i) {
            QPicture page;
            QPainter painter(&page);
            print::renderPage(painter, model, i);
            painter.end();
            bytes += page.size();
            texts += model.pages[i].texts.size();
        }
        state.counters["bytes"] = bytes / model.pageCount();
        state.counters["texts"] = texts / model.pageCount();
        state.counters["pages"] = model.pageCount();
    }
}
BENCHMARK(BM_EntryGridPreviewAllPages)->Unit(benchmark::kMillisecond)->Iterations(3);

// The preview window as the user waits for it: the job built and laid
// out, every page drawn by the print preview, the window shown.
void BM_EntryGridPreviewWindowReady(benchmark::State& state) {
    PrintMonth& m = printMonth();
    for (auto _ : state) {
        print::clsGridPrint job = print::entryGridJob(m.month.t.s, m.loaded.grid, m.loaded.columns, "全体部门");
        PreviewWindow window(job, nullptr);
        window.show();
        window.close();
    }
}
BENCHMARK(BM_EntryGridPreviewWindowReady)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

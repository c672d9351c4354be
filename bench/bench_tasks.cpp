// Timing of creating a task (database file, thirteen tables, built-in items
// and brackets) and of logging in to one.
#include "core/login.h"
#include "core/tasks.h"
#include "support/test_support.h"

#include <benchmark/benchmark.h>

using namespace gzgl;

static void BM_CreateTask(benchmark::State& state) {
    test::TempHome home;
    Session s;
    test::openHome(s, home.path);
    int n = 0;
    for (auto _ : state) {
        NewTaskFields f;
        f.name = "任务" + std::to_string(n++);
        f.year = "2026";
        f.month = "12";
        f.codeLength = "5";
        const AddTaskResult r = addTask(s, f);
        if (!r.outcome.ok)
            state.SkipWithError(r.outcome.message.c_str());
        state.PauseTiming();
        closeTask(s);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateTask)->Unit(benchmark::kMillisecond);

static void BM_Login(benchmark::State& state) {
    test::TempHome home;
    Session s;
    test::openHome(s, home.path);
    test::makeTask(s, "考勤工资", "张三", "secret");
    test::RecordingPrompt p;
    for (auto _ : state) {
        if (!loginByName(s, p, "考勤工资", "张三", "secret"))
            state.SkipWithError("login failed");
        state.PauseTiming();
        closeTask(s);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Login)->Unit(benchmark::kMillisecond);


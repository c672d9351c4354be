// The one main of the benchmark program; each bench_*.cpp registers its cases.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();

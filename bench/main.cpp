// The one entry point of zuk-bench; each bench/*.cpp registers its own benchmarks.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();

// Nanoseconds per hook decision: scripts/bench-engine.sh runs this.
#include <benchmark/benchmark.h>

#include "bench_cases.h"

namespace {

void BM_Decide(benchmark::State& run, int which) {
    const bench::Msg original = bench::messageFor(which);
    bench::prepare(which, g_benchState, g_benchKeys);
    for (auto _ : run) {
        bench::Msg msg = original;
        benchmark::DoNotOptimize(vyrtel_bench_hook(0, 1, reinterpret_cast<std::intptr_t>(&msg)));
        benchmark::DoNotOptimize(msg.wParam);
    }
}

BENCHMARK_CAPTURE(BM_Decide, a_other_message, bench::kOtherMessage);
BENCHMARK_CAPTURE(BM_Decide, b_first_entry, bench::kFirstEntry);
BENCHMARK_CAPTURE(BM_Decide, c_last_entry, bench::kLastEntry);
BENCHMARK_CAPTURE(BM_Decide, d_absent, bench::kAbsent);
BENCHMARK_CAPTURE(BM_Decide, e_space_wrong, bench::kSpaceWrongWord);
BENCHMARK_CAPTURE(BM_Decide, f_space_right, bench::kSpaceRightWord);

}  // namespace

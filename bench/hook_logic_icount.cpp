// Calls the hook decision of one case N times. Run under
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect=vyrtel_bench_hook
// the collected instruction count divided by N is the cost of one call
// (scripts/bench-engine.sh does this for every case).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench_cases.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CASE(0-5) CALLS\n", argv[0]);
        return 2;
    }
    const int which = std::atoi(argv[1]);
    const long calls = std::atol(argv[2]);
    const bench::Msg original = bench::messageFor(which);
    bench::prepare(which, g_benchState, g_benchKeys);
    unsigned checksum = 0;
    for (long i = 0; i < calls; ++i) {
        bench::Msg msg = original;
        vyrtel_bench_hook(0, 1, reinterpret_cast<std::intptr_t>(&msg));
        checksum += msg.wParam;
    }
    std::printf("%s %u\n", bench::caseName(which), checksum);
    return 0;
}

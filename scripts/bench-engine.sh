#!/usr/bin/env bash
# Measures the hook decision natively: nanoseconds per call with Google
# Benchmark, then instructions per call counted by callgrind.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target hook_logic_bench hook_logic_icount -j "$(nproc)"

"$build/bench/hook_logic_bench" --benchmark_min_time=0.2

calls=100000
echo
echo "Instructions per call (callgrind, $calls calls each):"
for which in 0 1 2 3 4 5; do
  out=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null --collect-atstart=no \
          --toggle-collect=vyrtel_bench_hook "$build/bench/hook_logic_icount" "$which" "$calls" 2>&1)
  name=$(echo "$out" | grep -E '^[a-z]_' | awk '{print $1}')
  total=$(echo "$out" | sed -n 's/.*Collected : \([0-9]*\).*/\1/p')
  awk -v n="$name" -v t="$total" -v c="$calls" 'BEGIN { printf "  %-16s %6.1f\n", n, t / c }'
done

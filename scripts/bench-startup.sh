#!/usr/bin/env bash
# Measures how long Vyrtel.exe takes from its start to its window on screen
# under 32-bit Wine on a virtual display.
# Argument (optional): the number of starts (default 10).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target win32 -j "$(nproc)" >/dev/null
tests/wine/make_template_prefix.sh "$PWD/$build/wine-template"
VYRTEL_WIN32_DIR="$PWD/$build/win32" VYRTEL_WINE_TEMPLATE="$PWD/$build/wine-template" \
  python3 bench/wine/run_startup_bench.py "$@"

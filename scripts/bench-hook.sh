#!/usr/bin/env bash
# Measures what the installed hook costs the processes it lives in: messages
# per second through a PeekMessage loop under 32-bit Wine with no hook, with
# a do-nothing global hook, and with Tavrilex.dll translating.
# Argument (optional): the number of rounds (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target win32 -j "$(nproc)" >/dev/null
tests/wine/make_template_prefix.sh "$PWD/$build/wine-template"
VYRTEL_WIN32_DIR="$PWD/$build/win32" VYRTEL_WINE_TEMPLATE="$PWD/$build/wine-template" \
  python3 bench/wine/run_hook_bench.py "$@"

#!/usr/bin/env bash
# Runs a Python program that drives the Win32 binaries under Wine (a
# benchmark of bench/wine/, say) with the environment the Wine tests get:
# installs what is missing, builds the Win32 tree, prepares the template
# prefix, then runs `python3 SCRIPT ARGS...`.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target win32 -j "$(nproc)" >/dev/null
tests/wine/make_template_prefix.sh "$PWD/$build/wine-template"
VYRTEL_WIN32_DIR="$PWD/$build/win32" VYRTEL_WINE_TEMPLATE="$PWD/$build/wine-template" \
  VYRTEL_ARTIFACTS="$PWD/$build/artifacts" exec python3 "$@"

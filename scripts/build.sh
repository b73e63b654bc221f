#!/usr/bin/env bash
# Installs what is missing, then builds both trees: the native one (logic,
# tests, benchmarks) and, inside it, the Win32 one (build/win32).
# BUILD_DIR chooses the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"

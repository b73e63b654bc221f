#!/usr/bin/env bash
# Builds everything and runs every test: the native GoogleTest suites and
# the tests that run the Win32 binaries under 32-bit Wine on virtual displays.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
build=${BUILD_DIR:-build}
ctest --test-dir "$build" --output-on-failure -j 2 "$@"

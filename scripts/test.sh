#!/usr/bin/env bash
# Builds everything and runs every test: the native GoogleTest suites, the
# checks of both Windows builds' files, and the Wine tests of each Windows
# build this host can execute (both on an ordinary x86-64 Linux; the x86-64
# one alone where the kernel runs no i386 code or the 32-bit Wine could not
# be installed, which one line says). Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
build=${BUILD_DIR:-build}
if ! why_not=$(BUILD_DIR=$build scripts/wine32-runs.sh); then
  echo "i386 build: not run under Wine here, because $why_not; its files are checked, and the same Wine tests run against the x86-64 build."
fi
ctest --test-dir "$build" --output-on-failure -j 2 "$@"

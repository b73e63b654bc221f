#!/usr/bin/env bash
# Builds everything and the two Windows packages, vyrtel-<version>-win32.zip
# (i386) and vyrtel-<version>-win64.zip (x86-64): each a zip with Vyrtel.exe,
# Tavrilex.dll, BWCC32.DLL, README.TXT and the two layout diagrams.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >/dev/null
build=${BUILD_DIR:-build}
ls "$build"/vyrtel-*-win32.zip "$build"/vyrtel-*-win64.zip

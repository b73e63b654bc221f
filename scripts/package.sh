#!/usr/bin/env bash
# Builds everything and the Windows package: a zip with Vyrtel.exe,
# Tavrilex.dll, BWCC32.DLL, README.TXT and the two layout diagrams.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >/dev/null
build=${BUILD_DIR:-build}
ls "$build"/vyrtel-*-win32.zip

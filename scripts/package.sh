#!/usr/bin/env bash
# Builds everything and the Windows packages, for each build (win32: i386,
# win64: x86-64):
#   vyrtel-<version>-<arch>.msi  the per-user installer (packaging/vyrtel.wxs)
#   vyrtel-<version>-<arch>.zip  the same files to unpack by hand
# Each holds Vyrtel.exe, Tavrilex.dll, BWCC32.DLL, README.TXT and the two
# layout diagrams. Prints the four paths.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >/dev/null
build=${BUILD_DIR:-build}
ls "$build"/vyrtel-*-win32.msi "$build"/vyrtel-*-win64.msi "$build"/vyrtel-*-win32.zip "$build"/vyrtel-*-win64.zip

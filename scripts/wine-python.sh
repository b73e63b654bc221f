#!/usr/bin/env bash
# Runs a Python program that drives one Windows build under Wine
# (scripts/run_vyrtel.py, a benchmark of bench/wine/) with the environment
# the Wine tests get: installs what is missing, builds that Windows build,
# prepares its template prefix, then runs `python3 SCRIPT ARGS...`.
#
# The build: VYRTEL_WINDOWS_ARCH=win32 or win64 chooses; by default the
# i386 one where this host executes i386 code under the 32-bit Wine, the
# x86-64 one elsewhere.
# One line on standard error says which, and why.
# BUILD_DIR chooses the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${VYRTEL_SETUP_DONE:-}" = 1 ] || ./scripts/setup.sh
mkdir -p "${BUILD_DIR:-build}"
build=$(cd "${BUILD_DIR:-build}" && pwd)
runs32() { BUILD_DIR=$build scripts/wine32-runs.sh; }

if [ -n "${VYRTEL_WINDOWS_ARCH:-}" ]; then
  arch=$VYRTEL_WINDOWS_ARCH
  reason="chosen by VYRTEL_WINDOWS_ARCH"
elif why_not=$(runs32); then
  arch=win32
  reason="this host executes i386 code under the 32-bit Wine"
else
  arch=win64
  reason=$why_not
fi
case $arch in
  win32) loader=/usr/lib/wine/wine bits=32 ;;
  win64) loader=/usr/lib/wine/wine64 bits=64 ;;
  *) echo "VYRTEL_WINDOWS_ARCH must be win32 or win64, not '$arch'." >&2; exit 2 ;;
esac
if [ "$arch" = win32 ] && ! why_not=$(runs32); then
  echo "The 32-bit build cannot run here: $why_not. Use VYRTEL_WINDOWS_ARCH=win64." >&2
  exit 1
fi
echo "Using the $bits-bit build ($arch): $reason." >&2

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target "$arch" -j "$(nproc)" >/dev/null
tests/wine/make_template_prefix.sh "$build/wine-template-$arch" "$arch" "$loader"
export VYRTEL_WINDOWS_ARCH=$arch VYRTEL_WINDOWS_DIR=$build/$arch VYRTEL_WINE_LOADER=$loader \
  VYRTEL_WINE_TEMPLATE=$build/wine-template-$arch VYRTEL_ARTIFACTS=$build/artifacts/$arch
exec python3 "$@"

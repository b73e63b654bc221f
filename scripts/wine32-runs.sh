#!/usr/bin/env bash
# Tells whether the i386 build's Wine tests can run here: this host executes
# i386 code (scripts/host-runs-i386.sh) and the 32-bit Wine loader starts.
# Exit 0: they can. Exit 1: they cannot, and one line on standard output
# says why: a host without i386, or a 32-bit Wine that is not there (with
# scripts/setup.sh's reason when it tried and failed).
# BUILD_DIR chooses the build folder, where setup keeps its reason.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
loader=/usr/lib/wine/wine
note=${BUILD_DIR:-build}/i386-wine-not-installed.txt

why_not=$(scripts/host-runs-i386.sh) || { echo "$why_not"; exit 1; }
error=$("$loader" --version 2>&1 >/dev/null) && exit 0
if [ -s "$note" ]; then
  cat "$note"
elif [ ! -e "$loader" ]; then
  echo "the 32-bit Wine (wine32:i386) is not installed"
else
  echo "the 32-bit Wine loader does not start ($(head -n 1 <<<"$error"))"
fi
exit 1

#!/usr/bin/env bash
# The probe that decides which Windows builds run under Wine here agrees
# with what the host really does: it says yes exactly when the 32-bit Wine
# loader starts, and a no comes with one plain line saying why.
set -uo pipefail
probe=$1
loader=${2:-/usr/lib/wine/wine}

answer=$("$probe"); says=$?
lines=$(printf '%s' "$answer" | grep -c '')
"$loader" --version >/dev/null 2>&1; loader_runs=$?

fail() { echo "FAIL: $*"; exit 1; }
if [ ! -e "$loader" ] && [ "$says" -eq 0 ]; then
  echo "SKIP: the 32-bit Wine loader $loader is not installed, so there is nothing to hold the probe's yes against"
  exit 77
fi
if [ "$loader_runs" -eq 0 ]; then
  [ "$says" -eq 0 ] || fail "the 32-bit Wine loader runs, yet the probe says no: $answer"
  [ -z "$answer" ] || fail "a yes prints nothing, not: $answer"
  echo "this host runs i386 code, and the probe says so"
else
  [ "$says" -eq 1 ] || fail "the 32-bit Wine loader does not run, yet the probe says $says"
  [ "$lines" -eq 1 ] || fail "a no is one line, not $lines: $answer"
  case $answer in *i386*) ;; *) fail "the reason names what cannot run: $answer" ;; esac
  echo "this host runs no i386 code, and the probe says so: $answer"
fi

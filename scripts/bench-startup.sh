#!/usr/bin/env bash
# Measures how long Vyrtel.exe takes from its start to its window on screen
# under Wine on a virtual display, against its floor: a minimal Win32
# program that registers a class and shows one window, started in turn with
# it. Reports both and Vyrtel's time as a ratio to the floor's.
# Argument (optional): the number of starts of each (default 10). The build:
# as scripts/wine-python.sh chooses (VYRTEL_WINDOWS_ARCH=win32|win64).
exec "$(dirname "$0")/wine-python.sh" bench/wine/run_startup_bench.py "$@"

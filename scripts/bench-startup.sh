#!/usr/bin/env bash
# Measures how long Vyrtel.exe takes from its start to its window on screen
# under 32-bit Wine on a virtual display.
# Argument (optional): the number of starts (default 10).
exec "$(dirname "$0")/wine-python.sh" bench/wine/run_startup_bench.py "$@"

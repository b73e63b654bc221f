#!/usr/bin/env bash
# Measures what the installed hook costs the processes it lives in: messages
# per second through a PeekMessage loop under 32-bit Wine with no hook, with
# a do-nothing global hook, and with Tavrilex.dll translating.
# Argument (optional): the number of rounds (default 60).
exec "$(dirname "$0")/wine-python.sh" bench/wine/run_hook_bench.py "$@"

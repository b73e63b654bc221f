#!/usr/bin/env bash
# Measures what the installed hook costs the processes it lives in: messages
# per second through a PeekMessage loop under Wine with no hook, with a
# do-nothing global hook, and with Tavrilex.dll translating; and what one
# key-state read costs.
# Argument (optional): the number of rounds (default 60). The build: as
# scripts/wine-python.sh chooses (VYRTEL_WINDOWS_ARCH=win32|win64); the
# output names it.
exec "$(dirname "$0")/wine-python.sh" bench/wine/run_hook_bench.py "$@"

"""Times Vyrtel.exe from its start to its window on screen, under Wine
on a virtual display, over a number of starts (argument, default 10). Each
start is measured from the moment `wine Vyrtel.exe` is launched until X
shows a visible window titled "Vyrtel"; the program is then closed with Esc
and must end with exit code 0. Wine's own processes stay up between starts
(as on a desktop that has run a program before); the first start, which
also starts them, is reported apart."""

import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "wine"))
from winetest import WineSession, wait_until  # noqa: E402


def one_start(wine):
    began = time.monotonic()
    proc = wine.start("Vyrtel.exe")
    window = wait_until(lambda: (wine.find_windows("^Vyrtel$") or [None])[0], 60, interval=0.01,
                        what="Vyrtel's window")
    shown = time.monotonic() - began
    wine.focus(window)
    wine.key("Escape")
    code = proc.wait(timeout=60)
    if code != 0:
        raise SystemExit(f"Vyrtel.exe ended with {code}")
    return shown


def main(starts):
    with WineSession() as wine:
        wine.install("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL")
        first = one_start(wine)
        times = [one_start(wine) for _ in range(starts)]
    print(f"first start (Wine's services already up): {first * 1000:.0f} ms")
    print(f"next {starts} starts: median {statistics.median(times) * 1000:.0f} ms, "
          f"min {min(times) * 1000:.0f} ms, max {max(times) * 1000:.0f} ms")


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 10)

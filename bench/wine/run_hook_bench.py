"""Runs hook_throughput.exe in a private Wine session and summarises it:
messages per second with no hook (a), with the do-nothing hook (b) and with
Tavrilex.dll translating (c), and the ratios (c)/(b) and (c)/(a); and what
one key-state read costs, in a plain loop without hooks.

Usage: run_hook_bench.py [rounds]
Environment as for the Wine tests (scripts/wine-python.sh sets it).
"""

import os
import statistics
import sys
from collections import defaultdict

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "wine"))
from winetest import ARCH, WINE, WineSession  # noqa: E402


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 60
    with WineSession() as wine:
        wine.install("Tavrilex.dll", "NullHook.dll", "hook_throughput.exe")
        code, out, err = wine.run("hook_throughput.exe", rounds, timeout=3600)
    if code != 0:
        sys.exit(f"hook_throughput.exe failed ({code}):\n{out}\n{err}")

    times = defaultdict(dict)  # (stream, mode) -> {round: seconds per message}
    calls = defaultdict(list)  # key-state read -> [seconds per call, one per round]
    for line in out.splitlines():
        round_, stream, mode, count, seconds = line.split()
        if stream == "keystate":
            calls[mode].append(float(seconds) / int(count))
        else:
            times[stream, mode][int(round_)] = float(seconds) / int(count)

    print(f"Build under test: {ARCH} (Wine loader {WINE}).")
    print(f"Messages per second through PeekMessageW under Wine: {rounds} rounds, each measuring one "
          f"batch of 1000 posted messages per stream and mode, the modes in rotating order.")
    print("Rates: median over the rounds [slowest .. fastest round]. Ratios: median of the "
          "per-round ratios [quartiles], each round measuring a, b and c within moments.")
    for stream, what in (("other", "messages the hook passes at once"),
                         ("char", "WM_CHAR, each one translated")):
        print(f"\n  {stream}: {what}")
        for mode, name in (("a", "no hook"), ("b", "do-nothing hook"), ("c", "Tavrilex.dll")):
            rates = [1 / t for t in times[stream, mode].values()]
            print(f"    ({mode}) {name:16} {statistics.median(rates):8.0f} /s  [{min(rates):.0f} .. {max(rates):.0f}]")
        for num, den in (("c", "b"), ("c", "a")):
            ratios = sorted(times[stream, den][r] / times[stream, num][r] for r in times[stream, num])
            q1, median, q3 = statistics.quantiles(ratios, n=4)
            print(f"    ({num})/({den}) {median:.3f}  [{q1:.3f} .. {q3:.3f}]")

    print("\nKey-state reads in a plain loop, no hook: microseconds per call, median [quartiles]")
    for what, per_call in calls.items():
        q1, median, q3 = statistics.quantiles([1e6 * t for t in per_call], n=4)
        print(f"    {what:18} {median:7.1f}  [{q1:.1f} .. {q3:.1f}]")


if __name__ == "__main__":
    main()

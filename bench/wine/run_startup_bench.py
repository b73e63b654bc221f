"""Times Vyrtel.exe from its start to its window on screen under Wine on a
virtual display, against its floor: minimal_window.exe, a program that only
registers a window class and shows one window. The two are started in turn,
the same number of times (argument, default 10), in one Wine session whose
services are already up, as on a desktop that has run a program before.

Each start is measured from the moment the Wine loader is launched until
the X server maps a window with the program's title (the X server tells us:
nothing polls); the program is then closed with Esc and must end with exit
code 0. The first start of each program is reported apart. The ratio is
Vyrtel's time over the floor's, per pair of neighbouring starts, so that
both see the same load on the machine; its median and quartiles are given.
"""

import ctypes
import os
import select
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "wine"))
from winetest import WaitTimeout, WineSession  # noqa: E402

PROGRAMS = (("minimal_window.exe", "Minimal"), ("Vyrtel.exe", "Vyrtel"))

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("map", MapEvent), ("pad", ctypes.c_long * 24)]


class MapWatcher:
    """The windows that the X server maps on the root window, as it reports
    them (Wine's top-level windows are children of the root)."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
        self.x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError(f"cannot open X display {display}")
        self.x.XSelectInput(self.display, self.x.XDefaultRootWindow(self.display), SUBSTRUCTURE_NOTIFY_MASK)
        self.x.XPending(self.display)  # sends the request

    def close(self):
        self.x.XCloseDisplay(self.display)

    def name(self, window):
        name = ctypes.c_char_p()
        if not self.x.XFetchName(self.display, window, ctypes.byref(name)) or not name.value:
            return None
        text = name.value.decode(errors="replace")
        self.x.XFree(name)
        return text

    def wait_mapped(self, title, timeout=60):
        """The moment (time.monotonic) a window titled `title` is mapped."""
        deadline = time.monotonic() + timeout
        event = Event()
        while True:
            while self.x.XPending(self.display):
                self.x.XNextEvent(self.display, ctypes.byref(event))
                if event.type == MAP_NOTIFY:
                    seen = time.monotonic()
                    if self.name(event.map.window) == title:
                        return seen, event.map.window
            left = deadline - time.monotonic()
            if left <= 0:
                raise WaitTimeout(f"no window titled {title!r} in {timeout}s")
            select.select([self.x.XConnectionNumber(self.display)], [], [], left)


def one_start(wine, watcher, exe, title):
    began = time.monotonic()
    proc = wine.start(exe)
    shown, window = watcher.wait_mapped(title)
    wine.focus(window)
    wine.key("Escape")
    code = proc.wait(timeout=60)
    if code != 0:
        raise SystemExit(f"{exe} ended with {code}")
    return shown - began


def ms(seconds):
    return f"{seconds * 1000:.0f} ms"


def main(starts):
    times = {exe: [] for exe, _ in PROGRAMS}
    with WineSession() as wine:
        wine.install("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL", "minimal_window.exe")
        watcher = MapWatcher(wine.display)
        try:
            first = {exe: one_start(wine, watcher, exe, title) for exe, title in PROGRAMS}
            for _ in range(starts):
                for exe, title in PROGRAMS:
                    times[exe].append(one_start(wine, watcher, exe, title))
        finally:
            watcher.close()
    floor, vyrtel = times["minimal_window.exe"], times["Vyrtel.exe"]
    ratios = [v / f for f, v in zip(floor, vyrtel)]
    print(f"Start to a mapped window under Wine, {starts} alternating starts of each program "
          f"after a first one (Wine's services already up).")
    for exe, _ in PROGRAMS:
        t = times[exe]
        print(f"  {exe:20} first {ms(first[exe]):>7}; median {ms(statistics.median(t)):>7} "
              f"[{ms(min(t))} .. {ms(max(t))}]")
    q1, median, q3 = statistics.quantiles(ratios, n=4) if len(ratios) > 1 else (ratios[0],) * 3
    print(f"  Vyrtel / floor: median {median:.2f} [quartiles {q1:.2f} .. {q3:.2f}]; "
          f"ratio of medians {statistics.median(vyrtel) / statistics.median(floor):.2f}")


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 10)

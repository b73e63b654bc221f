"""Starts Vyrtel.exe of one Windows build under Wine, as scripts/run.sh
describes, with the Wine session code the tests use (winetest.py).

The program runs from C:\\vyrtel of a lasting prefix of its own,
<build>/run-prefix-<arch>, with Tavrilex.dll and BWCC32.DLL beside it, on
the user's X display when one answers, or else on a private virtual display
in a Wine desktop with a taskbar (desktop_run.py).
Environment: as scripts/wine-python.sh sets it; VYRTEL_RUN_SECONDS=N ends
the program after N seconds; VYRTEL_DEMO=1 types Ukrainian into Notepad on
the Wine desktop before the screenshot.
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine"))
from winetest import ARCH, ARTIFACTS, WINDOWS_DIR, WaitTimeout, WineSession, wait_until  # noqa: E402
from desktop_run import run_on_desktop  # noqa: E402

BOXES = ("DLL Not Found", "DLL Corrupted")


def say(text):
    print(text, flush=True)


def user_display():
    display = os.environ.get("DISPLAY")
    if display and subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0:
        return display
    return None


def coloured_screenshot(wine, window, path):
    """The dialog paints its controls just after the window shows: the shot
    is taken again until the window holds its many colours (the emblem's)."""
    x, y, width, height = wine.geometry(window)

    def taken():
        wine.screenshot(os.path.basename(path))
        colours = subprocess.run(["convert", path, "-crop", f"{width}x{height}+{x}+{y}", "-format", "%k", "info:"],
                                 stdout=subprocess.PIPE, text=True).stdout
        return colours.strip().isdigit() and int(colours) > 20

    try:
        wait_until(taken, timeout=10, interval=0.1, what="the window's colours")
    except WaitTimeout:
        pass


def ended(proc, code=None):
    code = proc.wait() if code is None else code
    say(f"Vyrtel ended with exit code {code}.")
    return code


def main():
    build = os.path.dirname(WINDOWS_DIR.rstrip("/"))
    display = user_display()
    with WineSession(prefix=os.path.join(build, f"run-prefix-{ARCH}"), display=display) as wine:
        wine.install("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL")
        shot = os.path.join(ARTIFACTS, "vyrtel-run.png")
        if not display:
            return run_on_desktop(wine, say, shot, sys.stdin.isatty(), os.environ.get("VYRTEL_RUN_SECONDS"),
                                  os.environ.get("VYRTEL_DEMO") == "1")
        if display:
            say(f"Starting Vyrtel on your display {display}.")
        else:
            say(f"No display of yours answers: starting Vyrtel on the virtual display {wine.display}.")
        proc = wine.start("Vyrtel.exe")
        shot = os.path.join(ARTIFACTS, "vyrtel-run.png")

        def shown():
            if wine.find_windows("^Vyrtel$"):
                return "window"
            for box in BOXES:
                if wine.find_windows(f"^{box}$"):
                    return box
            return proc.poll() is not None and "ended"

        try:
            what = wait_until(shown, timeout=60, interval=0.1, what="Vyrtel's window")
        except WaitTimeout:
            say("Vyrtel's window did not appear within a minute.")
            return 1
        if what == "ended":
            if proc.returncode == 1:
                say("Vyrtel ended at once (exit code 1): another copy holds its single-instance lock"
                    " (a running copy has been brought to the front).")
                return 1
            return ended(proc)
        if what in BOXES:
            say(f"Vyrtel reports \"{what}\" in a message box on {wine.display}.")
            if not display:
                wine.screenshot(os.path.basename(shot))
                say(f"A screenshot of it: {shot}")
                if not sys.stdin.isatty():
                    return 1
                say("Press Ctrl+C to end it.")
            return ended(proc)

        window = wine.find_windows("^Vyrtel$")[0]
        if not display:
            coloured_screenshot(wine, window, shot)
            say(f"Vyrtel is running on the virtual display {wine.display}; a screenshot of it: {shot}")

        def close():
            wine.focus(window)
            wine.key("Escape")

        seconds = os.environ.get("VYRTEL_RUN_SECONDS")
        if seconds:
            say(f"Closing it in {seconds} seconds.")
            deadline = time.monotonic() + float(seconds)
            while proc.poll() is None and time.monotonic() < deadline:
                time.sleep(0.2)
            if proc.poll() is None:
                close()
        elif not display and not sys.stdin.isatty():
            say("No terminal to wait on: closing it now.")
            close()
        elif not display:
            say("Press Ctrl+C to end it.")
        else:
            say("Close it to end this command.")
        return ended(proc)


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(130)

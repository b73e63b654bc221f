"""Starts Vyrtel.exe of one Windows build under Wine, as scripts/run.sh
describes, with the Wine session code the tests use (winetest.py).

The program runs from C:\\vyrtel of a lasting prefix of its own,
<build>/run-prefix-<arch>, with Tavrilex.dll and BWCC32.DLL beside it, on
the user's X display when one answers, or else on a private virtual display
in a Wine desktop with a taskbar (desktop_run.py).
Environment: as scripts/wine-python.sh sets it; VYRTEL_RUN_SECONDS=N ends
the program after N seconds, in steps (program_end.py); VYRTEL_DEMO=1 types
Ukrainian into Notepad on the Wine desktop before the screenshot.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine"))
from winetest import ARCH, ARTIFACTS, WINDOWS_DIR, WaitTimeout, WineSession, wait_until  # noqa: E402
from desktop_run import run_on_desktop  # noqa: E402
from program_end import ASKED, EXIT_CODES, GRACE, end_in_steps, own_windows, report  # noqa: E402

BOXES = ("DLL Not Found", "DLL Corrupted")


def say(text):
    print(text, flush=True)


def user_display():
    display = os.environ.get("DISPLAY")
    if display and subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0:
        return display
    return None


def run_on_display(wine, say, seconds=None, demo=False, grace=GRACE):
    """Runs Vyrtel (installed in the session) on the session's display,
    which another program, even another copy of Vyrtel, may share: only
    the windows of the session's own prefix are looked at. `seconds`: when
    to end it. Returns the exit code."""
    say(f"Starting Vyrtel on your display {wine.display}.")
    if demo:
        say("VYRTEL_DEMO=1 types on real keys, so it runs only on the private Wine desktop (without DISPLAY);"
            " starting Vyrtel without it.")
    wine.install("vyrtel_inspector.exe")
    proc = wine.start("Vyrtel.exe")

    def shown():
        if own_windows(wine, "^Vyrtel$"):
            return "window"
        for box in BOXES:
            if own_windows(wine, f"^{box}$"):
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
        say(f"Vyrtel ended with exit code {proc.returncode}.")
        return proc.returncode
    if what in BOXES:
        say(f"Vyrtel reports \"{what}\" in a message box on {wine.display}.")
    if not seconds:
        say("Close it to end this command.")
        code = proc.wait()
        say(f"Vyrtel ended with exit code {code}.")
        return code

    say(f"Closing it in {seconds} seconds.")
    try:
        wait_until(lambda: proc.poll() is not None, timeout=float(seconds), interval=0.2, what="Vyrtel's end")
        say(f"Vyrtel ended with exit code {proc.returncode}.")
        return proc.returncode
    except WaitTimeout:
        pass

    def escape():
        windows = own_windows(wine, "^Vyrtel$")
        if windows:
            wine.focus(windows[0])
            wine.key("Escape")

    step = end_in_steps(wine, escape, lambda: proc.poll() is not None, "Vyrtel", grace=grace)
    if step == ASKED:
        say(f"Vyrtel ended with exit code {proc.returncode}.")
        return proc.returncode
    say(report(step, "its Esc", grace))
    return EXIT_CODES[step]


def main():
    build = os.path.dirname(WINDOWS_DIR.rstrip("/"))
    display = user_display()
    seconds = os.environ.get("VYRTEL_RUN_SECONDS")
    demo = os.environ.get("VYRTEL_DEMO") == "1"
    with WineSession(prefix=os.path.join(build, f"run-prefix-{ARCH}"), display=display) as wine:
        wine.install("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL")
        if display:
            return run_on_display(wine, say, seconds, demo)
        return run_on_desktop(wine, say, os.path.join(ARTIFACTS, "vyrtel-run.png"), sys.stdin.isatty(), seconds,
                              demo)


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(130)

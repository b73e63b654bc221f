"""Ending a program that scripts/run.sh started under Wine, in steps that
each have a deadline: the program asked to end its own way (its Esc, its
menu's Exit), then its window closed by Wine itself in the prefix, then
everything the session started in the prefix ended (wineserver -k).

Only the session's own prefix is acted on: its windows are told apart from
another copy's on the same display by the prefix of the process that owns
them, and the close goes through the prefix's own wineserver.
"""

import os
import subprocess

from winetest import WINE, WaitTimeout, wait_until

GRACE = 5.0  # seconds each step waits for the program to end
ASKED, WINDOW_CLOSED, PREFIX_ENDED = "asked", "window closed", "prefix ended"
# The command's exit code when the program had to be ended by a later step.
EXIT_CODES = {WINDOW_CLOSED: 124, PREFIX_ENDED: 125}


def prefix_of(pid):
    """The WINEPREFIX of a process, or None when it cannot be read."""
    try:
        with open(f"/proc/{pid}/environ", "rb") as f:
            entries = f.read().split(b"\0")
    except OSError:
        return None
    for entry in entries:
        if entry.startswith(b"WINEPREFIX="):
            return os.path.realpath(os.fsdecode(entry[len(b"WINEPREFIX="):]))
    return None


def own_windows(wine, title):
    """The visible X windows titled `title` (a regular expression) whose
    owning process runs in the session's prefix. Wine names the owner's
    process id on each window it maps (_NET_WM_PID)."""
    prefix = os.path.realpath(wine.prefix)
    owned = []
    for window in wine.find_windows(title):
        pid = wine.xdotool("getwindowpid", window, check=False).strip()
        if pid.isdigit() and prefix_of(int(pid)) == prefix:
            owned.append(window)
    return owned


def running_in_prefix(wine, program):
    """Whether a process of `program` (e.g. "Vyrtel.exe") runs in the
    session's prefix."""
    prefix = os.path.realpath(wine.prefix)
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                command = f.read().split(b"\0")[0]
        except OSError:
            continue
        if command.replace(b"\\", b"/").endswith(b"/" + program.encode()) and prefix_of(pid) == prefix:
            return True
    return False


def close_window(wine, title, desktop=None):
    """Posts WM_CLOSE to the top-level window titled `title` through a
    helper run in the prefix (on the Wine desktop `desktop`, if given)."""
    command = [WINE, wine.path("vyrtel_inspector.exe"), *([desktop] if desktop else [])]
    try:
        subprocess.run(command, input=f"close {title}\nquit\n".encode(), env=wine.env, cwd=wine.appdir,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30, start_new_session=True)
    except subprocess.TimeoutExpired:
        pass


def end_prefix(wine):
    subprocess.run(["wineserver", "-k"], env=wine.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=30)


def end_in_steps(wine, ask, ended, title, desktop=None, grace=GRACE):
    """Ends the program: ask() (its own way of ending), then its window
    titled `title` closed, then the prefix ended, each given `grace`
    seconds for ended() to hold. Returns the step that ended it."""
    for step, act in ((ASKED, ask), (WINDOW_CLOSED, lambda: close_window(wine, title, desktop)),
                      (PREFIX_ENDED, lambda: end_prefix(wine))):
        try:
            act()
        except Exception:  # noqa: BLE001 - a step that cannot act leaves the ending to the next one
            pass
        try:
            wait_until(ended, timeout=grace, interval=0.1, what="the program's end")
            return step
        except WaitTimeout:
            continue
    return PREFIX_ENDED


def report(step, how, grace=GRACE):
    """One line on how the program ended, for a step other than ASKED."""
    if step == WINDOW_CLOSED:
        return (f"Vyrtel had not ended {grace:.0f} s after {how}: its window was closed, and it ended"
                f" (exit code {EXIT_CODES[step]}).")
    return (f"Vyrtel had not ended {grace:.0f} s after {how}, nor after its window was closed: everything"
            f" this command started in its prefix was ended (exit code {EXIT_CODES[step]}).")

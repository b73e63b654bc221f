"""Vyrtel on a Wine virtual desktop with a taskbar, as scripts/run.sh shows
it when no display of the user's answers: the notification area with the
mode icon, the layout window opened from the icon's menu, and with
VYRTEL_DEMO=1 Notepad with a Ukrainian sentence typed on real keys.

Uses the tests' helpers (tests/wine): the session, the icon found by its
pixels, the menu chosen by keys, the keys of each table read from its
source.
"""

import os
import subprocess

from test_e2e import TABLES, keycode
from test_e2e_notepad import keys_for, notepad_text
from test_tray import DESKTOP, Tray, make_the_desktop_the_default, start_notepad
from program_end import ASKED, EXIT_CODES, GRACE, end_in_steps, report, running_in_prefix
from winetest import WINE, WaitTimeout, wait_until

SIZE = "1024x768"
KEY_FACE = (236, 236, 232)  # the face of the layout window's keys
NOTEPAD_PLACE = (420, 30, 580, 300)
# Typed in the typewriter layout, the one Vyrtel starts in.
SENTENCE = ("Садок вишневий коло хати, хрущі над вишнями гудуть.",
            "Ґава і їжак, Євген: 2 яблука")


class Desktop:
    """Vyrtel.exe started on the desktop, with its icon found."""

    def __init__(self, wine, say):
        self.wine, self.say = wine, say
        make_the_desktop_the_default(wine, SIZE)
        self.proc = subprocess.Popen([WINE, "explorer", f"/desktop={DESKTOP},{SIZE}", wine.path("Vyrtel.exe")],
                                     env=wine.env, cwd=wine.appdir, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        wine.processes.append(self.proc)
        self.desk = wine.wait_window("Wine desktop", timeout=60)
        self.tray = Tray(wine, self.desk)

    def started(self):
        try:
            self.tray.locate("off", timeout=60)
            return True
        except WaitTimeout:
            return False

    def choose(self, item):
        self.tray.open_menu(item)
        self.wine.key("Return")

    def demo(self):
        """Notepad, CP1251 from the icon's menu, translation switched on with
        Ctrl+Right Shift, and the sentence typed."""
        wine = self.wine
        self.choose("cp1251")
        self.tray.locate("latin")
        start_notepad(wine, NOTEPAD_PLACE)
        wait_until(lambda: wine.run("window_text.exe", "Notepad")[0] == 0, timeout=60, what="Notepad")
        left, top, width, height = NOTEPAD_PLACE
        wine.focus(self.desk)
        wine.xdotool("mousemove", "--sync", left + width // 2, top + height // 2, "click", "1")
        wine.xdotool("keydown", "ctrl", "key", keycode(wine, "RTSH"), "keyup", "ctrl")
        self.tray.locate("ukrainian")
        keys = []
        for line in SENTENCE:
            keys += keys_for(line, TABLES[2, 0]) + ["Return"]
        wine.xdotool("key", "--delay", "30", *keys[:-1])
        text = "\r\n".join(SENTENCE)
        wait_until(lambda: notepad_text(wine) == text, timeout=60, what="the sentence in Notepad")
        self.say("Typed into Notepad with real keys: " + " / ".join(SENTENCE))

    def layout_drawn(self):
        """Whether the lower half of the desktop shows the layout window's
        keys (their face colour, many times over)."""
        x, y, width, height = self.tray.desk
        rows = self.tray.x.grab(x, y + height // 2, width, height // 2 - 40)
        return sum(row.count(KEY_FACE) for row in rows) > 5000

    def running(self):
        return any(self.tray.find(look) for look in ("off", "latin", "ukrainian"))

    def close(self, grace=GRACE):
        """Exit from the icon's menu, as a user ends it, then the later
        steps of program_end when it does not end. Returns the step that
        ended it."""
        step = end_in_steps(self.wine, lambda: self.choose("exit"),
                            lambda: not running_in_prefix(self.wine, "Vyrtel.exe"), "Vyrtel", DESKTOP, grace)
        self.tray.close()
        return step


def run_on_desktop(wine, say, shot, interactive, seconds=None, demo=False, grace=GRACE):
    """Runs Vyrtel on the desktop (the program and its libraries installed
    in the session): `shot` the screenshot's path under the artifacts,
    `interactive` whether to wait for Ctrl+C, `seconds` when to close it,
    `demo` whether to type into Notepad first. Returns the exit code."""
    wine.install("window_text.exe", "vyrtel_inspector.exe")
    say(f"No display of yours answers: starting Vyrtel on a Wine desktop with a taskbar on {wine.display}.")
    desktop = Desktop(wine, say)
    if not desktop.started():
        wine.screenshot(os.path.basename(shot))
        say(f"Vyrtel's icon did not appear within a minute; a screenshot: {shot}")
        return 1
    desktop.choose("layout")
    wait_until(desktop.layout_drawn, timeout=30, what="the layout window")
    if demo:
        try:
            desktop.demo()
        except WaitTimeout:
            wine.screenshot(os.path.basename(shot))
            say(f"The demonstration did not come through; a screenshot: {shot}")
            raise
    wine.screenshot(os.path.basename(shot))
    say(f"Vyrtel is running on the virtual display {wine.display}; a screenshot of the desktop: {shot}")
    step = ASKED
    if seconds:
        say(f"Closing it in {seconds} seconds.")
        try:
            wait_until(lambda: not desktop.running(), timeout=float(seconds), interval=0.5, what="Vyrtel's end")
        except WaitTimeout:
            step = desktop.close(grace)
    elif interactive:
        say("Press Ctrl+C to end it.")
        wait_until(lambda: not desktop.running(), timeout=365 * 86400, interval=1, what="Vyrtel's end")
    else:
        say("No terminal to wait on: closing it now.")
        step = desktop.close(grace)
    if step != ASKED:
        say(report(step, "Exit in its icon's menu", grace))
        return EXIT_CODES[step]
    say("Vyrtel ended.")
    return 0

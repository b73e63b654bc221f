"""What scripts/run.sh shows without a display of the user's, with
VYRTEL_DEMO=1: Vyrtel on a Wine desktop with a taskbar, the layout window
opened from the icon's menu, Notepad with two Ukrainian lines typed on real
keys; the screenshot shows the icon in its Ukrainian look and the layout
window's keys, and the program ends by Exit in the icon's menu.

On a display it shares with another copy of Vyrtel (another prefix, on a
Wine desktop), run.sh ends its own copy at VYRTEL_RUN_SECONDS and leaves
the other one running; a program that does not end when asked has its
window closed, and then its prefix ended.
"""

import os
import subprocess
import sys
import time
import unittest

from test_app import app_session
from test_tray import SIZE, icon_looks, shows
from winetest import ARTIFACTS, WINE, Pixels, WaitTimeout, WineSession, wait_until

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                                "scripts"))
from desktop_run import KEY_FACE, SENTENCE, Desktop, run_on_desktop  # noqa: E402
from program_end import PREFIX_ENDED, WINDOW_CLOSED, end_in_steps, own_windows, running_in_prefix  # noqa: E402
from run_vyrtel import run_on_display  # noqa: E402


def rows_of(shot, left, top, width, height):
    return [[shot.pixel(x, y) for x in range(left, left + width)] for y in range(top, top + height)]


class DesktopRunTest(unittest.TestCase):
    def test_the_demonstration_leaves_ukrainian_in_notepad_and_the_desktop_in_the_screenshot(self):
        with app_session(library="real") as wine:
            said = []
            shot_path = os.path.join(ARTIFACTS, "run-desktop-demo.png")
            code = run_on_desktop(wine, said.append, shot_path, interactive=False, demo=True)
            self.assertEqual(code, 0, said)
            self.assertIn("Typed into Notepad with real keys: " + " / ".join(SENTENCE), said)
            self.assertEqual(said[-1], "Vyrtel ended.")

            shot = Pixels(shot_path)
            self.assertEqual((shot.width, shot.height), (1024, 768), "the desktop fills the display")
            strip = rows_of(shot, 1024 - 240, 768 - 40, 240, 40)
            look = icon_looks()["ukrainian"]
            self.assertTrue(any(shows(strip, x, y, look) for y in range(40 - SIZE + 1) for x in range(240 - SIZE + 1)),
                            "the taskbar shows the Ukrainian look")
            lower_half = rows_of(shot, 0, 384, 1024, 344)
            self.assertGreater(sum(row.count(KEY_FACE) for row in lower_half), 5000, "the layout window's keys")


class DisplayRunTest(unittest.TestCase):
    def test_on_a_display_shared_with_another_copy_it_ends_its_own_copy_in_time(self):
        with app_session(library="real") as other:
            said = []
            self.assertTrue(Desktop(other, said.append).started(), "the other copy's icon")
            with WineSession(display=other.display) as wine:
                wine.install("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL")
                theirs = wait_until(lambda: own_windows(other, "^Vyrtel$"), timeout=30, what="the other's window")
                self.assertIn(theirs[0], wine.find_windows("^Vyrtel$"), "the title alone finds the other's window")
                self.assertEqual(own_windows(wine, "^Vyrtel$"), [], "not this prefix's")
                began = time.monotonic()
                code = run_on_display(wine, said.append, seconds=3, demo=True)
                took = time.monotonic() - began
            self.assertEqual(code, 0, said)
            self.assertEqual(said[-1], "Vyrtel ended with exit code 0.")
            self.assertIn("runs only on the private Wine desktop", said[1])
            self.assertLess(took, 3 + 30, "started, shown and ended at its Esc")
            self.assertTrue(running_in_prefix(other, "Vyrtel.exe"), "the other copy got no Esc")

    def test_a_program_that_ignores_its_esc_has_its_window_closed_then_its_prefix_ended(self):
        with WineSession() as wine:
            wine.install("vyrtel_inspector.exe")
            for typed, step in (("", WINDOW_CLOSED), ("unsaved", PREFIX_ENDED)):
                with self.subTest(typed=typed):
                    # Esc does nothing in Notepad; WM_CLOSE ends it unless it
                    # holds unsaved text, when it asks whether to save.
                    proc = subprocess.Popen([WINE, "notepad.exe"], env=wine.env, stdin=subprocess.DEVNULL,
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                            start_new_session=True)
                    wine.processes.append(proc)
                    # Notepad is the prefix's first window: Wine's first start of a
                    # program with windows in a new prefix can take most of a
                    # minute on a busy machine.
                    try:
                        window = wait_until(lambda: own_windows(wine, "Notepad$"), timeout=120, what="Notepad")[0]
                    except WaitTimeout:
                        titled = {w: wine.xdotool("getwindowpid", w, check=False).strip()
                                  for w in wine.find_windows("Notepad")}
                        self.fail(f"no Notepad of this prefix; Notepad's process "
                                  f"{'ended with ' + str(proc.poll()) if proc.poll() is not None else 'runs'}, "
                                  f"windows titled Notepad and their owners: {titled}")
                    wine.focus(window)
                    if typed:
                        wine.xdotool("type", typed)

                    def escape():
                        wine.focus(own_windows(wine, "Notepad$")[0])
                        wine.key("Escape")

                    self.assertEqual(end_in_steps(wine, escape, lambda: proc.poll() is not None,
                                                  "Untitled - Notepad", grace=3), step)
                    self.assertIsNotNone(proc.poll())


if __name__ == "__main__":
    unittest.main()

"""What scripts/run.sh shows without a display of the user's, with
VYRTEL_DEMO=1: Vyrtel on a Wine desktop with a taskbar, the layout window
opened from the icon's menu, Notepad with two Ukrainian lines typed on real
keys; the screenshot shows the icon in its Ukrainian look and the layout
window's keys, and the program ends by Exit in the icon's menu.
"""

import os
import sys
import unittest

from test_app import app_session
from test_tray import SIZE, icon_looks, shows
from winetest import ARTIFACTS, Pixels

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                                "scripts"))
from desktop_run import KEY_FACE, SENTENCE, run_on_desktop  # noqa: E402


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


if __name__ == "__main__":
    unittest.main()

"""The About box of Vyrtel.exe, opened by a click on the emblem of the
control dialog: centred, captioned, without a close box, closed by its
button, Enter or Esc, the same box each time; the control dialog takes no
input meanwhile, and nothing changes and no library call is made.

Runs on a Wine virtual desktop, so that the screenshots show the title bars
Wine draws there."""

import unittest

from program_ids import ID, IDOK, NO_ID
from test_app import (CP1251, DISABLE, EMBLEM, END, KOI8, NUM_LOCK, PHONETIC, START, Inspector, Screen, Vyrtel,
                      app_session, marks, numbers)
from test_app_window import BLUE, YELLOW
from winetest import Pixels, wait_until

WS_POPUP, WS_CAPTION, WS_SYSMENU = 0x80000000, 0x00C00000, 0x00080000
DESKTOP = "vyrtel-about"
ABOUT_CONTROLS = [(str(id), kind) for id, kind in (
    (IDOK, "BorBtn"), (ID["IDC_ABOUT_TEXT"], "BorStatic"), (NO_ID, "Static"), (NO_ID, "Static"),
    (ID["IDC_ABOUT_FRAME"], "BorShade"), (ID["IDC_ABOUT_LINE"], "BorShade"))]


def screen_rect(control):
    """A child's rectangle on the screen, from its centre and its size."""
    left, top, right, bottom = numbers(control["rect"])
    x, y = numbers(control["centre"])
    return (x - (right - left) // 2, y - (bottom - top) // 2, x + (right - left + 1) // 2, y + (bottom - top + 1) // 2)


class AboutBoxTest(unittest.TestCase):
    def test_the_emblem_opens_the_about_box_and_its_button_enter_and_escape_close_it(self):
        with app_session() as wine:
            run = Vyrtel(wine, desktop=DESKTOP)
            desk = wine.wait_window("Wine desktop")
            run.wait_calls(START)
            inspector = Inspector(wine, desktop=DESKTOP)
            frame = wait_until(lambda: (f := inspector.frame()) and f["visible"] == "1" and f, what="the frame")
            screen = Screen(wine, inspector)

            def click(x, y):
                wine.xdotool("mousemove", "--window", desk, x, y, "click", "1")

            def key(name):
                if wine.xdotool("getwindowfocus", check=False).strip() != str(desk):
                    wine.focus(desk)
                wine.key(name)

            screen.click = lambda control: click(*screen.centres[str(control)])
            for control in (KOI8, NUM_LOCK, PHONETIC):
                screen.click(control)
            chosen = marks(1, 1, 1)
            wait_until(lambda: inspector.checks() == chosen, what="KOI8, Num Lock and Phonetic")
            run.wait_calls(START + ["DllCtrl koi8-typewriter 47 -> 1", "SetToggler 1 -> 1",
                                    "DllCtrl koi8-phonetic 47 -> 1"])
            # The desktop shows a taskbar, for the program's icon in its
            # notification area: the box is centred in the rest of the screen.
            work_left, work_top, work_right, work_bottom = numbers(inspector.one("screen")["work"])

            first = None
            for way in ("its button", "Return", "Escape"):
                with self.subTest(closed_by=way):
                    mark = run.mark()
                    screen.click(EMBLEM)
                    box = wait_until(lambda: (b := inspector.top("About Vyrtel")) and b[0]["visible"] == "1" and b[0],
                                     what="the About box")
                    style = int(box["style"], 16)
                    self.assertEqual(style & (WS_POPUP | WS_CAPTION), WS_POPUP | WS_CAPTION)
                    self.assertEqual(style & WS_SYSMENU, 0, "no system menu, so no close box")
                    left, top, right, bottom = numbers(box["rect"])
                    self.assertLessEqual(abs((left + right) - (work_left + work_right)), 2, "centred across")
                    self.assertLessEqual(abs((top + bottom) - (work_top + work_bottom)), 2, "centred up and down")
                    # Owned by the main window, which is disabled while the box is up.
                    self.assertEqual((box["owner"], box["owner_enabled"]), (frame["hwnd"], "0"))
                    children = box["children"]
                    self.assertEqual([(c["id"], c["class"]) for c in children], ABOUT_CONTROLS)
                    lines = children[1]["text"].split("\n")
                    self.assertEqual((lines[0], len(lines)), ("Version 0.6", 3))
                    if first is None:
                        first = box
                        emblem, title = screen_rect(children[2]), screen_rect(children[3])

                        def pictures_shown(shot):
                            return (shot.count(emblem, BLUE, 70) > 30 and shot.count(emblem, YELLOW, 70) > 30
                                    and shot.count(title, YELLOW, 70) > 300 and shot.count(title, BLUE, 70) > 1500)
                        wait_until(lambda: pictures_shown(Pixels(wine.screenshot("app_about_box.png"))),
                                   what="the emblem and the title picture in the About box")
                    else:
                        self.assertEqual({k: v for k, v in box.items() if k not in ("hwnd", "children")},
                                         {k: v for k, v in first.items() if k not in ("hwnd", "children")})
                        self.assertEqual([{k: v for k, v in c.items()} for c in children], first["children"],
                                         "the same box each time")

                    # The control dialog takes no input meanwhile.
                    screen.click(CP1251)
                    if way == "its button":
                        click(*numbers(children[0]["centre"]))
                    else:
                        key(way)
                    wait_until(lambda: not inspector.top("About Vyrtel"), what="the About box to go")
                    wait_until(lambda: inspector.frame()["enabled"] == "1", what="the main window enabled")
                    self.assertEqual(run.calls(mark), [], "no library call")
                    self.assertEqual(inspector.checks(), chosen, "no choice changed")

            # The dialog answers again.
            mark = run.mark()
            screen.click(DISABLE)
            run.wait_calls(["DllCtrl null 0 -> 0"], mark)
            # The desktop repaints where the box was in its own time.
            wait_until(lambda: Pixels(wine.screenshot("app_control_dialog_on_desktop.png")).count(title, YELLOW, 70) == 0,
                       what="the desktop repainted where the About box was")
            key("Escape")
            wait_until(lambda: run.calls()[-2:] == END, what="the end of the program")


if __name__ == "__main__":
    unittest.main()

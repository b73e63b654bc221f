"""Vyrtel.exe's window: the frame as created (style, extended style), fitted
exactly to the dialog's content with the dialog's caption gone, neither
resizable nor maximisable; the show command it was started with; Minimize
and Enter, Exit, Esc and Alt+F4; and what the screen shows of every control.

The control positions are checked against the template table the resources
are generated from (res/dialogs/templates.py)."""

import os
import sys
import unittest

from program_ids import ID
from test_app import (CP1251, DISABLE, END, KOI8, LEFT_RIGHT, MINIMIZE, NUM_LOCK, RADIO_BUTTONS, START, TYPEWRITER,
                      Inspector, Vyrtel, app_session, marks, numbers, press, started)
from winetest import Pixels, wait_until

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res", "dialogs"))
from templates import CONTROL_DIALOG  # noqa: E402

WS_CHILD, WS_VISIBLE, WS_CLIPCHILDREN = 0x40000000, 0x10000000, 0x02000000
WS_BORDER, WS_DLGFRAME, WS_SYSMENU = 0x00800000, 0x00400000, 0x00080000
WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_POPUP = 0x00040000, 0x00020000, 0x00010000, 0x80000000
WS_EX_APPWINDOW = 0x00040000
HTCAPTION, HTSYSMENU, HTMINBUTTON, HTMAXBUTTON, HTCLOSE = 2, 3, 8, 9, 20
SIZING_CODES = set(range(10, 18))  # HTLEFT .. HTBOTTOMRIGHT
CLASS_NAMES = {0x80: "Button", 0x82: "Static"}

GRAY, BLACK, WHITE = (192, 192, 192), (0, 0, 0), (255, 255, 255)
BLUE, YELLOW = (0, 64, 192), (255, 212, 0)  # near the emblem's
ICON_BLUE, ICON_YELLOW = (0, 0, 255), (255, 255, 0)  # of the 16-colour icon


def mul_div(a, b, c):
    """The platform's MulDiv for non-negative values: a * b / c, rounded."""
    return (2 * a * b + c) // (2 * c)


def dialog_units(controls):
    """The dialog base units (x, y) under which every control's rectangle is
    the template's, or None when there are none."""
    for bx in range(1, 40):
        for by in range(1, 60):
            if all([mul_div(c.box[0], bx, 4), mul_div(c.box[1], by, 8),
                    mul_div(c.box[0], bx, 4) + mul_div(c.box[2], bx, 4),
                    mul_div(c.box[1], by, 8) + mul_div(c.box[3], by, 8)] == numbers(shown["rect"])
                   for c, shown in controls):
                return bx, by
    return None


class FrameTest(unittest.TestCase):
    def test_frame_is_made_with_its_style_and_fits_the_dialogs_content_exactly(self):
        with app_session(relay=("user32.CreateWindowExA",)) as wine:
            run, inspector, frame, _ = started(wine, relay=True)

            # Created as asked: the set-then-cleared style and the main
            # window's task-bar flag; it is the program's only window of its own.
            created = [args.split(",") for function, args in run.platform_calls() if function == "CreateWindowExA"]
            self.assertEqual(len(created), 1, created)
            self.assertEqual((created[0][0], created[0][3]), ("00040000", "124a0000"))
            self.assertIn('"Vyrtel"', created[0][2])

            # As the platform keeps it: a captioned overlapped window with
            # system menu and minimise box, no sizing border, no maximise box.
            style, ex = int(frame["style"], 16), int(frame["ex"], 16)
            wanted = WS_VISIBLE | WS_CLIPCHILDREN | WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX
            self.assertEqual(style & wanted, wanted)
            self.assertEqual(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD | WS_POPUP), 0)
            self.assertEqual(ex & WS_EX_APPWINDOW, WS_EX_APPWINDOW)
            hits = inspector.hits()
            self.assertFalse(SIZING_CODES & set(hits), "no edge resizes the frame")
            self.assertTrue({HTCAPTION, HTSYSMENU, HTMINBUTTON, HTCLOSE} <= set(hits))

            # The dialog: a visible child with a thin border and no caption,
            # its border just outside the frame's client area, its content
            # exactly that area.
            dialog = inspector.dialog()
            width, height = numbers(frame["client"])
            d_style = int(dialog["style"], 16)
            self.assertEqual(d_style & (WS_CHILD | WS_VISIBLE | WS_BORDER), WS_CHILD | WS_VISIBLE | WS_BORDER)
            self.assertEqual(d_style & (WS_DLGFRAME | WS_POPUP), 0, "no caption, no dialog frame")
            self.assertEqual(dialog["parent"], "frame")
            self.assertEqual(numbers(dialog["rect"]), [-1, -1, width + 1, height + 1])
            self.assertEqual(numbers(dialog["client"]), [width, height])

            # Every control of the template, in its order, class and place;
            # the content is the template's size in the same dialog units.
            controls = inspector.controls()
            self.assertEqual([(int(c["id"]), c["class"]) for c in controls],
                             [(t.id & 0xFFFF, CLASS_NAMES.get(t.window_class, t.window_class))
                              for t in CONTROL_DIALOG.controls])
            units = dialog_units(list(zip(CONTROL_DIALOG.controls, controls)))
            self.assertIsNotNone(units, "the controls lie where the template puts them")
            bx, by = units
            self.assertEqual([width, height], [mul_div(CONTROL_DIALOG.box[2], bx, 4),
                                               mul_div(CONTROL_DIALOG.box[3], by, 8)])

    def test_on_a_desktop_the_frame_shows_its_icon_and_can_be_neither_maximised_nor_resized(self):
        with app_session() as wine:
            run = Vyrtel(wine, desktop="vyrtel")
            desk = wine.wait_window("Wine desktop")
            run.wait_calls(START)
            inspector = Inspector(wine, desktop="vyrtel")
            frame = wait_until(inspector.frame, what="the frame")
            hits = inspector.hits()

            def click(x, y, *more):
                wine.xdotool("mousemove", "--window", desk, x, y, "click", *more, "1")

            # The small icon in the title bar: the keyboard over blue and yellow.
            x, y = hits[HTSYSMENU]
            shot = Pixels(wine.screenshot("app_frame_on_desktop.png"))
            self.assertGreater(shot.count((x - 8, y - 8, x + 8, y), ICON_BLUE), 16)
            self.assertGreater(shot.count((x - 8, y, x + 8, y + 8), ICON_YELLOW), 16)

            click(*hits[HTCAPTION], "--repeat", "2")   # a double click on the caption
            click(*hits[HTMAXBUTTON])                  # drawn, but disabled
            left, top, right, bottom = numbers(frame["rect"])
            wine.xdotool("mousemove", "--window", desk, right - 1, bottom - 1, "mousedown", "1")
            wine.xdotool("mousemove", "--window", desk, right + 60, bottom + 60, "mouseup", "1")
            # Then the minimise button, which does work; so the clicks before had their turn.
            click(*hits[HTMINBUTTON])
            after = wait_until(lambda: (f := inspector.frame())["iconic"] == "1" and f, what="minimised")
            self.assertEqual(after["zoomed"], "0")
            inspector.send("restore")
            last = []
            try:
                wait_until(lambda: not last.append(inspector.frame()) and last[-1]["iconic"] == "0"
                           and last[-1]["rect"] == frame["rect"], what="restored")
            except AssertionError:
                self.fail(f"restored as {last[-1]}, not in its old place {frame['rect']}: maximised or resized")
            self.assertEqual(run.calls(), START, "none of this calls the library")

    def test_show_command_at_start(self):
        # (show command, visible, minimised): a maximised or minimised-and-
        # active start shows the frame normally; hidden and minimised-
        # inactive starts are honoured.
        cases = [(3, "1", "0"), (2, "1", "0"), (0, "0", "0"), (7, "1", "1")]
        with app_session() as wine:
            inspector = Inspector(wine)
            for show, visible, iconic in cases:
                with self.subTest(show=show):
                    run = Vyrtel(wine, launcher=show)
                    run.wait_calls(START, run.start_mark)
                    # The frame registers itself before it is shown: its
                    # state may still be on its way for a moment.
                    seen = []
                    try:
                        wait_until(lambda: not seen.append(f := inspector.frame()) and f and
                                   (f["visible"], f["iconic"], f["zoomed"]) == (visible, iconic, "0"),
                                   timeout=10, what="the frame shown so")
                    except AssertionError:
                        self.fail(f"show {show}: the frame is {seen[-1]}")
                    inspector.send("close")
                    self.assertEqual(run.exit_code(), 0, "the launcher passes the program's exit code on")
                    self.assertEqual(run.calls(run.start_mark), START + END)


class ButtonsTest(unittest.TestCase):
    def test_minimize_and_enter_minimise_and_change_nothing(self):
        with app_session() as wine:
            run, inspector, _, screen = started(wine)
            screen.click(KOI8)
            run.wait_calls(["DllCtrl koi8-typewriter 47 -> 1"], len(START))
            screen.click(NUM_LOCK)
            run.wait_calls(["SetToggler 1 -> 1"], len(START) + 1)
            chosen = marks(1, 1, 0)
            wait_until(lambda: inspector.checks() == chosen, what="KOI8 and Num Lock")

            mark = run.mark()
            screen.click(MINIMIZE)
            wait_until(lambda: inspector.frame()["iconic"] == "1", what="minimised by the button")
            inspector.send("restore")
            wait_until(lambda: inspector.frame()["iconic"] == "0", what="restored")

            # Enter on a radio button (the one just clicked has the focus).
            screen.click(CP1251)
            run.wait_calls(["DllCtrl cp1251-typewriter 47 -> 1"], mark)
            chosen = marks(2, 1, 0)
            wait_until(lambda: inspector.checks() == chosen, what="CP1251")
            self.assertEqual(inspector.one("focus")["id"], str(CP1251))
            press(wine, "Return")
            wait_until(lambda: inspector.frame()["iconic"] == "1", what="minimised by Enter")
            self.assertEqual(run.calls(mark), ["DllCtrl cp1251-typewriter 47 -> 1"], "minimising calls nothing")
            self.assertEqual(inspector.checks(), chosen)

    def test_exit_escape_and_alt_f4_end_the_program_with_0(self):
        for way in ("Exit", "Escape", "alt+F4"):
            with self.subTest(way=way), app_session() as wine:
                run, inspector, _, screen = started(wine)
                if way == "Exit":
                    screen.click(2)
                else:
                    press(wine, way)
                self.assertEqual(run.exit_code(), 0)
                # No coding was ever chosen, and the hook is removed all the same.
                self.assertEqual(run.calls(), START + END)


class ScreenTest(unittest.TestCase):
    def test_every_control_shows_on_screen(self):
        with app_session() as wine:
            run, inspector, frame, screen = started(wine)
            screen.click(KOI8)
            wait_until(lambda: inspector.checks() == marks(1, 3, 0), what="KOI8 checked")
            ox, oy = numbers(frame["origin"])
            controls = inspector.controls()

            def on_screen(control):
                left, top, right, bottom = numbers(control["rect"])
                return left + ox, top + oy, right + ox, bottom + oy

            def drawn(shot):
                missing = []
                for control in controls:
                    left, top, right, bottom = rect = on_screen(control)
                    kind, key = control["class"], (control["id"], control.get("text"))
                    if kind in ("BorRadio", "BorBtn"):
                        if shot.count(rect, BLACK, 60) < 20:
                            missing.append(key)  # no text drawn
                    elif kind == "BorShade":
                        if shot.count((left, top, right, top + 16), BLACK, 60) < 20:
                            missing.append(key)  # no caption drawn
                    elif control["id"] == str(ID["IDC_EMBLEM"]):
                        if shot.count(rect, BLUE, 70) < 30 or shot.count(rect, YELLOW, 70) < 30:
                            missing.append(key)  # no emblem
                    if kind == "BorRadio":
                        # The centre of the 12-pixel mark at the left: a dot or an empty well.
                        x, y = left + 6, (top + bottom) // 2
                        centre = {shot.pixel(x + dx, y + dy) for dx in (-1, 0) for dy in (-1, 0)}
                        checked = control["check"] == "1"
                        if centre != {BLACK if checked else WHITE}:
                            missing.append(key + ("mark",))
                return missing

            # A control may still be repainting: what the screen shows is
            # waited for, never assumed.
            last = []
            try:
                wait_until(lambda: not last.append(drawn(Pixels(wine.screenshot("app_control_dialog.png"))))
                           and not last[-1], what="every control drawn")
            except AssertionError:
                self.fail(f"not drawn: {last[-1]}")
            self.assertEqual(len(controls), 17)
            self.assertEqual({c["id"] for c in controls if c["class"] == "BorRadio"},
                             {str(b) for b in RADIO_BUTTONS})
            self.assertEqual([c["id"] for c in controls if c["check"] == "1" and c["class"] == "BorRadio"],
                             [str(KOI8), str(LEFT_RIGHT), str(TYPEWRITER)])
            self.assertNotIn(str(DISABLE), [c["id"] for c in controls if c["check"] == "1"])


if __name__ == "__main__":
    unittest.main()

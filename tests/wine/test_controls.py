"""The custom-control library under Wine: real clicks and keys on a dialog
built from test templates that use all five classes, what the dialog
procedure receives, and what the screen shows afterwards."""

import os
import re
import unittest

from winetest import Pixels, WineSession, wait_until

GRAY = (192, 192, 192)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
SHADOW = (128, 128, 128)
PICTURE_TOP = (0, 64, 192)
PICTURE_BOTTOM = (255, 212, 0)
MARK = 12  # the radio mark is 12 x 12 pixels, vertically centred at the left


class Probe:
    """controls_probe.exe in one mode, with its log read line by line."""

    def __init__(self, wine, mode, *args, log="probe.log"):
        self.wine = wine
        self.log = wine.path(log)
        if os.path.exists(self.log):
            os.unlink(self.log)
        if mode == "preview":
            self.proc = wine.start("controls_preview.exe", wine.winpath(log))
        else:
            self.proc = wine.start("controls_probe.exe", mode, wine.winpath(log), *args)
        self.seen = 0
        self.wait_for("ready")
        self.rects = {}
        self.initial_checks = None
        for line in self.lines():
            if line.startswith("checks ") and self.initial_checks is None:
                self.initial_checks = {int(k): int(v) for k, v in
                                       (pair.split("=") for pair in line.split()[1:])}
            m = re.match(r"rect (-?\d+) (-?\d+) (-?\d+) (-?\d+) (-?\d+)$", line)
            if m:
                values = [int(v) for v in m.groups()]
                self.rects.setdefault(values[0], tuple(values[1:]))

    def lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return f.read().splitlines()

    def wait_for(self, pattern, timeout=20):
        """Waits for a new log line matching pattern; returns its match."""
        def find():
            lines = self.lines()
            for index in range(self.seen, len(lines)):
                m = re.match(pattern, lines[index])
                if m:
                    self.seen = index + 1
                    return m
            return None
        try:
            return wait_until(find, timeout, what=f"log line {pattern!r}")
        except AssertionError:
            raise AssertionError(f"no {pattern!r} in the log:\n" + "\n".join(self.lines()))

    def command(self, expected_id):
        m = self.wait_for(r"command (-?\d+) (\d+)$")
        self_id, code = int(m.group(1)), int(m.group(2))
        if (self_id, code) != (expected_id, 0):
            raise AssertionError(f"expected command {expected_id} BN_CLICKED, got {self_id} {code}")

    def checks(self):
        m = self.wait_for(r"checks (.*)$")
        return {int(k): int(v) for k, v in (pair.split("=") for pair in m.group(1).split())}

    def centre(self, control_id):
        left, top, right, bottom = self.rects[control_id]
        return (left + right) // 2, (top + bottom) // 2

    def mark_centre(self, radio_id):
        left, top, right, bottom = self.rects[radio_id]
        mark_top = top + (bottom - top - MARK) // 2
        return left + MARK // 2, mark_top + MARK // 2

    def click(self, control_id, dx=0, dy=0):
        x, y = self.centre(control_id)
        self.wine.xdotool("mousemove", "--sync", x + dx, y + dy)
        self.wine.xdotool("click", "1")


def mark(screen, probe, radio_id):
    """"dot" or "well" for the centre of a radio button's mark, else None."""
    x, y = probe.mark_centre(radio_id)
    centre = [screen.pixel(x + dx, y + dy) for dx in (-1, 0) for dy in (-1, 0)]
    if all(p == BLACK for p in centre):
        return "dot"
    if all(p == WHITE for p in centre):
        return "well"
    return None


def look(wine, name, predicate, what, timeout=10):
    """Takes screenshots until predicate(screen) holds; returns that screen.
    A control may still be repainting when the event that changed it is
    logged, so what the screen shows is waited for, never assumed."""
    last = []

    def attempt():
        screen = Pixels(wine.screenshot(name))
        last[:] = [screen]
        return screen if predicate(screen) else None
    try:
        return wait_until(attempt, timeout, interval=0.2, what=what)
    except AssertionError:
        raise AssertionError(f"the screen never showed {what} (last: {last[0].path})")


class ControlsTest(unittest.TestCase):
    def test_interface_checks_in_process(self):
        with WineSession() as wine:
            wine.install("controls_probe.exe", "BWCC32.DLL")
            rc, _, _ = wine.run("controls_probe.exe", "checks", wine.winpath("checks.log"), timeout=60)
            log = open(wine.path("checks.log")).read()
            self.assertIn("failures 0", log, log)
            self.assertGreater(log.count("\nok "), 30, log)
            self.assertEqual(rc, 0)

    def test_panel_clicks_keys_and_what_the_screen_shows(self):
        with WineSession() as wine:
            wine.install("controls_probe.exe", "BWCC32.DLL")
            probe = Probe(wine, "panel")
            window = wine.wait_window("^Controls probe$")
            initial = probe.initial_checks
            self.assertEqual([k for k, v in initial.items() if v], [103, 104, 111])

            shot = look(wine, "controls_panel.png", lambda s: mark(s, probe, 103) == "dot",
                        "the mark on Disable")
            left, top = probe.rects[201][:2]
            self.assertEqual(shot.pixel(left - 2, top - 2), GRAY, "the dialog's face")
            self.assertEqual(mark(shot, probe, 101), "well")
            # The owner-drawn button lies over the picture and leaves it visible.
            x, y = probe.centre(108)
            self.assertEqual(shot.pixel(x, y - 8), PICTURE_TOP)
            self.assertEqual(shot.pixel(x, y + 8), PICTURE_BOTTOM)
            # A captioned shade breaks its top edge for the caption: the edge is
            # shadow gray near its ends and the caption's text lies between.
            s_left, s_top, s_right, s_bottom = probe.rects[201]
            edge_y = next(y for y in range(s_top, s_bottom) if shot.pixel(s_left, y) == SHADOW)
            self.assertEqual(shot.pixel(s_left + 2, edge_y), SHADOW)
            self.assertGreater(shot.count((s_left, s_top, s_right, edge_y + 4), BLACK, 60), 10,
                               "the caption's text")

            # A click on a radio button (here lying under its shade) arrives as
            # its command; the dialog's BM_SETCHECK moves the mark on screen.
            probe.click(101)
            probe.command(101)
            checks = probe.checks()
            self.assertEqual((checks[101], checks[103]), (1, 0))
            look(wine, "controls_panel_koi8.png",
                 lambda s: mark(s, probe, 101) == "dot" and mark(s, probe, 103) == "well",
                 "the mark moved from Disable to KOI8")

            probe.click(108)
            probe.command(108)
            # Clicked (so pressed, focused and redrawn), it still draws nothing.
            look(wine, "controls_panel_picture_clicked.png",
                 lambda s: s.pixel(x, y - 8) == PICTURE_TOP and s.pixel(x, y + 8) == PICTURE_BOTTOM,
                 "the picture under the clicked owner-drawn button")

            # Pressing a button and letting go outside it is no click.
            x, y = probe.centre(2)
            wine.xdotool("mousemove", "--sync", x, y)
            wine.xdotool("mousedown", "1")
            b_left, b_top = probe.rects[2][:2]
            look(wine, "controls_button_pressed.png", lambda s: s.pixel(b_left + 1, b_top + 1) == SHADOW,
                 "Exit pressed (its sunken edge)")
            wine.xdotool("mousemove", "--sync", x, y - 60)
            wine.xdotool("mouseup", "1")
            probe.click(1)
            probe.command(1)  # the next command is Minimize's, not Exit's

            # Keyboard, through the dialog manager.
            wine.focus(window)
            probe.click(105)
            probe.command(105)
            wine.key("Return")
            probe.command(1)  # Enter on a radio button: the default button
            wine.key("space")
            probe.command(105)  # space clicks the focused radio button
            wine.key("Down", "Down", "Down", "space")
            probe.command(111)  # arrows move within the group, across the shade
            wine.key("Down", "Down", "space")
            probe.command(104)  # and wrap at its end
            probe.click(102)
            probe.command(102)
            wine.key("Up", "Up", "space")
            probe.command(103)  # the shade heading the group is skipped
            wine.screenshot("controls_panel_focus.png")

            # Tab stops at the checked radio button of each group (two groups
            # here) and then at the push buttons; Enter chooses the focused
            # push button, the default one or not.
            wine.key("Tab", "Tab", "Tab", "Return")
            probe.command(1)
            wine.key("Tab", "Return")
            probe.command(2)
            self.assertEqual(probe.proc.wait(timeout=30), 0)

    def test_space_clicks_a_push_button_and_escape_closes_a_modeless_dialog(self):
        with WineSession() as wine:
            wine.install("controls_probe.exe", "BWCC32.DLL")
            probe = Probe(wine, "panel")
            wine.focus(wine.wait_window("^Controls probe$"))
            wine.key("space")  # the dialog starts with the focus on its first push button
            probe.command(1)
            wine.key("Escape")
            probe.command(2)
            self.assertEqual(probe.proc.wait(timeout=30), 0)

    def test_modal_box_ends_with_the_code_of_its_closing(self):
        with WineSession() as wine:
            wine.install("controls_probe.exe", "BWCC32.DLL")
            for how, expected in (("click", 1), ("Return", 1), ("Escape", 2)):
                with self.subTest(how=how):
                    probe = Probe(wine, "box")
                    window = wine.wait_window("^Probe box$")
                    if how == "click":
                        shot = look(wine, "controls_box.png", lambda s: s.count(probe.rects[1], BLACK, 60) > 20,
                                    "the box's button")
                        # The OK button has no text of its own: it shows its
                        # standard caption with a green check mark.
                        self.assertGreater(shot.count(probe.rects[1], (0, 128, 0)), 8, "green check mark")
                        self.assertGreater(shot.count(probe.rects[1], BLACK, 60), 20, "caption text")
                        # Three lines of static text.
                        t_left, t_top, t_right, t_bottom = probe.rects[101]
                        rows = [y for y in range(t_top, t_bottom)
                                if any(max(shot.pixel(x, y)) < 100 for x in range(t_left, t_right))]
                        bands = [y for y in rows if y - 1 not in rows and y - 2 not in rows]
                        self.assertEqual(len(bands), 3, f"rows with text: {rows}")
                        # The sunken line: shadow over highlight.
                        l_left, l_top, l_right, _ = probe.rects[103]
                        column = [shot.pixel(l_left + 20, y) for y in range(l_top - 1, l_top + 3)]
                        self.assertIn(SHADOW, column)
                        self.assertEqual(column[column.index(SHADOW) + 1], WHITE)
                        probe.click(1)
                    else:
                        wine.focus(window)
                        wine.key(how)
                    probe.command(expected)
                    self.assertEqual(probe.proc.wait(timeout=30), expected)
                    probe.wait_for(f"result {expected}$")
                    wait_until(lambda: not wine.find_windows("^Probe box$"), what="the box to go")

    def test_message_box_returns_the_answer(self):
        with WineSession() as wine:
            wine.install("controls_probe.exe", "BWCC32.DLL")
            for box_type, key, expected in ((0x1, "Escape", 2),            # MB_OKCANCEL: Esc cancels
                                            (0x4 | 0x100, "Return", 7)):   # MB_YESNO, MB_DEFBUTTON2
                with self.subTest(box_type=box_type):
                    probe = Probe(wine, "msgbox", hex(box_type))
                    wine.focus(wine.wait_window("^Probe message$"))
                    wine.key(key)
                    self.assertEqual(probe.proc.wait(timeout=30), expected)


if __name__ == "__main__":
    unittest.main()

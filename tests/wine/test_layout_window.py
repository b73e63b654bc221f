"""The layout window of Vyrtel.exe with the real library, on a Wine virtual
desktop with a taskbar: opened from the icon's menu, it never takes the
focus from the program typed into; a click on a key types that key into
Notepad (the letters) and into the 8-bit client (the table's bytes), a
right click types it with Shift; it follows a coding, a layout and a mode
change at once, in its title and its pixels; its close box closes it, the
menu opens it again where it was, and it is moved by its caption.

Every program of the session runs on the one desktop (made the default
desktop), so that the library's hook reaches the 8-bit client too.

Under Wine on a display without a window manager, a window activated after
the layout window is drawn over it, and gets the clicks there, although the
layout window stays above it in the z-order that Windows keeps (and the
inspector reads): the test keeps the windows apart on the desktop and checks
the z-order. What
must arrive is read from the table source (test_e2e.py), not from the
program.
"""

import unittest

from test_app import CP1251, DISABLE, KOI8, PHONETIC, app_session
from test_e2e import ANSI_TITLE, TABLES, AnsiClient, keycode, scan_of
from test_e2e_notepad import notepad_text
from test_tray import TraySession, make_the_desktop_the_default
from winetest import wait_until

WS_EX_TOPMOST, WS_EX_TOOLWINDOW, WS_EX_NOACTIVATE = 0x8, 0x80, 0x08000000
TITLE = "Vyrtel layout: "
KEY_FACE = (236, 236, 232)
OFF = TITLE + "Latin, Disable: nothing is translated"

# The rows of a US keyboard as the window draws them: the key caps, and
# where the first stands, in quarters of a key from the row's start.
ROWS = (("`1234567890-=", 0), ("qwertyuiop[]\\", 6), ("asdfghjkl;'", 7), ("zxcvbnm,./", 9))
SPACE = (4, 15, 28)  # row, left and width in quarters
# What keys give that no table holds.
UNTRANSLATED = {"\\": ("\\", "|"), " ": (" ", " ")}


def ukrainian(coding, layout):
    return f"{TITLE}Ukrainian, {coding}, {layout}"


def latin(coding, layout):
    return f"{TITLE}Latin, translation is off ({coding}, {layout})"


def signs_of(choice, cap):
    """The two signs a key cap gives in a table, from the table source."""
    if cap in UNTRANSLATED:
        return UNTRANSLATED[cap]
    return next(key.signs for key in TABLES[choice] if key.cap == cap.upper())


def byte_of(choice, cap, shift):
    if cap in UNTRANSLATED:
        return ord(UNTRANSLATED[cap][shift])
    return next(key.byte(shift) for key in TABLES[choice] if key.cap == cap.upper())


class LayoutWindow:
    """The layout window seen from outside: found by its title, its keys
    clicked where a keyboard of its size has them, its client area read
    pixel by pixel."""

    def __init__(self, session):
        self.s = session
        self.wine = session.wine
        self.facts = None
        self.title = None

    def find(self, title):
        windows = [w for w in self.s.inspector.top(title) if w["visible"] == "1"]
        return windows[0] if windows else None

    def wait(self, title):
        """Waits until the window is shown with `title`; returns its facts."""
        self.facts = wait_until(lambda: self.find(title), what=f"the layout window titled {title!r}")
        self.title = title
        return self.facts

    def geometry(self):
        """(left, top) of the client area on the screen, its unit and margin."""
        ox, oy = (int(v) for v in self.facts["origin"].split(","))
        width, _ = (int(v) for v in self.facts["client"].split(","))
        unit = round(width / 15.5)  # 15 keys and a quarter key's margin each side
        return ox, oy, unit, unit // 4

    def centre(self, cap):
        ox, oy, unit, margin = self.geometry()
        if cap == " ":
            row, left, width = SPACE
        else:
            row, left, width = next((r, start + 4 * caps.index(cap), 4) for r, (caps, start) in enumerate(ROWS)
                                    if cap in caps)
        return ox + margin + (4 * left + 2 * width) * unit // 16, oy + margin + row * unit + unit // 2

    def click(self, cap, shift=False):
        x, y = self.centre(cap)
        self.wine.xdotool("mousemove", "--sync", x, y, "click", "3" if shift else "1")

    def picture(self):
        ox, oy, _, _ = self.geometry()
        width, height = (int(v) for v in self.facts["client"].split(","))
        return self.s.tray.x.grab(ox, oy, width, height)

    def follows(self, test, title, before=None, same_as=None, screenshot=None):
        """Waits for `title`; then for a picture other than `before`, or
        the same as `same_as`; returns the picture."""
        self.wait(title)
        if before == "unpainted":
            # The keys' face, at the centre of the space bar.
            x, y = self.centre(" ")
            ox, oy, _, _ = self.geometry()
            shown = wait_until(lambda: (p := self.picture())[y - oy][x - ox] == KEY_FACE and p,
                               what="the keys drawn")
        elif before is not None:
            shown = wait_until(lambda: (p := self.picture()) != before and p, what=f"new keys for {title!r}")
        else:
            shown = wait_until(lambda: (p := self.picture()) == same_as and p, what=f"the keys of {title!r}")
        test.assertEqual(self.facts["foreground"], "0", "the layout window is never activated")
        if screenshot:
            self.wine.screenshot(screenshot)
        return shown

    def stays_above(self, test, active):
        """Checks that the window lies above the active window (`active`,
        inspector facts) in the z-order."""
        facts = self.find(self.title)
        test.assertLess(int(facts["above"]), int(active["above"]), "the layout window stays on top")

    def close_box(self):
        """The centre of the close box: the right end of the caption."""
        left, top, right, _ = (int(v) for v in self.facts["rect"].split(","))
        ox, oy = (int(v) for v in self.facts["origin"].split(","))
        border = ox - left
        caption = oy - top - border
        return right - border - caption // 2 - 1, top + border + caption // 2


class LayoutWindowTest(unittest.TestCase):
    def test_clicks_type_into_the_focused_program_and_the_window_follows_every_change(self):
        with app_session(library="real", extra=("ansi_client.exe", "window_text.exe")) as wine:
            # Room for the layout window below the 8-bit client.
            make_the_desktop_the_default(wine, "1024x768")
            s = TraySession(wine, size="1024x768")
            board = LayoutWindow(s)
            try:
                client = AnsiClient(wine)
                s.menu("layout")()
                s.release()
                facts = board.wait(OFF)
                ex = int(facts["ex"], 16)
                self.assertEqual(ex & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE),
                                 WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)
                latin_keys = board.follows(self, OFF, before="unpainted")

                # A coding with translation off: Latin keys, and the title says so.
                s.screen.click(CP1251)
                board.follows(self, latin("CP1251", "typewriter"), same_as=latin_keys,
                              screenshot="layout-typewriter-latin.png")

                # Translation switched on by the toggle keys typed into Notepad.
                s.activate_notepad()
                right_shift = keycode(wine, "RTSH")
                wine.xdotool("keydown", "ctrl", "key", right_shift, "keyup", "ctrl")
                typewriter = board.follows(self, ukrainian("CP1251", "typewriter"), before=latin_keys,
                                           screenshot="layout-typewriter-ukrainian.png")

                # Ten keys, some with the right button (Shift), into Notepad,
                # which keeps the focus throughout.
                expected = ""
                for cap, shift in (("]", False), ("'", True), ("`", False), ("s", True), ("q", False),
                                   ("1", True), ("-", False), ("/", True), (" ", False), ("\\", False)):
                    with self.subTest(key=cap, shift=shift):
                        board.click(cap, shift)
                        expected += signs_of((2, 0), cap)[shift]
                        text = wait_until(lambda: len(t := notepad_text(wine)) >= len(expected) and t,
                                          what=f"{expected!r} in Notepad")
                        self.assertEqual(text, expected)
                        self.assertEqual(s.notepad()["foreground"], "1", "Notepad keeps the focus")
                self.assertEqual(expected, "ї\u0404ґ\u0406й#'( \\")
                board.stays_above(self, s.notepad())

                # The layout chosen in the window: other keys; ї is now on /.
                s.screen.click(PHONETIC)
                phonetic = board.follows(self, ukrainian("CP1251", "phonetic"), before=typewriter,
                                         screenshot="layout-phonetic-ukrainian.png")
                s.activate_notepad()
                board.click("/")
                wait_until(lambda: notepad_text(wine) == expected + "ї", what="ї in Notepad")

                # The other coding: another title, the same signs.
                s.screen.click(KOI8)
                board.follows(self, ukrainian("KOI8", "phonetic"), same_as=phonetic)

                # The 8-bit client gets the KOI8 table's bytes, each with its
                # key's scan code.
                placed = wait_until(lambda: (w := s.inspector.top(ANSI_TITLE)) and w[0], what="the 8-bit client")
                left, top, right, bottom = (int(v) for v in placed["rect"].split(","))
                wine.xdotool("mousemove", "--sync", (left + right) // 2, (top + bottom) // 2, "click", "1")
                wait_until(lambda: (st := client.state())["foreground"] == 1 and st["focus"] == 1,
                           what="the client active")
                keys = (("g", False), ("/", False), ("/", True), ("'", True), ("q", False), ("z", True),
                        (".", False), ("`", True), ("1", False), ("\\", True))
                wanted = []
                for cap, shift in keys:
                    with self.subTest(client_key=cap, shift=shift):
                        board.click(cap, shift)
                        [(kind, code, lparam)] = client.chars(1)
                        self.assertEqual(kind, "char")
                        wanted.append(byte_of((1, 1), cap, shift))
                        self.assertEqual(code, wanted[-1])
                        if cap not in UNTRANSLATED:
                            scan = next(k.scan for k in TABLES[1, 1] if k.cap == cap.upper())
                            self.assertEqual(scan_of(lparam), scan)
                self.assertEqual(client.text(), bytes(wanted))
                self.assertEqual(client.state()["foreground"], 1, "the client keeps the focus")
                board.stays_above(self, s.inspector.top(ANSI_TITLE)[0])

                # Translation switched off by the toggle keys: Latin keys
                # again, and the client gets Latin letters.
                wine.xdotool("keydown", "ctrl", "key", "Shift_L", "keyup", "ctrl")
                board.follows(self, latin("KOI8", "phonetic"), same_as=latin_keys,
                              screenshot="layout-phonetic-latin.png")
                board.click("q", True)
                self.assertEqual(client.chars(1)[0][1], ord("Q"))

                s.screen.click(DISABLE)
                board.follows(self, OFF, same_as=latin_keys)
                client.close(timeout=10)
            finally:
                wine.screenshot("layout-window-end.png")
                s.close()

    def test_the_close_box_closes_it_the_menu_opens_it_again_and_the_caption_moves_it(self):
        with app_session(library="real", extra=("window_text.exe",)) as wine:
            make_the_desktop_the_default(wine)
            s = TraySession(wine)
            board = LayoutWindow(s)
            try:
                s.menu("layout")()
                s.release()
                where = board.wait(OFF)["rect"]
                wine.xdotool("mousemove", "--sync", *board.close_box(), "click", "1")
                wait_until(lambda: board.find(OFF) is None, what="the layout window closed")
                s.menu("layout")()
                s.release()
                self.assertEqual(board.wait(OFF)["rect"], where, "opened again where it was")

                s.activate_notepad()
                left, top, right, bottom = (int(v) for v in where.split(","))
                ox, oy = (int(v) for v in board.facts["origin"].split(","))
                x, y = left + 40, (top + oy) // 2
                wine.xdotool("mousemove", "--sync", x, y, "mousedown", "1")
                wine.xdotool("mousemove", "--sync", x + 30, y - 90)
                wine.xdotool("mousemove", "--sync", x + 50, y - 150, "mouseup", "1")
                moved = f"{left + 50},{top - 150},{right + 50},{bottom - 150}"
                wait_until(lambda: board.find(OFF)["rect"] == moved, what=f"the window moved to {moved}")
                self.assertEqual(s.notepad()["foreground"], "1", "Notepad keeps the focus")
                board.wait(OFF)
                board.click("q")
                wait_until(lambda: notepad_text(wine) == "q", what="q typed into Notepad")
                self.assertEqual(s.notepad()["foreground"], "1")
            finally:
                s.close()


if __name__ == "__main__":
    unittest.main()

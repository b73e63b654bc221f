"""Vyrtel's icon in the notification area, on a Wine virtual desktop that
has a taskbar, with the real Tavrilex.dll: each of its three looks compared
pixel by pixel with the icon resource it should show; every way the typing
mode changes (Ctrl+Shift, Scroll Lock and Num Lock typed in Notepad, a
coding clicked in the window or chosen from the icon's menu) reaching the
icon within 100 ms; a click on the icon restoring the minimised window; a
re-created taskbar getting the icon back; Exit taking it away.

The icon's pixels are read straight from the X display (x_pixels.py), a
fraction of a millisecond per look, and the timed key or button event is
sent on the same connection, so each delay runs from the event (a key going
down, a button let go, as a button acts then) to the icon showing the new
look.
"""

import struct
import subprocess
import sys
import time
import unittest

from hooklib_support import make_scroll_lock_a_lock_key
from pe_image import RT_GROUP_ICON, RT_ICON, PeImage
from program_ids import ID
from test_app import (CP1251, DISABLE, KOI8, LEFT_RIGHT, MINIMIZE, NUM_LOCK, SCROLL_LOCK, Inspector, Screen, Vyrtel,
                      app_session)
from test_e2e import keycode
from winetest import WINE, Pixels, WaitTimeout, built, wait_until
from x_pixels import XScreen

# Wine gives a virtual desktop of this name a taskbar, with its notification
# area at the right end.
DESKTOP = "shell"
DEADLINE = 0.100  # seconds from key or click to the new look
ICON_GROUPS = {"off": ID["IDI_MODE_OFF"], "latin": ID["IDI_MODE_LATIN"], "ukrainian": ID["IDI_MODE_UKRAINIAN"]}
SIZE = 16
NOTEPAD = "Untitled - Notepad"
# The icon menu's items, from the top: Show Vyrtel, Show layout, Mend words
# automatically, (separator), KOI8, CP1251, Disable, (separator), Exit. Down
# arrows from no selection reach them.
MENU_DOWNS = {"show": 1, "layout": 2, "automend": 3, "koi8": 4, "cp1251": 5, "disable": 6, "exit": 7}


def icon_looks():
    """{look: {(x, y): (r, g, b)}} of the opaque pixels of each look's 16 x 16
    image, as Vyrtel.exe carries it."""
    data = {(r.type, r.id): r.data for r in PeImage(built("Vyrtel.exe")).resources()}
    looks = {}
    for look, group_id in ICON_GROUPS.items():
        group = data[RT_GROUP_ICON, group_id]
        count = struct.unpack_from("<H", group, 4)[0]
        entries = [(group[6 + 14 * i], struct.unpack_from("<H", group, 6 + 14 * i + 12)[0]) for i in range(count)]
        image_id = next(image for width, image in entries if width == SIZE)
        looks[look] = decode_icon(data[RT_ICON, image_id])
    return looks


def decode_icon(dib):
    """The opaque pixels of a 16-colour icon image: its colour bits, then its
    AND mask (1: transparent), both bottom-up."""
    width, bits = struct.unpack_from("<I", dib, 4)[0], struct.unpack_from("<H", dib, 14)[0]
    assert (width, bits) == (SIZE, 4)
    palette = 40
    colours = palette + 4 * 16
    stride = (width * bits + 31) // 32 * 4
    mask = colours + stride * SIZE
    mask_stride = (width + 31) // 32 * 4
    pixels = {}
    for y in range(SIZE):
        row = SIZE - 1 - y
        for x in range(SIZE):
            if dib[mask + mask_stride * row + x // 8] & (0x80 >> (x % 8)):
                continue
            byte = dib[colours + stride * row + x // 2]
            index = byte >> 4 if x % 2 == 0 else byte & 0x0F
            blue, green, red = dib[palette + 4 * index:palette + 4 * index + 3]
            pixels[x, y] = (red, green, blue)
    return pixels


def shows(rows, left, top, look):
    return all(rows[top + y][left + x] == colour for (x, y), colour in look.items())


def add_registry_values(wine, key, values, kind="REG_SZ"):
    for name, value in values:
        subprocess.run([WINE, "reg", "add", key, "/v", name, "/t", kind, "/d", str(value), "/f"], env=wine.env,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120,
                       check=True)


def make_the_desktop_the_default(wine, size="800x600"):
    """Programs started without a desktop of their own start on DESKTOP,
    where the library's hook reaches them."""
    add_registry_values(wine, "HKCU\\Software\\Wine\\Explorer", [("Desktop", DESKTOP)])
    add_registry_values(wine, "HKCU\\Software\\Wine\\Explorer\\Desktops", [(DESKTOP, size)])


def start_notepad(wine, place=(400, 40, 360, 240)):
    """Starts Notepad on DESKTOP at `place` (left, top, width, height), to
    the right of Vyrtel's window, whose controls stay in sight: Notepad
    opens where it was last closed."""
    add_registry_values(wine, "HKCU\\Software\\Microsoft\\Notepad",
                        zip(("iWindowPosX", "iWindowPosY", "iWindowPosDX", "iWindowPosDY"), place), "REG_DWORD")
    proc = subprocess.Popen([WINE, "explorer", f"/desktop={DESKTOP}", "notepad.exe"], env=wine.env,
                            cwd=wine.appdir, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    wine.processes.append(proc)
    return proc


class Tray:
    """The notification area of the desktop, read from the X display."""

    def __init__(self, wine, desk):
        self.wine = wine
        self.x = XScreen(wine.display)
        self.looks = icon_looks()
        self.desk = wine.geometry(desk)
        self.place = None

    def close(self):
        self.x.__exit__()

    def strip(self):
        """The right end of the taskbar: (left, top, rows)."""
        x, y, width, height = self.desk
        left, top = x + width - 240, y + height - 40
        return left, top, self.x.grab(left, top, 240, 40)

    def find(self, look):
        """Where the taskbar shows `look`, as (x, y) on the screen, or None."""
        left, top, rows = self.strip()
        wanted = self.looks[look]
        for y in range(len(rows) - SIZE + 1):
            for x in range(len(rows[0]) - SIZE + 1):
                if shows(rows, x, y, wanted):
                    return left + x, top + y
        return None

    def locate(self, look, timeout=20):
        self.place = wait_until(lambda: self.find(look), timeout, what=f"the icon showing {look}")
        return self.place

    def showing(self, look):
        x, y = self.place
        return shows(self.x.grab(x, y, SIZE, SIZE), 0, 0, self.looks[look])

    def wait_look(self, look, since, timeout=5):
        """Seconds from `since` (time.monotonic) until the icon shows `look`."""
        deadline = time.monotonic() + timeout
        while not self.showing(look):
            if time.monotonic() > deadline:
                raise WaitTimeout(f"the icon did not come to show {look} in {timeout}s")
            time.sleep(0.001)
        return time.monotonic() - since

    def centre(self):
        x, y = self.place
        return x + SIZE // 2, y + SIZE // 2

    def open_menu(self, item):
        """Opens the icon's menu with a right click and moves to `item`."""
        x, y = self.centre()
        above = (x - 60, y - 60)
        before = self.x.grab(*above, 8, 8)
        # No X focus change while the menu is open: Wine would take it for
        # another activation and the menu would get no keys.
        self.wine.xdotool("mousemove", "--sync", x, y, "click", "3")
        wait_until(lambda: self.x.grab(*above, 8, 8) != before, what="the icon's menu open")
        self.wine.key(*["Down"] * MENU_DOWNS[item])


class TraySession:
    """Vyrtel.exe with the real library on the desktop with a taskbar, its
    icon found showing "off", and Notepad on the same desktop."""

    def __init__(self, wine, notepad=True, size="800x600"):
        self.wine = wine
        self.run = Vyrtel(wine, desktop=f"{DESKTOP},{size}")
        self.desk_window = wine.wait_window("Wine desktop")
        self.inspector = Inspector(wine, desktop=DESKTOP)
        self.frame = wait_until(lambda: (f := self.inspector.frame()) and f["visible"] == "1" and f,
                                what="Vyrtel's window")
        self.screen = Screen(wine, self.inspector)
        self.tray = Tray(wine, self.desk_window)
        self.tray.locate("off")
        self.delays = []
        if notepad:
            start_notepad(wine)
            wait_until(lambda: self.notepad(), what="Notepad's window")

    def notepad(self):
        windows = [w for w in self.inspector.top(NOTEPAD) if w["visible"] == "1"]
        return windows[0] if windows else None

    def activate_notepad(self):
        """Clicks into Notepad's text, as a user does before typing there."""
        left, top, right, bottom = (int(v) for v in self.notepad()["rect"].split(","))
        self.wine.focus(self.desk_window)
        self.wine.xdotool("mousemove", "--sync", (left + right) // 2, (top + bottom) // 2, "click", "1")
        wait_until(lambda: self.notepad()["foreground"] == "1", what="Notepad in front")

    def timed(self, test, what, look, act):
        """Runs act() and checks that the icon shows `look` within the deadline."""
        start = time.monotonic()
        act()
        elapsed = self.tray.wait_look(look, start)
        self.delays.append((what, elapsed))
        test.assertLess(elapsed, DEADLINE, f"{what}: the icon showed {look} after {elapsed * 1000:.0f} ms")

    def menu(self, item, screenshot=None):
        """Opens the icon's menu with a right click and moves to `item`;
        returns the press of Return that chooses it, to be timed."""
        self.tray.open_menu(item)
        if screenshot:
            self.wine.screenshot(screenshot)
        return self.press("Return")

    def picture(self, test, look, name):
        """A screenshot whose icon corner shows `look`, pixel for pixel."""
        shot = Pixels(self.wine.screenshot(name))
        x, y = self.tray.place
        for (dx, dy), colour in self.tray.looks[look].items():
            test.assertEqual(shot.pixel(x + dx, y + dy), colour, f"{name}: pixel {dx},{dy} of the {look} look")

    def click(self, control):
        """A click on a control of the window, to be timed from the release,
        where a button acts: the pointer is moved there and pressed first."""
        x, y = self.screen.centres[str(control)]
        self.wine.xdotool("mousemove", "--sync", x, y, "mousedown", "1")
        return lambda: self.tray.x.button(1, False)

    def press(self, key):
        """A key press (keysym name or keycode) to be timed from the key
        going down; it is let go after the icon changed (release())."""
        self.released = key
        return lambda: self.tray.x.key(key, True)

    def release(self):
        self.tray.x.key(self.released, False)

    def report(self):
        for what, elapsed in self.delays:
            print(f"tray delay: {elapsed * 1000:6.1f} ms  {what}", file=sys.stderr)

    def close(self):
        self.tray.close()


class TrayIconTest(unittest.TestCase):
    def test_every_way_the_mode_changes_reaches_the_icon_within_100_ms(self):
        with app_session(library="real") as wine:
            # Before the first program reads the keyboard map.
            make_scroll_lock_a_lock_key(wine)
            s = TraySession(wine)
            try:
                right_shift = keycode(wine, "RTSH")
                s.picture(self, "off", "tray_off.png")
                self.assertEqual(s.inspector.checks()[DISABLE], 1)

                s.timed(self, "KOI8 clicked in the window", "latin", s.click(KOI8))
                s.picture(self, "latin", "tray_latin.png")

                s.activate_notepad()
                wine.xdotool("keydown", "ctrl")
                s.timed(self, "Ctrl+Right Shift in Notepad", "ukrainian", s.press(right_shift))
                s.release()
                wine.xdotool("keyup", "ctrl")
                s.picture(self, "ukrainian", "tray_ukrainian.png")
                wine.xdotool("keydown", "ctrl")
                s.timed(self, "Ctrl+Left Shift in Notepad", "latin", s.press("Shift_L"))
                s.release()
                wine.xdotool("keyup", "ctrl")

                for method, key in ((SCROLL_LOCK, "Scroll_Lock"), (NUM_LOCK, "Num_Lock")):
                    with self.subTest(key=key):
                        # Chosen with the lock off: typing stays Latin.
                        s.screen.click(method)
                        wait_until(lambda: s.inspector.checks()[method] == 1, what=f"{key} chosen")
                        self.assertTrue(s.tray.showing("latin"))
                        s.activate_notepad()
                        s.timed(self, f"{key} on in Notepad", "ukrainian", s.press(key))
                        s.release()
                        s.timed(self, f"{key} off in Notepad", "latin", s.press(key))
                        s.release()

                # Back to Ctrl+Shift, whose switch is off.
                s.screen.click(LEFT_RIGHT)
                wait_until(lambda: s.inspector.checks()[LEFT_RIGHT] == 1, what="Ctrl+Shift chosen")
                self.assertTrue(s.tray.showing("latin"))

                # The icon's menu acts through the same model as the window,
                # whose marks follow.
                s.timed(self, "Disable chosen from the icon's menu", "off", s.menu("disable", "tray_menu.png"))
                s.release()
                wait_until(lambda: s.inspector.checks()[DISABLE] == 1, what="Disable marked in the window")
                s.timed(self, "CP1251 chosen from the icon's menu", "latin", s.menu("cp1251"))
                s.release()
                checks = wait_until(lambda: (c := s.inspector.checks())[CP1251] == 1 and c,
                                    what="CP1251 marked in the window")
                self.assertEqual((checks[KOI8], checks[DISABLE]), (0, 0))
            finally:
                s.report()
                s.close()

    def test_a_click_restores_the_window_a_new_taskbar_gets_the_icon_back_and_exit_takes_it_away(self):
        with app_session(library="real", extra=("taskbar_poker.exe",)) as wine:
            s = TraySession(wine, notepad=False)
            try:
                s.screen.click(MINIMIZE)
                wait_until(lambda: s.inspector.frame()["iconic"] == "1", what="the window minimised")
                self.assertTrue(s.tray.showing("off"), "the icon stays while the window is minimised")
                x, y = s.tray.centre()
                wine.xdotool("mousemove", "--sync", x, y, "click", "1")
                wait_until(lambda: (f := s.inspector.frame())["iconic"] == "0" and f["foreground"] == "1",
                           what="the window restored and in front")

                # The taskbar forgets the icon, as one that is re-created
                # does; announcing the new taskbar brings the icon back.
                hwnd = s.frame["hwnd"]
                code, out, _ = wine.run("taskbar_poker.exe", DESKTOP, "forget", hwnd, 1)
                self.assertEqual((code, out.strip()), (0, "forget 1"))
                wait_until(lambda: s.tray.find("off") is None, what="the icon gone from the taskbar")
                code, out, _ = wine.run("taskbar_poker.exe", DESKTOP, "announce")
                self.assertEqual((code, out.strip()), (0, "announce 1"))
                place = s.tray.place
                self.assertEqual(s.tray.locate("off"), place, "in its old place")

                # Exit from the icon's menu ends the program as the window's
                # Exit does: window and icon gone.
                s.menu("exit")()
                s.release()
                wait_until(lambda: s.inspector.frame() is None, what="the window gone")
                wait_until(lambda: all(s.tray.find(look) is None for look in ICON_GROUPS),
                           what="the icon gone from the taskbar")
            finally:
                s.close()


if __name__ == "__main__":
    unittest.main()

"""Vyrtel used as a user uses it, end to end: Vyrtel.exe with the real
Tavrilex.dll, every choice made by clicking its dialog, translation switched
on and off with each toggle method typed on the keyboard, and every one of
the 46 keys typed plain, with Shift, with Caps Lock and with both into a
separate ANSI program: a window with an edit control whose text is read back
as bytes (tests/win32/e2e/ansi_client.cpp).

What must arrive is read independently of the program: from the source of
the four tables (layouts/builtin_tables.h), whose every line holds the two
signs the key gives and names the key cap, and whose bytes are checked here
against those signs through Python's own KOI8-U and Windows-1251 codecs.

The helpers here (E2E, AnsiClient, the table reading) serve every test_e2e*
and test_load* module.
"""

import contextlib
import os
import queue
import re
import subprocess
import time
import unittest

from hooklib_support import Driver, Program, make_scroll_lock_a_lock_key
from test_app import (CP1251, CYCLED, DISABLE, EXIT, KOI8, LEFT_RIGHT, NUM_LOCK, PHONETIC, SCROLL_LOCK, TYPEWRITER,
                      Inspector, Screen, Vyrtel, app_session, marks)
from winetest import WaitTimeout, wait_until

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TABLE_SOURCE = os.path.join(REPO, "layouts", "builtin_tables.h")

# (coding, layout) as the dialog numbers them -> the table's name in the source.
TABLE_NAMES = {(1, 0): "kKoi8Typewriter", (1, 1): "kKoi8Phonetic",
               (2, 0): "kCp1251Typewriter", (2, 1): "kCp1251Phonetic"}
DRIVER_NAMES = {(1, 0): "koi8t", (1, 1): "koi8p", (2, 0): "cp1251t", (2, 1): "cp1251p"}
CODEC = {1: "koi8_u", 2: "cp1251"}
# The KOI8 tables store ґ/Ґ as B1/B2, not as KOI8-U's AD/BD.
KOI8_EXCEPTIONS = {"ґ": 0xB1, "Ґ": 0xB2}

# Each key cap of the US keyboard as the table source shows it: the X key
# name xdotool types it by, and the US Latin characters it gives without and
# with Shift (what arrives while nothing translates).
US_KEYS = {
    "1": ("1", "1!"), "2": ("2", "2@"), "3": ("3", "3#"), "4": ("4", "4$"), "5": ("5", "5%"),
    "6": ("6", "6^"), "7": ("7", "7&"), "8": ("8", "8*"), "9": ("9", "9("), "0": ("0", "0)"),
    "-": ("minus", "-_"), "=": ("equal", "=+"),
    "[": ("bracketleft", "[{"), "]": ("bracketright", "]}"), ";": ("semicolon", ";:"),
    "'": ("apostrophe", "'\""), "`": ("grave", "`~"), ",": ("comma", ",<"), ".": ("period", ".>"),
    "/": ("slash", "/?"),
}
for _letter in "QWERTYUIOPASDFGHJKLZXCVBNM":
    US_KEYS[_letter] = (_letter.lower(), _letter.lower() + _letter)

ANSI_TITLE = "Vyrtel ANSI client"
CHAR_LINES = ("char ", "syschar ")


class Key:
    """One key of a built-in table, with what the source's comment says of it."""

    def __init__(self, scan, caps_flag, unshifted, shifted, cap, signs):
        self.scan, self.caps_flag, self.unshifted, self.shifted = scan, caps_flag, unshifted, shifted
        self.cap, self.signs = cap, signs
        self.keysym, self.latin = US_KEYS[cap]

    def byte(self, shift=False, caps_lock=False):
        """The byte the key gives: Caps Lock inverts Shift on letter keys."""
        return self.shifted if shift != (caps_lock and self.caps_flag != 0) else self.unshifted

    def letter(self, shift=False, caps_lock=False):
        """The character a Unicode window receives for the key: the sign
        chosen as the byte is."""
        return ord(self.signs[1 if shift != (caps_lock and self.caps_flag != 0) else 0])

    def entry(self):
        return (self.scan, self.caps_flag, self.unshifted, self.shifted)


_SIGN = r"u'(\\.|[^'])'"
_ENTRY = re.compile(r"\{(0x[0-9A-Fa-f]+),\s*(kLetter|kSign),\s*(0x[0-9A-Fa-f]+),\s*(0x[0-9A-Fa-f]+),\s*"
                    + _SIGN + r",\s*" + _SIGN + r"\},\s*//\s*(\S+)")


def _sign(literal):
    return literal[1:] if literal.startswith("\\") else literal


def _keys(block):
    return [Key(int(scan, 16), 1 if flag == "kLetter" else 0, int(plain, 16), int(shifted, 16), cap,
                (_sign(s1), _sign(s2)))
            for scan, flag, plain, shifted, s1, s2, cap in _ENTRY.findall(block)]


def read_tables():
    """{(coding, layout): the 46 keys of that table, in stored order}."""
    with open(TABLE_SOURCE, encoding="utf-8") as f:
        source = f.read()
    digits = _keys(re.search(r"kDigitRow\[[^\]]*\] = \{(.*?)\n\};", source, re.S).group(1))
    tables = {}
    for choice, name in TABLE_NAMES.items():
        block = re.search(rf"LetterKeys {name}Keys = \{{(.*?)\n\}};", source, re.S).group(1)
        tables[choice] = digits + _keys(block)
    return tables


TABLES = read_tables()


def entries(choice):
    """The 47 entries handed to the library: the 46 keys and the zero entry."""
    return [key.entry() for key in TABLES[choice]] + [(0, 0, 0, 0)]


class AnsiClient(Program):
    """ansi_client.exe: an ANSI window with an edit control."""

    def __init__(self, wine, title=ANSI_TITLE, env=None, password=False, option=None):
        """option: "linecopy" (see ansi_client.cpp); password: "password"."""
        option = "password" if password else option
        super().__init__(wine, "ansi_client.exe", title, *([option] if option else []), env=env)
        words = self.expect("ready ").split()
        self.hwnd, self.acp = int(words[1], 16), int(words[3])

    def state(self):
        return {k: int(v) for k, v in (word.split("=") for word in self.ask("state"))}

    def text(self):
        value = self.ask("text")[0]
        return b"" if value == "-" else bytes.fromhex(value)

    def clear(self):
        self.ask("clear")

    def chars(self, count, timeout=30):
        """The next `count` character messages, in the order they came:
        (kind, code, lParam), kind "char" (WM_CHAR) or "syschar" (WM_SYSCHAR)."""
        result = []
        deadline = time.monotonic() + timeout
        while len(result) < count:
            line = next((l for l in self.backlog if l.startswith(CHAR_LINES)), None)
            if line is not None:
                self.backlog.remove(line)
            else:
                try:
                    line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
                except queue.Empty:
                    raise WaitTimeout(f"{len(result)} of {count} characters arrived: {result}") from None
                if line is None:
                    self.lines.put(None)
                    raise AssertionError(f"the client ended (code {self.proc.wait()}) after {result}")
                if not line.startswith(CHAR_LINES):
                    self.backlog.append(line)
                    continue
            kind, code, _, lparam = line.split()
            result.append((kind, int(code), int(lparam, 16)))
        return result


@contextlib.contextmanager
def password_client(wine):
    """An ANSI client whose edit hides its text, focused by a click as a
    user focuses it; closed on leaving."""
    secret = AnsiClient(wine, title="Vyrtel password client", password=True)
    try:
        window = wine.wait_window("^Vyrtel password client$")
        wine.focus(window)
        x, y, width, height = wine.geometry(window)
        wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")
        wait_until(lambda: secret.state()["focus"] == 1 and secret.state()["foreground"] == 1,
                   what="the password edit focused")
        yield secret
    finally:
        secret.close(timeout=10)


def scan_of(lparam):
    return (lparam >> 16) & 0xFF


class E2E:
    """A session of Vyrtel.exe with the real library, seen and driven from
    outside: its dialog clicked on screen, its shared record read by
    tavrilex_driver.exe, and an ANSI client window to type into."""

    def __init__(self, wine, relay=False):
        self.wine = wine
        self.reader = Driver(wine)
        self.run = Vyrtel(wine, relay=relay)
        self.inspector = Inspector(wine)
        self.frame = wait_until(lambda: (f := self.inspector.frame()) and f["visible"] == "1" and f,
                                what="Vyrtel's window on screen")
        self.screen = Screen(self.wine, self.inspector)
        self.client = AnsiClient(wine)
        self.window = wine.wait_window(f"^{ANSI_TITLE}$")
        self.typed_chars = 0

    def close(self):
        """Ends the helper programs (the session ends whatever is left)."""
        for program in (self.client, self.inspector, self.reader):
            try:
                program.close(timeout=10)
            except Exception:
                program.kill()

    def choose(self, control, shown):
        """Clicks a control of the dialog and waits for its check marks
        (coding, toggle method, layout); returns the shared record."""
        self.screen.click(control)
        wait_until(lambda: self.inspector.checks() == marks(*shown),
                   what=f"the marks {shown}, have {self.inspector.checks()}")
        return self.reader.record()

    def activate_client(self):
        """Makes the client the active window, as a user does by clicking
        it, with its edit control focused."""
        self.wine.focus(self.window)
        if self.client.state()["foreground"] != 1:
            x, y, width, height = self.wine.geometry(self.window)
            self.wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")
            wait_until(lambda: (s := self.client.state())["foreground"] == 1 and s["focus"] == 1,
                       what="the client active with its edit control focused")

    def type(self, *keys, chars=None, delay=20):
        """Types keys (xdotool names) into the client; returns the `chars`
        character messages they bring (by default one per key), and checks
        that no more came."""
        count = len(keys) if chars is None else chars
        self.wine.xdotool("key", "--delay", delay, *keys)
        arrived = self.client.chars(count)
        self.typed_chars += count
        total = self.client.state()["chars"]
        if total != self.typed_chars:
            raise AssertionError(f"{total - self.typed_chars} character messages more than typed after {keys}")
        return arrived

    def keys(self, combination):
        """A key combination for xdotool, "right" meaning the right Shift key."""
        return "+".join(str(self.right_shift) if part == "right" else part for part in combination.split("+"))

    def lock(self, key, name, on):
        """Presses a lock key in the client; waits until its thread sees the
        lock in the wanted state."""
        self.wine.xdotool("key", key)
        wait_until(lambda: self.client.state()[name] == int(on), what=f"{key} {'on' if on else 'off'}")


def keycode(wine, name):
    """The X keycode of a key, by its XKB name (e.g. "RTSH", right Shift).
    xdotool types a modifier named by keysym together with left Shift
    (its level lookup asks for Shift), so a lone right Shift must be typed
    by keycode."""
    keymap = subprocess.run(["xkbcomp", "-xkb", wine.display, "-"], env=wine.env, check=True, timeout=30,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
    return int(re.search(rf"<{name}>\s*=\s*(\d+);", keymap).group(1))


@contextlib.contextmanager
def e2e_session(beeps=False, **options):
    """beeps: Vyrtel.exe's Beep calls are reported (see Vyrtel.beeps())."""
    if beeps:
        options["relay"] = ("kernel32.Beep", "kernelbase.Beep")
    with app_session(library="real", extra=("ansi_client.exe", "tavrilex_driver.exe", "window_text.exe",
                                            "clipboard_tool.exe"), **options) as wine:
        # Before the first program reads the keyboard map.
        make_scroll_lock_a_lock_key(wine)
        desk = E2E(wine, relay=beeps)
        try:
            desk.right_shift = keycode(wine, "RTSH")
            yield desk
        finally:
            desk.close()


class TableSourceTest(unittest.TestCase):
    """The expectations below come from the table source; this checks that
    reading against the signs each line names, through Python's codecs."""

    def test_every_byte_is_its_sign_in_the_table_code_page(self):
        for (coding, layout), keys in TABLES.items():
            with self.subTest(table=TABLE_NAMES[coding, layout]):
                self.assertEqual(len(keys), 46)
                self.assertEqual(len({key.scan for key in keys}), 46)
                self.assertEqual(sorted(key.cap for key in keys), sorted(US_KEYS))
                letters = [key.signs[0] for key in keys if key.caps_flag]
                self.assertEqual(len(letters), 33, "each of the 33 letters on one key")
                self.assertEqual(len(set(letters)), 33)
                for key in keys:
                    self.assertEqual(key.caps_flag == 1, key.signs[0].isalpha(), key.cap)
                    for sign, byte in zip(key.signs, (key.unshifted, key.shifted)):
                        expected = KOI8_EXCEPTIONS.get(sign) if coding == 1 else None
                        if expected is None:
                            expected = sign.encode(CODEC[coding])[0]
                        self.assertEqual(byte, expected, f"{key.cap} {sign}")
        for layout in (0, 1):
            self.assertEqual([k.signs for k in TABLES[1, layout]], [k.signs for k in TABLES[2, layout]],
                             "both codings of a layout give the same signs")


# The four tables, each chosen by clicks and switched on and off by another
# toggle method typed in the client: (table, the clicks, the marks they
# leave (coding, method, layout), the keys that switch on, those that switch
# off, the lock key whose state is the switch, if any). "right" is the
# right Shift key.
ROUNDS = [
    ((1, 0), [KOI8, SCROLL_LOCK], (1, 0, 0), "Scroll_Lock", "Scroll_Lock", "scroll"),
    ((1, 1), [PHONETIC, CYCLED], (1, 2, 1), "ctrl+Shift_L", "ctrl+right", None),
    ((2, 0), [CP1251, TYPEWRITER, LEFT_RIGHT], (2, 3, 0), "ctrl+right", "ctrl+Shift_L", None),
    ((2, 1), [PHONETIC, NUM_LOCK], (2, 1, 1), "Num_Lock", "Num_Lock", "num"),
]


class TypingTest(unittest.TestCase):
    def check_keys(self, desk, keys, shift, caps_lock, expect):
        """Types every key (with Shift if asked) into the emptied edit
        control; checks each character message and the text it leaves."""
        desk.client.clear()
        typed = [("shift+" if shift else "") + key.keysym for key in keys]
        arrived = desk.type(*typed)
        self.assertEqual([(kind, scan_of(lparam)) for kind, _, lparam in arrived],
                         [("char", key.scan) for key in keys], "one WM_CHAR per key, with its scan code")
        wanted = bytes(expect(key) for key in keys)
        self.assertEqual(bytes(code for _, code, _ in arrived), wanted,
                         f"shift={shift} caps_lock={caps_lock}: messages")
        self.assertEqual(desk.client.text(), wanted, f"shift={shift} caps_lock={caps_lock}: the edit control")

    def test_every_key_of_every_layout_with_each_toggle_method(self):
        with e2e_session() as desk:
            self.assertEqual(desk.client.acp, 1252, "the ANSI code page of a default prefix")
            record = desk.reader.record()
            self.assertEqual((record.hook, record.method, record.switch), (0, 3, 0), "the start state")
            desk.activate_client()
            self.assertEqual({k: desk.client.state()[k] for k in ("caps", "num", "scroll")},
                             {"caps": 0, "num": 0, "scroll": 0}, "no lock key on at the start")
            for choice, clicks, shown, switch_on, switch_off, lock in ROUNDS:
                with self.subTest(table=TABLE_NAMES[choice]):
                    coding, method, layout = shown
                    # Each click shows its own outcome; the last shows all three.
                    current = desk.inspector.checks()
                    for control in clicks:
                        desk.screen.click(control)
                        wait_until(lambda: desk.inspector.checks() != current,
                                   what=f"the click on control {control} shown")
                        current = desk.inspector.checks()
                    wait_until(lambda: desk.inspector.checks() == marks(*shown), what=f"the marks {shown}")
                    record = desk.reader.record()
                    self.assertNotEqual(record.hook, 0)
                    self.assertEqual((record.method, record.count), (method, 47))
                    self.assertEqual(record.entries[:47], entries(choice), "the table in force")
                    self.assertEqual(desk.reader.table(DRIVER_NAMES[choice]), entries(choice),
                                     "the table source as read here is the one compiled")
                    keys = TABLES[choice]

                    # Chosen, but not yet switched on: Latin.
                    desk.activate_client()
                    self.check_keys(desk, keys, False, False, lambda key: ord(key.latin[0]))
                    if lock:
                        desk.lock(switch_on, lock, True)
                    else:
                        desk.wine.xdotool("key", desk.keys(switch_on))
                        wait_until(lambda: desk.reader.record().switch == 1, what="the switch on")
                    for shift, caps_lock in ((False, False), (True, False), (False, True), (True, True)):
                        if caps_lock:
                            desk.lock("Caps_Lock", "caps", True)
                        self.check_keys(desk, keys, shift, caps_lock,
                                        lambda key: key.byte(shift, caps_lock))
                        if not shift and not caps_lock:
                            desk.wine.screenshot(f"e2e-typed-{DRIVER_NAMES[choice]}.png")
                        if caps_lock:
                            desk.lock("Caps_Lock", "caps", False)
                    if lock:
                        desk.lock(switch_off, lock, False)
                    else:
                        desk.wine.xdotool("key", desk.keys(switch_off))
                        wait_until(lambda: desk.reader.record().switch == 0, what="the switch off")
                    self.check_keys(desk, keys, True, False, lambda key: ord(key.latin[1]))


# Keys that no table may change: the keypad slash (same scan code as the
# slash key, but extended), Ctrl and Alt combinations. What each gives
# without any hook: (message, character, scan code, lParam flags).
EXTENDED, ALT = 1 << 24, 1 << 29
PASSING = [
    ("KP_Divide", ("char", ord("/"), 0x35, EXTENDED)),
    ("ctrl+q", ("char", 0x11, 0x10, 0)),
    ("ctrl+w", ("char", 0x17, 0x11, 0)),
    ("ctrl+bracketleft", ("char", 0x1B, 0x1A, 0)),
    ("ctrl+bracketright", ("char", 0x1D, 0x1B, 0)),
    ("alt+q", ("syschar", ord("q"), 0x10, ALT)),
    ("alt+1", ("syschar", ord("1"), 0x02, ALT)),
    ("alt+grave", ("syschar", ord("`"), 0x29, ALT)),
    ("alt+slash", ("syschar", ord("/"), 0x35, ALT)),
]


class PassingAndLeavingTest(unittest.TestCase):
    def test_keypad_slash_ctrl_and_alt_pass_and_disable_and_exit_leave_no_hook(self):
        with e2e_session() as desk:
            desk.activate_client()
            combinations = [keys for keys, _ in PASSING]
            untouched = desk.type(*combinations)
            self.assertEqual([(kind, code, scan_of(lparam), lparam & (EXTENDED | ALT))
                              for kind, code, lparam in untouched], [what for _, what in PASSING])

            # Under every table, switched on: the slash key translates, the
            # rest arrives exactly as without the hook.
            clicks = {(1, 0): (KOI8, (1, 3, 0)), (1, 1): (PHONETIC, (1, 3, 1)),
                      (2, 1): (CP1251, (2, 3, 1)), (2, 0): (TYPEWRITER, (2, 3, 0))}
            for choice, (control, shown) in clicks.items():
                with self.subTest(table=TABLE_NAMES[choice]):
                    self.assertNotEqual(desk.choose(control, shown).hook, 0)
                    desk.activate_client()
                    if choice == (1, 0):
                        desk.wine.xdotool("key", desk.keys("ctrl+right"))
                        wait_until(lambda: desk.reader.record().switch == 1, what="the switch on")
                    slash = next(key for key in TABLES[choice] if key.cap == "/")
                    self.assertEqual(desk.type("slash"), [("char", slash.byte(), 0x350001)])
                    self.assertEqual(desk.type(*combinations), untouched)

            # "Disable" removes the hook though the switch stays on: Latin.
            record = desk.choose(DISABLE, (0, 3, 0))
            self.assertEqual((record.hook, record.switch), (0, 1))
            desk.activate_client()
            keys = TABLES[2, 0]
            self.assertEqual(desk.type(*[key.keysym for key in keys]),
                             [("char", ord(key.latin[0]), key.scan << 16 | 1) for key in keys])
            self.assertNotEqual(desk.choose(KOI8, (1, 3, 0)).hook, 0)
            desk.activate_client()
            self.assertEqual(desk.type("q"), [("char", TABLES[1, 0][12].unshifted, 0x100001)], "back on")

            # Exit ends the program cleanly and takes the hook with it.
            desk.screen.click(EXIT)
            self.assertEqual(desk.run.exit_code(), 0)
            record = desk.reader.record()
            self.assertEqual((record.hook, record.switch), (0, 1))
            desk.activate_client()
            desk.client.clear()
            self.assertEqual([code for _, code, _ in desk.type(*[key.keysym for key in keys])],
                             [ord(key.latin[0]) for key in keys])
            self.assertEqual(desk.client.text(), bytes(ord(key.latin[0]) for key in keys))
            self.assertEqual(desk.type(*combinations), untouched)
            self.assertIsNone(desk.client.proc.poll(), "the client lives on")
            self.assertEqual(desk.wine.find_windows("^Vyrtel$"), [])


if __name__ == "__main__":
    unittest.main()

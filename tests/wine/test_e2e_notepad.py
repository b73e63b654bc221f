"""Ukrainian typed with Vyrtel.exe and the real library into Wine's own
Notepad, a Unicode program, under the ANSI code pages of three kinds of
Windows: Ukrainian or Russian (1251), Western (1252) and Japanese (932, a
double-byte code page); and, under 1251, into the ANSI edit window of
test_e2e.py.

Wine takes its ANSI code page from the language and territory of the locale
that LANG and LC_ALL name (uk_UA: 1251, en_US: 1252, ja_JP: 932), whether or
not the C library has that locale installed; the ANSI client reports
GetACP() to show it.

A Unicode window receives the letters themselves, whichever coding is
chosen and whatever the code page: the library holds the letters beside the
table's bytes. An ANSI program receives the table's bytes, through the
system's conversion of each message to its ANSI form.
"""

import subprocess
import unittest

from test_app import CP1251, KOI8, PHONETIC, TYPEWRITER
from test_e2e import DRIVER_NAMES, TABLE_NAMES, TABLES, e2e_session, scan_of
from winetest import WINE, wait_until

# Each table in an order that makes one click per table: (coding, layout),
# the dialog's control that leads there, and the marks shown then.
TABLE_TOUR = (((2, 0), CP1251, (2, 3, 0)), ((2, 1), PHONETIC, (2, 3, 1)),
              ((1, 1), KOI8, (1, 3, 1)), ((1, 0), TYPEWRITER, (1, 3, 0)))


def keys_for(text, keys):
    """xdotool keys that type `text` with a table's keys (space passes)."""
    typed = []
    for sign in text:
        if sign == " ":
            typed.append("space")
            continue
        key = next(key for key in keys if sign in key.signs)
        typed.append(("shift+" if sign == key.signs[1] and sign != key.signs[0] else "") + key.keysym)
    return typed


def every_key(keys, shift):
    return [("shift+" if shift else "") + key.keysym for key in keys]


def notepad_text(wine):
    """The text of Notepad's edit control, as its Unicode window holds it."""
    code, out, _ = wine.run("window_text.exe", "Notepad")
    if code != 0:
        raise AssertionError(f"window_text.exe found no Notepad: {out}")
    answer = dict(line.split(" ", 1) for line in out.splitlines())
    units = answer["wtext"].strip()
    return "" if units == "-" else "".join(chr(int(units[i:i + 4], 16)) for i in range(0, len(units), 4))


class Notepad:
    """Wine's Notepad, started in a session, typed into and read back."""

    def __init__(self, test, desk):
        self.test, self.desk, self.wine = test, desk, desk.wine
        wine = self.wine
        notepad = subprocess.Popen([WINE, "notepad.exe"], env=wine.env, cwd=wine.appdir,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        wine.processes.append(notepad)
        # Its title follows the locale's language; its X class is the program's name.
        self.window = wait_until(lambda: (wine.xdotool("search", "--onlyvisible", "--classname", "notepad.exe",
                                                       check=False).split() or [None])[0],
                                 what="Notepad's window")
        wine.xdotool("windowmove", self.window, 400, 420)
        self.expected = ""

    def activate(self):
        """Makes Notepad active as a user does, by clicking it, and puts the
        caret back at the end of the text (the click may land in it)."""
        self.wine.focus(self.window)
        x, y, width, height = self.wine.geometry(self.window)
        self.wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")
        self.wine.xdotool("key", "ctrl+End")

    def text(self):
        return notepad_text(self.wine)

    def type(self, keys, signs):
        """Types keys; checks that exactly the text so far, ending in
        `signs`, is read back."""
        self.wine.xdotool("key", "--delay", "20", *keys)
        self.expected += signs
        text = wait_until(lambda: len(t := self.text()) >= len(self.expected) and t,
                          what=f"{len(self.expected)} characters in Notepad")
        self.test.assertEqual(text, self.expected)

    def type_every_table(self):
        """Every key of each of the four tables, plain and then with Shift,
        each table chosen by clicking the dialog; translation switched on
        by Ctrl+right Shift typed into Notepad first."""
        desk = self.desk
        desk.choose(CP1251, (2, 3, 0))
        self.activate()
        self.wine.xdotool("key", desk.keys("ctrl+right"))
        wait_until(lambda: desk.reader.record().switch == 1, what="the switch on")
        for choice, control, shown in TABLE_TOUR:
            with self.test.subTest(table=TABLE_NAMES[choice]):
                desk.choose(control, shown)
                self.activate()
                keys = TABLES[choice]
                self.type(every_key(keys, False) + every_key(keys, True),
                          "".join(key.signs[0] for key in keys) + "".join(key.signs[1] for key in keys))


class UnicodeProgramTest(unittest.TestCase):
    """Notepad gets the letters of both codings and both layouts, plain and
    with Shift, under each kind of code page."""

    def check_code_page(self, locale, acp, screenshot):
        with e2e_session(codepage=locale) as desk:
            self.assertEqual(desk.client.acp, acp, "Wine's ANSI code page follows the locale")
            notepad = Notepad(self, desk)
            notepad.type_every_table()
            desk.wine.screenshot(screenshot)
            return desk, notepad

    def test_under_code_page_1252_both_codings_give_the_letters(self):
        # The last table typed is KOI8 typewriter: the screenshot shows it.
        self.check_code_page("en_US.UTF-8", 1252, "e2e-notepad-cp1252-koi8.png")

    def test_under_code_page_932_both_codings_give_the_letters(self):
        self.check_code_page("ja_JP.UTF-8", 932, "e2e-notepad-cp932.png")


class CodePage1251Test(unittest.TestCase):
    def test_notepad_gets_the_ukrainian_letters_and_an_ansi_program_the_table_bytes(self):
        with e2e_session(codepage="uk_UA.CP1251") as desk:
            wine = desk.wine
            self.assertEqual(desk.client.acp, 1251, "Wine's ANSI code page follows the locale")
            notepad = Notepad(self, desk)
            notepad.type_every_table()
            # A sentence typed as a person types it, in the phonetic layout.
            desk.choose(PHONETIC, (1, 3, 1))
            notepad.activate()
            sentence = "Ґава і їжак, Євген: 2 яблука"
            notepad.type(keys_for(sentence, TABLES[1, 1]), sentence)
            wine.screenshot("e2e-notepad-cp1251.png")

            # The ANSI client: the bytes of every table, KOI8 ones included,
            # come back exactly through the conversion to code page 1251.
            for choice, control, shown in (((1, 1), None, None), ((1, 0), TYPEWRITER, (1, 3, 0)),
                                           ((2, 0), CP1251, (2, 3, 0)), ((2, 1), PHONETIC, (2, 3, 1))):
                with self.subTest(table=TABLE_NAMES[choice]):
                    if control is not None:
                        desk.choose(control, shown)
                    self.assertEqual(desk.reader.record().entries[:46],
                                     [key.entry() for key in TABLES[choice]], DRIVER_NAMES[choice])
                    desk.activate_client()
                    keys = TABLES[choice]
                    for shift in (False, True):
                        desk.client.clear()
                        arrived = desk.type(*every_key(keys, shift))
                        self.assertEqual([scan_of(lparam) for _, _, lparam in arrived], [key.scan for key in keys])
                        wanted = bytes(key.byte(shift) for key in keys)
                        self.assertEqual(bytes(code for _, code, _ in arrived), wanted, f"shift={shift}")
                        self.assertEqual(desk.client.text(), wanted, f"shift={shift}: the edit control")


if __name__ == "__main__":
    unittest.main()

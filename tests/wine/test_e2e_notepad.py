"""Ukrainian typed under a Windows-1251 ANSI code page, with Vyrtel.exe and
the real library: into Wine's own Notepad, a Unicode program, and into the
ANSI edit window of test_e2e.py.

Wine takes its ANSI code page from the language and territory of the locale
that LANG and LC_ALL name (uk_UA: code page 1251), whether or not the C
library has that locale installed; the ANSI client reports GetACP() to show
it.

The hook is handed the Unicode form of every message and writes the
character that the table's byte stands for in the ANSI code page: under
code page 1251 with the CP1251 coding, Notepad receives the Ukrainian
letters themselves (й, not the é that the bare byte E9 would be), and an
ANSI program receives the table's bytes back through the system's
conversion of each message to its ANSI form, whichever coding is chosen.
"""

import subprocess
import unittest

from test_app import CP1251, KOI8, PHONETIC, TYPEWRITER
from test_e2e import DRIVER_NAMES, TABLE_NAMES, TABLES, e2e_session, scan_of
from winetest import WINE, wait_until

LOCALE = "uk_UA.CP1251"


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


class CodePage1251Test(unittest.TestCase):
    def test_notepad_gets_the_ukrainian_letters_and_an_ansi_program_the_table_bytes(self):
        with e2e_session(codepage=LOCALE) as desk:
            wine = desk.wine
            self.assertEqual(desk.client.acp, 1251, "Wine's ANSI code page follows the locale")

            notepad = subprocess.Popen([WINE, "notepad.exe"], env=wine.env, cwd=wine.appdir,
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, start_new_session=True)
            wine.processes.append(notepad)
            # Its title is in Ukrainian now; its X class is the program's name.
            window = wait_until(lambda: (wine.xdotool("search", "--onlyvisible", "--classname", "notepad.exe",
                                                      check=False).split() or [None])[0],
                                what="Notepad's window")
            wine.xdotool("windowmove", window, 400, 420)

            def activate_notepad():
                wine.focus(window)
                x, y, width, height = wine.geometry(window)
                wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")

            def notepad_text():
                code, out, _ = wine.run("window_text.exe", "Notepad")
                self.assertEqual(code, 0, out)
                answer = dict(line.split(" ", 1) for line in out.splitlines())
                units = answer["wtext"].strip()
                return "" if units == "-" else "".join(chr(int(units[i:i + 4], 16)) for i in range(0, len(units), 4))

            # Notepad: every key of both CP1251 layouts, plain and with
            # Shift, then a sentence; the text read back is the Ukrainian.
            desk.choose(CP1251, (2, 3, 0))
            activate_notepad()
            wine.xdotool("key", desk.keys("ctrl+right"))
            wait_until(lambda: desk.reader.record().switch == 1, what="the switch on")
            expected = ""
            for layout, control in ((0, TYPEWRITER), (1, PHONETIC)):
                with self.subTest(table=TABLE_NAMES[2, layout]):
                    desk.choose(control, (2, 3, layout))
                    activate_notepad()
                    keys = TABLES[2, layout]
                    wine.xdotool("key", "--delay", "20", *every_key(keys, False), *every_key(keys, True))
                    expected += "".join(key.signs[0] for key in keys) + "".join(key.signs[1] for key in keys)
                    text = wait_until(lambda: len(t := notepad_text()) >= len(expected) and t,
                                      what=f"{len(expected)} characters in Notepad")
                    self.assertEqual(text, expected)
            sentence = "Ґава і їжак, Євген: 2 яблука"
            wine.xdotool("key", "--delay", "30", *keys_for(sentence, TABLES[2, 1]))
            expected += sentence
            self.assertEqual(wait_until(lambda: len(t := notepad_text()) >= len(expected) and t,
                                        what="the sentence in Notepad"), expected)
            wine.screenshot("e2e-notepad-cp1251.png")

            # The ANSI client: the bytes of every table, KOI8 ones included,
            # come back exactly through the conversion to code page 1251.
            for choice, control, shown in (((2, 1), None, None), ((2, 0), TYPEWRITER, (2, 3, 0)),
                                           ((1, 0), KOI8, (1, 3, 0)), ((1, 1), PHONETIC, (1, 3, 1))):
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

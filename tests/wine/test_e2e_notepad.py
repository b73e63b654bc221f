"""Ukrainian typed into Wine's own Notepad under a Windows-1251 ANSI code
page, with the CP1251 coding chosen in Vyrtel.exe: what really arrives.

Wine takes its ANSI code page from the language and territory of the locale
that LANG and LC_ALL name (uk_UA: code page 1251), whether or not the C
library has that locale installed; the ANSI client reports GetACP() to show
it.

What happens then: Wine calls WH_GETMESSAGE hooks with the Unicode form of
every message, and converts to the ANSI form only afterwards, for programs
that retrieve with the A functions. The hook writes the table's code-page
byte, e.g. E9 for й, into that Unicode form, so a Unicode program such as
Notepad receives U+00E9 (é), not U+0439 (й): its text, read back as bytes
(each code unit below 0x100 taken as one byte) in code page 1251, is the
Ukrainian text typed, but it shows and stores as Latin-1 letters. An ANSI
program under code page 1251 fares no better: the conversion to ANSI maps
U+00E9 by code page 1251, which has no é, so it gets a substitute instead of
E9. Under code page 1252 (test_e2e.py) the conversion keeps every byte
A0..FF, and ANSI programs get the table bytes exactly.
"""

import subprocess
import unittest

from test_app import CP1251
from test_e2e import TABLES, e2e_session
from winetest import WINE, wait_until

LOCALE = "uk_UA.CP1251"
TEXT = "Ґава і їжак, Євген: 2 яблука"
ANSI_SAMPLE = "йцукен"


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


class NotepadTest(unittest.TestCase):
    def test_notepad_under_code_page_1251_gets_the_cp1251_bytes_as_code_units(self):
        with e2e_session(codepage=LOCALE) as desk:
            wine = desk.wine
            self.assertEqual(desk.client.acp, 1251, "Wine's ANSI code page follows the locale")
            keys = TABLES[2, 0]  # CP1251, typewriter

            notepad = subprocess.Popen([WINE, "notepad.exe"], env=wine.env, cwd=wine.appdir,
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, start_new_session=True)
            wine.processes.append(notepad)
            # Its title is in Ukrainian now; its X class is the program's name.
            window = wait_until(lambda: (wine.xdotool("search", "--onlyvisible", "--classname", "notepad.exe",
                                                      check=False).split() or [None])[0],
                                what="Notepad's window")
            wine.xdotool("windowmove", window, 400, 420)

            desk.choose(CP1251, (2, 3, 0))

            def activate():
                wine.focus(window)
                x, y, width, height = wine.geometry(window)
                wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")

            def notepad_text():
                code, out, _ = wine.run("window_text.exe", "Notepad")
                self.assertEqual(code, 0, out)
                answer = dict(line.split(" ", 1) for line in out.splitlines())
                units = answer["wtext"].strip()
                return [] if units == "-" else [int(units[i:i + 4], 16) for i in range(0, len(units), 4)]

            activate()
            wine.xdotool("key", desk.keys("ctrl+right"))
            wait_until(lambda: desk.reader.record().switch == 1, what="the switch on")
            wine.xdotool("key", "--delay", "30", *keys_for(TEXT, keys))
            units = wait_until(lambda: len(u := notepad_text()) == len(TEXT) and u,
                               what=f"{len(TEXT)} characters in Notepad")
            wine.screenshot("e2e-notepad-cp1251.png")

            # Every key was translated by the CP1251 table in Notepad's own
            # process: read as CP1251 bytes, the text is the Ukrainian typed.
            self.assertTrue(all(unit < 0x100 for unit in units), units)
            self.assertEqual(bytes(units).decode("cp1251"), TEXT)
            # But the code units are those bytes, so Notepad holds and shows
            # Latin-1 letters, not Cyrillic ones. (Should the hook come to
            # write the character that the ANSI code page gives its byte,
            # Notepad would hold the Ukrainian text itself: then say so here.)
            self.assertEqual("".join(map(chr, units)), TEXT.encode("cp1251").decode("latin-1"),
                             "Notepad's text is no longer the table bytes as Latin-1 letters")

            # An ANSI program in the same session does not get the bytes
            # either: the code page has no character for most of them.
            desk.activate_client()
            desk.client.clear()
            arrived = desk.type(*keys_for(ANSI_SAMPLE, keys))
            self.assertNotEqual(bytes(code for _, code, _ in arrived), ANSI_SAMPLE.encode("cp1251"),
                                "an ANSI program under code page 1251 now gets the table bytes")
            self.assertEqual(desk.client.text(), bytes(code for _, code, _ in arrived))


if __name__ == "__main__":
    unittest.main()

"""Words typed in the wrong mode mended by themselves at the space, with
Vyrtel.exe and the real Tavrilex.dll, every key typed on the X keyboard:

- in Wine's Notepad on a desktop with a taskbar: off at the start; turned on
  from the icon's menu (the item checked then); `ghbdsn Cdsnt ` typed as a
  fast burst becomes `привіт Світе `, every key of the burst in its place,
  and the next word types Ukrainian; `руддщ ` typed with translation on
  becomes `hello `; right words stay in both modes; Pause right after a mend
  takes it back, and the same word is then left alone;
- in the 8-bit program of test_e2e.py: the exact KOI8 and CP1251 bytes; no
  mend while the edit control has a selection; a password edit never
  mended.
"""

import unittest

from hooklib_support import Driver
from test_app import CP1251, KOI8, app_session
from test_e2e import TABLES, e2e_session, password_client
from test_pause import keysyms, table_bytes
from test_tray import NOTEPAD, TraySession
from winetest import wait_until

BURST_DELAY_MS = 4  # between keys of a burst: 250 keys a second (without the holding, 8 already fails)


class NotepadAutoMendTest(unittest.TestCase):
    def test_off_at_the_start_on_from_the_menu_and_words_mend_at_the_space(self):
        with app_session(library="real", extra=("tavrilex_driver.exe",)) as wine:
            s = TraySession(wine)
            reader = Driver(wine)
            try:
                self.assertEqual(reader.record().auto_mend, 0, "off at the start")
                s.screen.click(CP1251)
                wait_until(lambda: s.inspector.checks()[CP1251] == 1, what="CP1251 chosen")
                s.activate_notepad()
                text = [""]

                def read():
                    return s.inspector.edit_text(NOTEPAD)

                def typed(keys, then, burst=False):
                    if burst:
                        wine.xdotool("type", "--delay", BURST_DELAY_MS, keys)
                    else:
                        wine.xdotool("key", "--delay", "20", *keysyms(keys))
                    expected = text[0] + then
                    wait_until(lambda: read() == expected, what=f"{expected!r} in Notepad, have {read()!r}")
                    text[0] = expected

                # Off: a wrong word stays as typed.
                typed("ghbdsn ", "ghbdsn ")

                s.menu("automend", "auto_mend_menu_off.png")()
                s.release()
                wait_until(lambda: reader.record().auto_mend == 1, what="the automatic mend on")
                s.tray.open_menu("automend")
                wine.screenshot("auto_mend_menu_on.png")
                wine.key("Escape")
                s.activate_notepad()
                wine.xdotool("key", "ctrl+End")

                # Two wrong words and the start of a third typed as one fast
                # burst, right behind each space: every key comes out after
                # the mend, in order, in the new mode.
                # Shift goes down for the second word while the first is
                # mended, and comes back up during the second's mend.
                typed("ghbdsn Cdsnt hfp", "привіт Світе раз", burst=True)
                self.assertEqual(reader.record().switch, 1, "the mode flipped with the mend")
                wait_until(lambda: s.tray.showing("ukrainian"), timeout=5, what="the icon showing Ukrainian")
                typed(" ", " ")

                # Typed with translation on, a wrong word mends to Latin.
                typed("hello ", "hello ")
                self.assertEqual(reader.record().switch, 0)
                # Right words stay, in both modes.
                typed("world ", "world ")

                # Pause right after a mend gives back what was typed, in its
                # mode; the same keys are then never mended again.
                typed("ghbdsn ", "привіт ")
                wine.xdotool("key", "Pause")
                wait_until(lambda: read() == text[0][:-len("привіт ")] + "ghbdsn ",
                           what=f"the mend taken back, have {read()!r}")
                text[0] = text[0][:-len("привіт ")] + "ghbdsn "
                self.assertEqual(reader.record().switch, 0, "back in the mode it was typed in")
                typed("ghbdsn ", "ghbdsn ")
                # Other words still mend.
                typed("cdsnt ", "світе ")
                wine.screenshot("auto_mend_notepad.png")
            finally:
                reader.close(timeout=10)
                s.close()


class AnsiProgramAutoMendTest(unittest.TestCase):
    def test_the_8_bit_program_gets_the_codings_exact_bytes_and_a_password_edit_is_never_mended(self):
        with e2e_session() as desk:
            wine = desk.wine
            self.assertEqual(desk.reader.call("automend 1"), 1)
            for coding, table in ((KOI8, (1, 0)), (CP1251, (2, 0))):
                desk.choose(coding, (table[0], 3, 0))
                desk.activate_client()
                desk.client.clear()
                wine.xdotool("key", "Return")
                wine.xdotool("type", "--delay", BURST_DELAY_MS, "ghbdsn cdsnt ")
                expected = (table_bytes(table, list("GHBDSN")) + b" " + table_bytes(table, list("CDSNT")) + b" ")
                self.assertEqual(expected.decode("koi8-u" if coding == KOI8 else "cp1251"), "привіт світе ")
                wait_until(lambda: desk.client.text() == expected,
                           what=f"{expected!r} in the edit control, have {desk.client.text()!r}")
                # Back to Latin for the next coding.
                wine.xdotool("key", "--delay", "20", *keysyms("hello "))
                wait_until(lambda: desk.client.text() == expected + b"hello ", what="hello mended back")
                self.assertEqual(desk.reader.record().switch, 0)

            # The program selects the text under the word: the edit control
            # says so, and the space replaces the selection as it would.
            desk.client.clear()
            wine.xdotool("key", "Return")
            wine.xdotool("key", "--delay", "20", *keysyms("ghbdsn"))
            wait_until(lambda: desk.client.text() == b"ghbdsn", what="the word typed")
            desk.client.ask("select")
            wine.xdotool("key", "space")
            wait_until(lambda: desk.client.text() == b" ", what=f"the selection replaced, have {desk.client.text()!r}")
            self.assertEqual(desk.reader.record().switch, 0)

            with password_client(wine) as secret:
                wine.xdotool("key", "--delay", "20", *keysyms("ghbdsn x"))
                wait_until(lambda: secret.text() == b"ghbdsn x", what="the password typed as it is")
                self.assertEqual(desk.reader.record().switch, 0)


if __name__ == "__main__":
    unittest.main()

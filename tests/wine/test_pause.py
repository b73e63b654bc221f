"""Pause mends the last word typed in the wrong mode, with Vyrtel.exe and the
real Tavrilex.dll, every key typed on the X keyboard as a user types it:

- in Wine's Notepad on a desktop with a taskbar, under the Ctrl+Shift
  method, whose switch lasts: Latin to Ukrainian and back, a second Pause
  undoing the first, a word with Shift and one under Caps Lock, and the icon
  in the notification area following each switch; Pause with nothing typed,
  and after a click, changes nothing;
- in an 8-bit program of our own (tests/win32/e2e/ansi_client.cpp), whose
  edit control must then hold the exact bytes of the coding: KOI8 phonetic
  under Scroll Lock and Num Lock, CP1251 typewriter under Ctrl+Shift cycled; Pause with
  nothing to mend reaches the program; a password edit is never retyped.

Wine takes the lock keys' state from each real key event, so the Scroll
Lock that Pause presses lasts there only until the next real key (on
Windows it switches the lock for good): under Scroll Lock each direction is
tested once, from a lock state set by a real key.
"""

import time
import unittest

from hooklib_support import make_scroll_lock_a_lock_key
from test_app import CP1251, CYCLED, KOI8, NUM_LOCK, PHONETIC, SCROLL_LOCK, TYPEWRITER, app_session
from test_e2e import TABLES, e2e_session, password_client
from test_tray import NOTEPAD, TraySession
from winetest import wait_until


def keysyms(word):
    """xdotool keys for a Latin word as a US keyboard types it."""
    return [("shift+" + c.lower()) if c.isupper() else ("space" if c == " " else c) for c in word]


class NotepadPauseTest(unittest.TestCase):
    def test_pause_mends_the_last_word_both_ways_and_the_icon_follows(self):
        with app_session(library="real") as wine:
            make_scroll_lock_a_lock_key(wine)
            s = TraySession(wine)
            try:
                s.screen.click(CP1251)
                wait_until(lambda: s.inspector.checks()[CP1251] == 1, what="CP1251 chosen")
                wait_until(lambda: s.tray.showing("latin"), what="the icon showing Latin")
                s.activate_notepad()
                text = [""]

                def read():
                    return s.inspector.edit_text(NOTEPAD)

                def typed(keys, then):
                    wine.xdotool("key", "--delay", "20", *keys)
                    wait_until(lambda: read() == text[0] + then, what=f"{text[0] + then!r} in Notepad")
                    text[0] += then

                def pause(becomes, look):
                    start = time.monotonic()
                    wine.xdotool("key", "Pause")
                    wait_until(lambda: read() == becomes, what=f"{becomes!r} in Notepad, have {read()!r}")
                    elapsed = time.monotonic() - start
                    wait_until(lambda: s.tray.showing(look), timeout=5, what=f"the icon showing {look}")
                    text[0] = becomes
                    return elapsed

                typed(keysyms("ghbdsn"), "ghbdsn")
                wine.screenshot("pause-before.png")
                pause("привіт", "ukrainian")
                wine.screenshot("pause-after.png")
                pause("ghbdsn", "latin")
                pause("привіт", "ukrainian")

                # The switch lasts: the next word comes out Ukrainian, and
                # Pause takes it, with the space before it kept, back to Latin.
                typed(keysyms(" hello"), " руддщ")
                pause("привіт hello", "latin")

                # A word with Shift, then one under Caps Lock: the letters
                # come back with the case they were typed in.
                typed(["Return"] + keysyms("Ghbdsn"), "\r\nGhbdsn")
                pause("привіт hello\r\nПривіт", "ukrainian")
                wine.xdotool("key", "Return", "Caps_Lock")
                typed(keysyms("ghb"), "\r\nПРИ")
                pause("привіт hello\r\nПривіт\r\nGHB", "latin")
                wine.xdotool("key", "Caps_Lock")

                # A 10-letter word, timed from Pause to its last letter.
                typed(keysyms(" ghbdsnfyyz"), " ghbdsnfyyz")
                elapsed = pause(text[0][:-len("ghbdsnfyyz")] + "привітання", "ukrainian")
                print(f"pause: 10 letters mended in {elapsed * 1000:.0f} ms", flush=True)
                pause(text[0][:-len("привітання")] + "ghbdsnfyyz", "latin")

                # Nothing to mend: after Enter, and after a click in the text,
                # Pause changes neither the text nor the mode.
                typed(["Return", "Pause", "x"], "\r\nx")
                self.assertTrue(s.tray.showing("latin"))
                typed(keysyms("ghb"), "ghb")
                # Below the last line: the caret goes to that line's end.
                left, top, right, bottom = (int(v) for v in s.notepad()["rect"].split(","))
                wine.xdotool("mousemove", "--sync", (left + right) // 2, bottom - 30, "click", "1")
                typed(["Pause", "y"], "y")
                self.assertTrue(s.tray.showing("latin"))
            finally:
                s.close()


def table_bytes(choice, caps, shifted=()):
    keys = {key.cap: key for key in TABLES[choice]}
    return bytes(keys[cap].byte(i in shifted) for i, cap in enumerate(caps))


def latin_bytes(word):
    return word.encode("ascii")


class AnsiProgramPauseTest(unittest.TestCase):
    def mend(self, desk, word, expected, start=None):
        """Types `word` into the emptied edit control, presses Pause and
        waits for the edit control to hold `expected` exactly."""
        desk.client.clear()
        desk.wine.xdotool("key", "Return")  # the emptied control's word ends
        desk.wine.xdotool("key", "--delay", "20", *keysyms(word))
        if start is not None:
            wait_until(lambda: desk.client.text() == start, what=f"{start!r} typed")
        desk.wine.xdotool("key", "Pause")
        wait_until(lambda: desk.client.text() == expected,
                   what=f"{expected!r} in the edit control, have {desk.client.text()!r}")

    def test_the_8_bit_program_gets_the_codings_bytes_and_pause_with_nothing_to_mend_reaches_it(self):
        with e2e_session() as desk:
            wine = desk.wine
            desk.choose(KOI8, (1, 3, 0))
            desk.choose(PHONETIC, (1, 3, 1))
            desk.choose(SCROLL_LOCK, (1, 0, 1))
            desk.activate_client()

            # KOI8 phonetic, Scroll Lock off: typed Latin, mended to KOI8.
            word = "Pryvit"
            caps = [c.upper() for c in word]
            self.mend(desk, word, table_bytes((1, 1), caps, shifted={0}), start=latin_bytes(word))
            # And from Ukrainian, with the lock switched on by a real key.
            desk.client.clear()
            wine.xdotool("key", "Return")
            desk.lock("Scroll_Lock", "scroll", True)
            self.mend(desk, "tak", b"tak", start=table_bytes((1, 1), ["T", "A", "K"]))
            desk.lock("Scroll_Lock", "scroll", False)
            # Under Num Lock, Pause presses Num Lock.
            desk.choose(NUM_LOCK, (1, 1, 1))
            desk.activate_client()
            self.mend(desk, "tak", table_bytes((1, 1), ["T", "A", "K"]), start=b"tak")

            # CP1251 typewriter under Ctrl+Shift cycled: there and back.
            desk.choose(CP1251, (2, 1, 1))
            desk.choose(TYPEWRITER, (2, 1, 0))
            desk.choose(CYCLED, (2, 2, 0))
            desk.activate_client()
            ghbdsn = table_bytes((2, 0), list("GHBDSN"))
            self.assertEqual(ghbdsn.decode("cp1251"), "привіт")
            self.mend(desk, "ghbdsn", ghbdsn, start=b"ghbdsn")
            wait_until(lambda: desk.reader.record().switch == 1, what="the switch on")
            wine.xdotool("key", "Pause")
            wait_until(lambda: desk.client.text() == b"ghbdsn", what="the word back in Latin")
            self.assertEqual(desk.reader.record().switch, 0)
            self.assertTrue(desk.client.none_pending("keydown 19"), "a Pause that mends never arrives")

            # Nothing to mend: Pause arrives.
            wine.xdotool("key", "Return", "Pause")
            desk.client.expect("keydown 19")

            # A password edit keeps no word: its Pause arrives, its text stays.
            with password_client(wine) as secret:
                wine.xdotool("key", "--delay", "20", *keysyms("ghb"))
                wait_until(lambda: secret.text() == b"ghb", what="the password typed")
                wine.xdotool("key", "Pause")
                secret.expect("keydown 19")
                self.assertEqual(secret.text(), b"ghb")
                self.assertEqual(desk.reader.record().switch, 0)


if __name__ == "__main__":
    unittest.main()

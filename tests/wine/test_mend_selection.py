"""Shift+Pause mends the selected text: Vyrtel.exe with the real library
copies the selection of the foreground window through the clipboard, puts
back everything the clipboard held, switches the mode to the other side
and types the text again as keys, over the selection. In Wine's Notepad (a
Unicode program) and in the ANSI client (an 8-bit program, whose edit
control must hold the coding's exact bytes): a phrase of several words each
way, lines, nothing selected, a password edit.

Shift+Pause is typed as a user types it, into the focused window, whose
hook posts the request to Vyrtel's window. The clipboard holds Unicode
text, a private registered format and a DIB before, put there and read
back byte for byte by clipboard_tool.exe.
"""

import sys
import time
import unittest

from hooklib_support import Program
from test_app import CP1251, KOI8, PHONETIC, SCROLL_LOCK
from test_e2e import ANSI_TITLE, TABLES, AnsiClient, e2e_session
from test_e2e_notepad import Notepad
from winetest import wait_until

NOTHING_MENDED = (600, 100)  # the beep: hertz, milliseconds
KEPT_TEXT = "Kept: текст ✓ 1\r\n2"
PASSWORD_TITLE = "Vyrtel password client"
LINE_COPY_TITLE = "Vyrtel line-copying client"


class ClipboardTool(Program):
    """clipboard_tool.exe: the clipboard filled and read."""

    def __init__(self, wine):
        super().__init__(wine, "clipboard_tool.exe")

    def fill(self):
        if self.ask("fill") != ["ok"]:
            raise AssertionError("the clipboard could not be filled")

    def dump(self):
        """{"seq", "formats", "unicode", "private", "dib"}: hex of each block."""
        return dict(word.split("=", 1) for word in self.ask("dump"))

    def contents(self):
        """What a paste can give: the dump without the sequence number."""
        dump = self.dump()
        del dump["seq"]
        return dump


def shift_pause(wine):
    """Shift+Pause typed into the window with the keyboard focus."""
    wine.xdotool("key", "shift+Pause")


def keys_of(latin):
    """xdotool keys typing Latin text on a US keyboard; a line feed is Enter."""
    names = {" ": "space", "\n": "Return", ",": "comma", ".": "period", ";": "semicolon", "'": "apostrophe",
             "[": "bracketleft", "]": "bracketright", "`": "grave", "^": "shift+6", "?": "shift+slash"}
    return [names.get(c) or (f"shift+{c.lower()}" if c.isupper() else c) for c in latin]


def table_bytes(choice, text):
    """The bytes a table gives for Ukrainian text, from the table source."""
    byte = {}
    for key in TABLES[choice]:
        byte.setdefault(key.signs[0], key.unshifted)
        byte.setdefault(key.signs[1], key.shifted)
    return bytes(byte.get(c, ord(c)) for c in text)


def mend_beeps(desk):
    """The beeps Vyrtel.exe's own code made (the switch's beep is the library's)."""
    return [tuple(int(v, 16) for v in args.split(",")) for name, args in desk.run.platform_calls() if name == "Beep"]


class MendTest(unittest.TestCase):
    def switched(self, desk, on):
        wait_until(lambda: desk.reader.record().switch == int(on), what=f"the switch {'on' if on else 'off'}")

    def nothing_mended(self, desk, tool, text):
        """A mend request that must leave everything as it is: the clipboard
        (its sequence number included) and the text; a beep says so."""
        before, before_text, beeps = tool.dump(), text(), len(mend_beeps(desk))
        shift_pause(desk.wine)
        wait_until(lambda: len(mend_beeps(desk)) > beeps, what="the beep of nothing mended")
        self.assertEqual(mend_beeps(desk)[beeps:], [NOTHING_MENDED])
        self.assertEqual(tool.dump(), before, "the clipboard untouched")
        self.assertEqual(text(), before_text)


class NotepadTest(MendTest):
    def mended(self, notepad, wanted, timeout=30):
        shift_pause(notepad.wine)
        return wait_until(lambda: (t := notepad.text()) == wanted and t, timeout=timeout,
                          what=f"{wanted!r} in Notepad, have {notepad.text()!r}")

    def test_a_phrase_each_way_and_lines_leave_the_clipboard_as_it_was(self):
        with e2e_session(beeps=True) as desk:
            wine = desk.wine
            tool = ClipboardTool(wine)
            desk.choose(KOI8, (1, 3, 0))
            notepad = Notepad(self, desk)
            notepad.activate()
            notepad.type(keys_of("Ghbdsn cdsnt"), "Ghbdsn cdsnt")
            tool.fill()
            kept = tool.contents()
            # What was put there comes first; what the system makes of it after.
            self.assertEqual(kept["formats"].split(",")[0], "d")
            self.assertEqual(kept["formats"].split(",")[2], "8")
            self.assertEqual(bytes.fromhex(kept["unicode"]).decode("utf-16-le"), KEPT_TEXT + "\0")

            wine.xdotool("key", "shift+Home")
            wine.screenshot("mend-before.png")
            start = time.monotonic()
            self.mended(notepad, "Привіт світе")
            print(f"mend delay: {(time.monotonic() - start) * 1000:.0f} ms from Shift+Pause to "
                  f"'Привіт світе' read back in Notepad", file=sys.stderr)
            self.switched(desk, True)
            wine.screenshot("mend-after.png")
            self.assertEqual(tool.contents(), kept, "the clipboard as it was, byte for byte")

            wine.xdotool("key", "shift+Home")
            self.mended(notepad, "Ghbdsn cdsnt")
            self.switched(desk, False)
            self.assertEqual(tool.contents(), kept)
            wine.xdotool("key", "End", "ctrl+v")
            wait_until(lambda: notepad.text() == "Ghbdsn cdsnt" + KEPT_TEXT, what="the kept text pasted")

            # Lines, and Caps Lock: the result keeps the selection's case.
            wine.xdotool("key", "ctrl+a")
            wine.xdotool("key", "--delay", "20", *keys_of("Ghbdsn\nlheu\nCDSNT"))
            wait_until(lambda: notepad.text() == "Ghbdsn\r\nlheu\r\nCDSNT", what="three lines typed")
            desk.lock("Caps_Lock", "caps", True)
            notepad.activate()
            wine.xdotool("key", "ctrl+a")
            self.mended(notepad, "Привіт\r\nдруг\r\nСВІТЕ")
            wine.xdotool("key", "ctrl+a")
            self.mended(notepad, "Ghbdsn\r\nlheu\r\nCDSNT")
            self.assertEqual(tool.contents(), kept)
            desk.lock("Caps_Lock", "caps", False)
            notepad.activate()

            # Nothing selected: Ctrl+C copies nothing; a beep, nothing else.
            self.assertEqual(mend_beeps(desk), [])
            self.nothing_mended(desk, tool, notepad.text)
            self.assertEqual(notepad.text(), "Ghbdsn\r\nlheu\r\nCDSNT")

            # A bitmap object and an enhanced metafile come back as copies
            # with the same pixels and records.
            self.assertEqual(tool.ask("pictures"), ["ok"])
            pictures = tool.contents()
            self.assertNotEqual(pictures["bitmap"], "-")
            self.assertNotEqual(pictures["emf"], "-")
            wine.xdotool("key", "ctrl+a")
            self.mended(notepad, "Привіт\r\nдруг\r\nСВІТЕ")
            self.assertEqual(tool.contents(), pictures)

    def test_up_to_4096_characters_are_mended_and_a_longer_selection_is_left_alone(self):
        with e2e_session(beeps=True) as desk:
            wine = desk.wine
            tool = ClipboardTool(wine)
            desk.choose(KOI8, (1, 3, 0))
            notepad = Notepad(self, desk)
            notepad.activate()
            for count in (4097, 4096):
                self.assertEqual(tool.ask(f"letters {count}"), ["ok"])
                wine.xdotool("key", "ctrl+a", "ctrl+v")
                wait_until(lambda: notepad.text() == "a" * count, what=f"{count} letters pasted")
                wine.xdotool("key", "ctrl+a")
                kept = tool.contents()
                if count > 4096:
                    shift_pause(wine)
                    wait_until(lambda: mend_beeps(desk) == [NOTHING_MENDED], what="the beep of nothing mended")
                    self.assertEqual(notepad.text(), "a" * count)
                    self.assertEqual(desk.reader.record().switch, 0)
                else:
                    start = time.monotonic()
                    self.mended(notepad, "ф" * count, timeout=20)
                    took = time.monotonic() - start
                    print(f"mend delay: {took:.2f} s for {count} letters in Notepad", file=sys.stderr)
                    self.assertLessEqual(took, 2.0, "one replacement, not a key per letter")
                self.assertEqual(tool.contents(), kept)


class EightBitProgramTest(MendTest):
    def mended(self, desk, wanted):
        desk.client.ask("select")
        shift_pause(desk.wine)
        return wait_until(lambda: (t := desk.client.text()) == wanted and t, timeout=20,
                          what=f"{wanted!r} in the ANSI client, have {desk.client.text()!r}")

    def test_under_code_page_1251_both_codings_and_layouts_each_way(self):
        # There KOI8 bytes read as other Cyrillic letters than they stand
        # for, and CP1251 bytes as the very letters.
        with e2e_session(codepage="uk_UA.CP1251") as desk:
            self.assertEqual(desk.client.acp, 1251)
            tool = ClipboardTool(desk.wine)
            tool.fill()
            kept = tool.contents()
            desk.choose(KOI8, (1, 3, 0))
            desk.activate_client()
            desk.type(*keys_of("Ghbdsn cdsnt"))
            self.mended(desk, table_bytes((1, 0), "Привіт світе"))
            self.mended(desk, b"Ghbdsn cdsnt")
            desk.choose(PHONETIC, (1, 3, 1))
            desk.activate_client()
            self.mended(desk, table_bytes((1, 1), "Ґгбдсн цдснт"))
            self.mended(desk, b"Ghbdsn cdsnt")
            desk.choose(CP1251, (2, 3, 1))
            desk.activate_client()
            self.mended(desk, "Ґгбдсн цдснт".encode("cp1251"))
            self.switched(desk, True)
            self.mended(desk, b"Ghbdsn cdsnt")
            self.switched(desk, False)
            self.assertEqual(tool.contents(), kept)

    def other_client(self, wine, title, option):
        """A second ANSI client with `option`, active, "ghbdsn" typed in it."""
        client = AnsiClient(wine, title, option=option)
        window = wine.wait_window(f"^{title}$")
        wine.xdotool("windowmove", window, 500, 120)
        wait_until(lambda: wine.geometry(window)[:2] == (500, 120), what=f"{title} moved")
        wine.focus(window)
        x, y, width, height = wine.geometry(window)
        wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")
        wait_until(lambda: client.state()["foreground"] == 1, what=f"{title} active")
        wine.xdotool("key", "--delay", "20", *keys_of("ghbdsn"))
        wait_until(lambda: client.text() == b"ghbdsn", what=f"ghbdsn typed in {title}")
        return client

    def test_the_coding_bytes_each_way_and_a_password_is_never_copied(self):
        with e2e_session(beeps=True) as desk:
            wine = desk.wine
            tool = ClipboardTool(wine)
            desk.choose(KOI8, (1, 3, 0))
            desk.activate_client()
            desk.type(*keys_of("Ghbdsn cdsnt? ,"))
            tool.fill()
            kept = tool.contents()

            # KOI8 bytes in, under code page 1252, which shows them as Latin-1.
            self.mended(desk, table_bytes((1, 0), "Привіт світе( б"))
            self.switched(desk, True)
            self.assertEqual(tool.contents(), kept)
            self.mended(desk, b"Ghbdsn cdsnt? ,")
            self.switched(desk, False)

            desk.choose(CP1251, (2, 3, 0))
            desk.activate_client()
            self.mended(desk, table_bytes((2, 0), "Привіт світе( б"))
            self.mended(desk, b"Ghbdsn cdsnt? ,")
            self.assertEqual(tool.contents(), kept)

            # A password edit copies nothing: the clipboard stays, the text too.
            secret = self.other_client(wine, PASSWORD_TITLE, "password")
            secret.ask("select")
            self.nothing_mended(desk, tool, secret.text)
            self.assertEqual(secret.text(), b"ghbdsn")
            self.assertEqual(desk.reader.record().switch, 0)
            secret.close()

            # An editor that copies the caret's line when nothing is selected
            # says so on the clipboard: nothing is mended, and the clipboard
            # gets back what it held.
            editor = self.other_client(wine, LINE_COPY_TITLE, "linecopy")
            beeps = len(mend_beeps(desk))
            shift_pause(wine)
            wait_until(lambda: len(mend_beeps(desk)) > beeps, what="the beep of nothing mended")
            self.assertEqual(mend_beeps(desk)[beeps:], [NOTHING_MENDED])
            self.assertEqual(tool.contents(), kept)
            self.assertEqual(editor.text(), b"ghbdsn")
            editor.close()

            # Under the Scroll Lock method the switch is a Scroll Lock press
            # the library injects ahead of the keys. (Wine takes the lock
            # keys' state from each real key event, so it does not last
            # there: only the mend itself is checked.)
            desk.choose(SCROLL_LOCK, (2, 0, 0))
            desk.activate_client()
            self.assertEqual(desk.client.state()["scroll"], 0)
            self.mended(desk, table_bytes((2, 0), "Привіт світе( б"))
            self.assertEqual(tool.contents(), kept)


if __name__ == "__main__":
    unittest.main()

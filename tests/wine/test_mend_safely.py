"""Shift+Pause does no harm: a terminal gets no key at all; an edit control
(Notepad's, WordPad's rich edit) is mended by messages, with the clipboard
untouched and not one key typed; another Unicode window gets the text
pasted, line breaks and all, with no Enter, and its clipboard back even
when another program holds it open for a while (or, held longer, a
message that says so); another 8-bit window gets
keys, and no text of lines; a clipboard owner that hangs in rendering makes
the mend give up within its budget.

Every injected key is seen by a low-level keyboard hook of clipboard_tool.exe,
which also makes the terminal's window, the plain Unicode and 8-bit windows
("the copiers") and the slow clipboard owner.
"""

import subprocess
import sys
import time
import unittest

from test_app import KOI8
from test_e2e import e2e_session
from test_e2e_notepad import Notepad
from test_mend_selection import NOTHING_MENDED, ClipboardTool, MendTest, keys_of, mend_beeps, shift_pause, table_bytes
from winetest import WINE, wait_until

VK_RETURN = 0x0D


def hex_units(text):
    return "".join(f"{ord(c):04x}" for c in text) or "-"


class Tool(ClipboardTool):
    def injected(self):
        """The virtual keys injected since the last call."""
        answer = self.ask("keylog")[0]
        return [] if answer == "-" else [int(vk, 16) for vk in answer.split(",")]

    def sequence(self):
        return int(self.ask("seq")[0])

    def copier8_text(self):
        units = self.ask("copier8-text")[0]
        return b"" if units == "-" else bytes.fromhex(units)

    def copier_text(self):
        units = self.ask("copier-text")[0]
        return "" if units == "-" else "".join(chr(int(units[i:i + 4], 16)) for i in range(0, len(units), 4))


class SafeMendTest(MendTest):
    def activate(self, desk, tool, title, window_class):
        wine = desk.wine
        window = wine.wait_window(f"^{title}$")
        wine.focus(window)
        x, y, width, height = wine.geometry(window)
        wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")
        wait_until(lambda: tool.ask("active") == [window_class], what=f"{title} active")

    def copier(self, desk, tool, text):
        self.assertEqual(tool.ask(f"copier {hex_units(text)}"), ["ok"])
        self.activate(desk, tool, "Vyrtel copier", "VyrtelCopier")

    def beeped(self, desk, beeps, within):
        start = time.monotonic()
        wait_until(lambda: len(mend_beeps(desk)) > beeps, timeout=within, what="the beep of nothing mended")
        self.assertEqual(mend_beeps(desk)[beeps:], [NOTHING_MENDED])
        return time.monotonic() - start

    def test_a_terminal_gets_nothing_and_edit_controls_no_key_and_no_clipboard(self):
        with e2e_session(beeps=True) as desk:
            wine = desk.wine
            tool = Tool(wine)
            desk.choose(KOI8, (1, 3, 0))
            tool.fill()
            kept = tool.dump()

            # Windows Terminal's class: not one key, only the beep.
            self.assertEqual(tool.ask("terminal"), ["ok"])
            self.activate(desk, tool, "Vyrtel terminal", "CASCADIA_HOSTING_WINDOW_CLASS")
            tool.injected()
            shift_pause(wine)
            self.beeped(desk, 0, 10)
            self.assertEqual(tool.injected(), [])
            self.assertEqual(tool.dump(), kept)

            # Two lines in Notepad: mended by messages, no key typed, the
            # clipboard not even touched (its sequence number stays).
            notepad = Notepad(self, desk)
            notepad.activate()
            notepad.type(keys_of("Ghbdsn\nlheu"), "Ghbdsn\r\nlheu")
            wine.xdotool("key", "ctrl+a")
            tool.injected()
            shift_pause(wine)
            wait_until(lambda: notepad.text() == "Привіт\r\nдруг", what="two lines mended in Notepad")
            self.assertEqual(tool.injected(), [])
            self.assertEqual(tool.dump(), kept)
            # One step to undo.
            wine.xdotool("key", "ctrl+z")
            wait_until(lambda: notepad.text() == "Ghbdsn\r\nlheu", what="the mend undone")

            # WordPad's rich edit, whose line break is "\r".
            wordpad = subprocess.Popen([WINE, r"C:\Program Files\Windows NT\Accessories\wordpad.exe"], env=wine.env, cwd=wine.appdir,
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, start_new_session=True)
            wine.processes.append(wordpad)
            window = wait_until(lambda: (wine.xdotool("search", "--onlyvisible", "--classname", "wordpad.exe",
                                                      check=False).split() or [None])[0], what="WordPad's window")
            wine.focus(window)
            x, y, width, height = wine.geometry(window)
            wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")
            wait_until(lambda: tool.ask("active") == ["WORDPADTOP"], what="WordPad active")
            # Typing is Ukrainian since the mend in Notepad.
            wine.xdotool("key", "--delay", "40", *keys_of("Ghbdsn\nlheu"))

            def wordpad_text():
                code, out, _ = wine.run("window_text.exe", "WORDPADTOP", "RichEdit20W")
                units = dict(line.split(" ", 1) for line in out.splitlines() if " " in line).get("wtext", "-").strip()
                return "" if units == "-" else "".join(chr(int(units[i:i + 4], 16)) for i in range(0, len(units), 4))

            wait_until(lambda: wordpad_text().startswith("Привіт\r\nдруг"),
                       what=f"two lines in WordPad, have {wordpad_text()!r}")
            wine.xdotool("key", "ctrl+a")
            tool.injected()
            shift_pause(wine)
            wait_until(lambda: wordpad_text().startswith("Ghbdsn\r\nlheu"),
                       what=f"two lines mended in WordPad, have {wordpad_text()!r}")
            self.assertEqual(tool.injected(), [])
            self.assertEqual(tool.dump(), kept)
            wine.screenshot("mend-wordpad.png")

    def test_a_plain_window_gets_a_paste_and_its_clipboard_back_and_a_hung_owner_a_beep(self):
        with e2e_session(beeps=True) as desk:
            wine = desk.wine
            tool = Tool(wine)
            desk.choose(KOI8, (1, 3, 0))
            tool.fill()
            kept = tool.contents()

            # Pasted, not typed: the line break stays, no Enter. Right after
            # the paste another thread holds the clipboard for 1.5 s; the
            # saved clipboard still comes back, marked for clipboard monitors.
            self.copier(desk, tool, "Ghbdsn\r\nlheu")
            self.assertEqual(tool.ask("copier-hold 1500"), ["ok"])
            tool.injected()
            shift_pause(wine)
            wait_until(lambda: tool.copier_text() == "Привіт\r\nдруг",
                       what=f"the copier's text mended, have {tool.copier_text()!r}")
            injected = tool.injected()
            self.assertNotIn(VK_RETURN, injected)
            self.assertEqual(injected.count(0x43) + injected.count(0x56), 2, "Ctrl+C and Ctrl+V only")
            def unmarked(contents):
                return {k: v for k, v in contents.items() if k != "marks"}

            back = wait_until(lambda: c if unmarked(c := tool.contents()) == unmarked(kept) else None, timeout=10,
                              what="the clipboard put back")
            self.assertEqual(back["marks"], "3")
            self.assertEqual(mend_beeps(desk), [])

            # Held longer than the five seconds Vyrtel keeps trying: the user
            # is told, and Retry (the default button) puts it back.
            self.assertEqual(tool.ask(f"copier {hex_units('Ghbdsn')}"), ["ok"])
            self.assertEqual(tool.ask("copier-hold 6500"), ["ok"])
            shift_pause(wine)
            wait_until(lambda: tool.copier_text() == "Привіт", what="the copier's text mended")
            box = wine.wait_window("^Vyrtel: clipboard not put back$", timeout=15)
            wine.screenshot("mend-clipboard-not-put-back.png")
            wine.focus(box)
            wine.xdotool("key", "Return")
            wait_until(lambda: unmarked(tool.contents()) == unmarked(kept), timeout=10,
                       what="the clipboard put back on Retry")
            self.assertEqual(tool.ask("copier-hold 0"), ["ok"])
            self.activate(desk, tool, "Vyrtel copier", "VyrtelCopier")

            # An 8-bit window of no control's class gets keys, so that the
            # hook gives it the coding's bytes; a text of lines is refused
            # there, for its line break would be Enter.
            self.assertEqual(tool.ask("copier8 " + b"Ghbdsn cdsnt".hex()), ["ok"])
            self.activate(desk, tool, "Vyrtel 8-bit copier", "VyrtelCopier8")
            shift_pause(wine)
            wait_until(lambda: tool.copier8_text() == table_bytes((1, 0), "Привіт світе"),
                       what=f"the 8-bit copier's bytes mended, have {tool.copier8_text()!r}")
            self.assertEqual(tool.ask("copier8 " + b"Ghbdsn\r\nlheu".hex()), ["ok"])
            tool.injected()
            shift_pause(wine)
            self.beeped(desk, 0, 10)
            self.assertEqual(tool.copier8_text(), b"Ghbdsn\r\nlheu")
            self.assertNotIn(VK_RETURN, tool.injected())
            self.activate(desk, tool, "Vyrtel copier", "VyrtelCopier")

            # A clipboard owner that sleeps 4 s in rendering: the mend gives
            # up within its budget, types nothing and leaves the clipboard.
            self.assertEqual(tool.ask("slow-owner 4000"), ["ok"])
            sequence = tool.sequence()
            tool.injected()
            shift_pause(wine)
            given_up = self.beeped(desk, 1, 10)
            print(f"mend given up {given_up * 1000:.0f} ms after Shift+Pause with the clipboard's owner hung",
                  file=sys.stderr)
            self.assertLess(given_up, 2.0)
            self.assertEqual(tool.copier_text(), "Привіт")
            self.assertEqual(tool.sequence(), sequence)
            self.assertNotIn(0x43, tool.injected())


if __name__ == "__main__":
    unittest.main()

"""The hook at work: installed by one process, injected by Wine into the
window of another, where it reads the key states of that window's thread,
beeps, and rewrites the character messages the window retrieves.

Key states come either from SetKeyboardState in the client's thread, with
messages posted to its window, or from real keystrokes typed by xdotool."""

import unittest

from hooklib_support import (DOWN, SCAN_1, SCAN_LSHIFT, SCAN_Q, SCAN_RSHIFT, TOGGLED, Client, Driver,
                             beep_env, beeps, hook_session)
from winetest import wait_until

Q_PLAIN, Q_SHIFTED = 0xCA, 0xEA  # KOI8 typewriter, the Q key
BEEP_ON, BEEP_OFF = (1000, 40), (600, 40)


class SyntheticKeysTest(unittest.TestCase):
    def test_ctrl_shift_switches_translation_and_beeps_under_methods_2_and_3(self):
        with hook_session(beeps=True) as wine:
            app = Driver(wine, "lock self", "ctrl koi8t 47")
            client = Client(wine, env=beep_env(wine))

            def press(scan, ctrl=True, **flags):
                client.keys(ctrl=DOWN if ctrl else 0)
                client.shift_down(scan, **flags)
                client.keys()
                return app.record().switch

            def beeps_after(expected):
                return wait_until(lambda: beeps(client) == expected and expected or None,
                                  what=f"beeps {expected}, have {beeps(client)}")

            # Left/right: right Shift switches on, left Shift off, each once.
            self.assertEqual(client.char(SCAN_Q), ord("q"))
            self.assertEqual(press(SCAN_RSHIFT, ctrl=False), 0, "Shift alone")
            self.assertEqual(press(SCAN_RSHIFT), 1)
            self.assertEqual(client.char(SCAN_Q), Q_PLAIN)
            self.assertEqual(press(SCAN_RSHIFT), 1, "already on")
            self.assertEqual(press(SCAN_LSHIFT, repeat=True), 1, "auto-repeat")
            self.assertEqual(press(SCAN_LSHIFT), 0)
            self.assertEqual(client.char(SCAN_Q), ord("q"))
            beeps_after([BEEP_ON, BEEP_OFF])

            # Cycled: every press flips, with either Shift; a message peeked
            # without removal and then retrieved passes the hook twice.
            app.call("toggler 2")
            self.assertEqual(press(SCAN_LSHIFT), 1)
            self.assertEqual(press(SCAN_LSHIFT), 0)
            self.assertEqual(press(SCAN_RSHIFT, command="peek"), 0, "flipped on and back off")
            beeps_after([BEEP_ON, BEEP_OFF] * 3)

            app.call("beeper 0")
            self.assertEqual(press(SCAN_RSHIFT), 1)
            app.call("beeper 1")
            self.assertEqual(press(SCAN_RSHIFT), 0)
            beeps_after([BEEP_ON, BEEP_OFF] * 3 + [BEEP_OFF])

    def test_lock_keys_alone_switch_translation_under_methods_0_and_1(self):
        with hook_session() as wine:
            app = Driver(wine, "lock self", "ctrl koi8t 47", "toggler 0")
            client = Client(wine)
            client.keys(scroll=TOGGLED)
            self.assertEqual(client.char(SCAN_Q), Q_PLAIN)
            client.keys(num=TOGGLED)
            self.assertEqual(client.char(SCAN_Q), ord("q"))

            app.call("toggler 1")
            self.assertEqual(client.char(SCAN_Q), Q_PLAIN)
            client.keys(ctrl=DOWN, num=TOGGLED)
            client.shift_down(SCAN_RSHIFT)
            self.assertEqual(app.record().switch, 0, "Ctrl+Shift does nothing here")
            client.keys(scroll=TOGGLED)
            self.assertEqual(client.char(SCAN_Q), ord("q"))

    def test_characters_follow_scan_code_shift_and_caps_lock(self):
        # Method 4 is no method of the control program: it translates always.
        with hook_session() as wine:
            Driver(wine, "lock self", "ctrl koi8t 47", "toggler 4")
            client = Client(wine)
            for keys, q, one in (({}, Q_PLAIN, 0x31), ({"shift": DOWN}, Q_SHIFTED, 0x23),
                                 ({"caps": TOGGLED}, Q_SHIFTED, 0x31),
                                 ({"shift": DOWN, "caps": TOGGLED}, Q_PLAIN, 0x23)):
                client.keys(**keys)
                self.assertEqual(client.char(SCAN_Q), q, keys)
                self.assertEqual(client.char(SCAN_1, code=ord("1")), one, keys)

            client.keys()
            self.assertEqual(client.char(0x35, code=ord("/"), extended=True), ord("/"), "keypad slash")
            self.assertEqual(client.char(0x35, code=ord("/")), 0x29, "main slash")
            self.assertEqual(client.char(SCAN_Q, alt=True), ord("q"), "with Alt")
            self.assertEqual(client.char(0x2B, code=ord("\\")), ord("\\"), "backslash is in no table")
            client.keys(ctrl=DOWN)
            self.assertEqual(client.char(SCAN_Q, code=0x11), 0x11, "Ctrl+Q")


class CharacterFormTest(unittest.TestCase):
    """The hook is handed the Unicode form of each message. A Unicode window
    (hook_client.exe's: it pumps with the W functions, so it receives the
    character as the hook wrote it) gets the letter that the record holds
    beside the table's byte; without letters, and for a message without a
    window, the hook writes what the byte means in the ANSI code page of
    the process it runs in, which an ANSI program converts back to the
    byte."""

    def characters(self, wine, calls):
        """{call: (Q plain, Q with Shift, the 1 key with Shift, Q posted to
        the thread)} as the client receives them, translating always; each
        call is a driver command that hands over a table."""
        app = Driver(wine, "lock self", "toggler 4")
        client = Client(wine)
        seen = {}
        for call in calls:
            app.call(call)
            client.keys()
            plain = client.char(SCAN_Q)
            thread = client.char(SCAN_Q, command="thread")
            client.keys(shift=DOWN)
            seen[call] = (plain, client.char(SCAN_Q), client.char(SCAN_1, code=ord("!")), thread)
        return seen

    def test_unicode_windows_get_the_letters_of_either_coding_under_any_code_page(self):
        for codepage, decode in (("uk_UA.CP1251", "cp1251"), ("en_US.UTF-8", "cp1252"), ("ja_JP.UTF-8", None)):
            with self.subTest(codepage=codepage), hook_session(codepage=codepage) as wine:
                seen = self.characters(wine, ("ctrlw koi8t koi8t 47", "ctrlw cp1251p cp1251p 47"))
                self.assertEqual(seen["ctrlw koi8t koi8t 47"][:3], (ord("й"), ord("Й"), ord("#")))
                self.assertEqual(seen["ctrlw cp1251p cp1251p 47"][:3], (ord("я"), ord("Я"), ord("#")))
                if decode:
                    # A message without a window: the byte as the code page reads it.
                    self.assertEqual(seen["ctrlw koi8t koi8t 47"][3], ord(bytes([0xCA]).decode(decode)))
                    self.assertEqual(seen["ctrlw cp1251p cp1251p 47"][3], ord(bytes([0xFF]).decode(decode)))

    def test_without_letters_a_unicode_program_gets_the_code_pages_characters(self):
        with hook_session(codepage="uk_UA.CP1251") as wine:
            seen = self.characters(wine, ("ctrl cp1251t 47", "ctrl koi8t 47", "ctrl pattern:0x80 47",
                                          "ctrlw cp1251t null 47"))
        self.assertEqual(seen["ctrl cp1251t 47"], (ord("й"), ord("Й"), ord("#"), ord("й")))
        self.assertEqual(seen["ctrlw cp1251t null 47"], seen["ctrl cp1251t 47"])
        # KOI8 bytes read as code page 1251: what an ANSI program of this
        # system would show for them too.
        self.assertEqual(seen["ctrl koi8t 47"][:3], (ord(bytes([0xCA]).decode("cp1251")),
                                                     ord(bytes([0xEA]).decode("cp1251")), ord("#")))
        self.assertEqual(seen["ctrl pattern:0x80 47"][0], ord("Ђ"), "byte 80 of code page 1251")
        with hook_session() as wine:
            seen = self.characters(wine, ("ctrl cp1251t 47", "ctrl pattern:0x80 47"))
        self.assertEqual(seen["ctrl cp1251t 47"], (0xE9, 0xC9, ord("#"), 0xE9), "é É: the bytes as 1252 reads them")
        self.assertEqual(seen["ctrl pattern:0x80 47"][0], ord("€"), "byte 80 of code page 1252")


class KeylessCharacterTest(unittest.TestCase):
    def test_characters_without_a_scan_code_pass_unchanged_under_every_coding(self):
        # As input methods, on-screen keyboards and programs posting text
        # send them: scan code 0, and often characters no key gives.
        with hook_session() as wine:
            app = Driver(wine, "lock self", "toggler 3", "ctrl koi8t 47")
            client = Client(wine)
            client.keys(ctrl=DOWN)
            client.shift_down(SCAN_RSHIFT)
            client.keys()
            self.assertEqual(app.record().switch, 1)
            for table in ("koi8t", "koi8p", "cp1251t", "cp1251p"):
                with self.subTest(table=table):
                    app.call(f"ctrl {table} 47")
                    self.assertEqual(app.record().entries[46], (0, 0, 0, 0), "handed over with the closing entry")
                    for code in (ord("x"), ord("й"), 0x4E2D, 0xE9, 0x263A):
                        self.assertEqual(client.char(0, code=code), code, hex(code))
                    self.assertNotEqual(client.char(SCAN_Q), ord("q"), "a key still translates")


class TypedKeysTest(unittest.TestCase):
    def test_typed_keys_are_translated_under_each_toggle_method(self):
        with hook_session(scroll_lock=True) as wine:
            app = Driver(wine, "lock self", "ctrl koi8t 47")
            client = Client(wine)
            wine.focus(wine.wait_window("^Tavrilex test client$"))

            self.assertEqual(client.typed(wine, "q"), [ord("q")])
            self.assertEqual(client.typed(wine, "ctrl+Shift_R", "q", "shift+q", chars=2), [Q_PLAIN, Q_SHIFTED])
            self.assertEqual(client.typed(wine, "Caps_Lock", "q", "Caps_Lock"), [Q_SHIFTED])
            self.assertEqual(client.typed(wine, "KP_Divide", "slash", chars=2), [ord("/"), 0x29])
            self.assertEqual(client.typed(wine, "ctrl+Shift_L", "q"), [ord("q")])

            app.call("toggler 2")
            self.assertEqual(client.typed(wine, "ctrl+shift", "q"), [Q_PLAIN])
            self.assertEqual(client.typed(wine, "ctrl+shift", "q"), [ord("q")])

            app.call("toggler 0")
            self.assertEqual(client.typed(wine, "Scroll_Lock", "q"), [Q_PLAIN])
            self.assertEqual(client.typed(wine, "Scroll_Lock", "q"), [ord("q")])

            app.call("toggler 1")
            self.assertEqual(client.typed(wine, "Num_Lock", "q"), [Q_PLAIN])
            self.assertEqual(client.typed(wine, "Num_Lock", "q"), [ord("q")])


class HookLifetimeTest(unittest.TestCase):
    def test_the_hook_installed_is_this_library_whatever_handle_took_the_lock(self):
        # The system finds the hook procedure in other processes by its
        # offset from the module handed to it: that must be the library as
        # the installing process maps it, not what was given to DllLock.
        with hook_session() as wine:
            app = Driver(wine, "lock 0x10000000", "toggler 4", "ctrl koi8t 47")
            self.assertEqual(app.answers, [["1"], ["4"], ["1"]])
            self.assertEqual(Client(wine).char(SCAN_Q), Q_PLAIN)

    def test_clients_outlive_the_hook_and_its_owner(self):
        with hook_session() as wine:
            app = Driver(wine, "lock self", "toggler 4", "ctrl koi8t 47")
            client = Client(wine)
            self.assertEqual(client.char(SCAN_Q), Q_PLAIN)
            app.call("ctrl null 0")
            self.assertEqual(client.char(SCAN_Q), ord("q"), "removed")
            app.call("ctrl koi8t 47")
            self.assertEqual(client.char(SCAN_Q), Q_PLAIN, "installed again")

            # The owner ends without removing its hook, as a crash would end
            # it. Whether the system drops the hook at once (Windows) or keeps
            # calling it (Wine 8), the client goes on working, and the start
            # sequence of the next control program (remove, then load a
            # table) leaves exactly one working hook.
            app.send("terminate")
            self.assertEqual(app.proc.wait(timeout=30), 99)
            self.assertIn(client.char(SCAN_Q), (ord("q"), Q_PLAIN))
            successor = Driver(wine, "ctrl null 0", "ctrl koi8t 47")
            self.assertEqual(successor.answers, [["0"], ["1"]])
            self.assertEqual(client.char(SCAN_Q), Q_PLAIN)
            successor.call("toggler 2")
            client.keys(ctrl=DOWN)
            client.shift_down(SCAN_RSHIFT)
            self.assertEqual(successor.record().switch, 1, "one hook flipped the switch once")
            self.assertIsNone(client.proc.poll())


if __name__ == "__main__":
    unittest.main()

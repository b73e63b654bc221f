"""Vyrtel.exe with the real Tavrilex.dll: the choices clicked in the control
dialog reach the library's shared record, and the characters typed into a
separate client window arrive translated while the user has switched
translation on; when the program ends, the hook goes with it.

The client window and the record reader are the hook library's test
programs (tests/win32/hooklib): hook_client.exe pumps with the W functions
and reports each character it receives; tavrilex_driver.exe reads the
shared record from a process of its own."""

import unittest

from hooklib_support import Driver, PlacedClient
from test_app import (CP1251, CYCLED, DISABLE, EXIT, KOI8, LEFT_RIGHT, PHONETIC, SCROLL_LOCK, app_session,
                      marks, started)
from winetest import wait_until

# The Q key in the phonetic layout: a Unicode window gets the letters
# themselves, whichever coding is chosen.
Q_KOI8_PHONETIC, Q_KOI8_PHONETIC_SHIFTED = ord("я"), ord("Я")
Q_CP1251_PHONETIC = ord("я")


class RealLibraryTest(unittest.TestCase):
    def test_clicked_choices_translate_what_is_typed_in_another_window(self):
        with app_session(library="real", extra=("hook_client.exe", "tavrilex_driver.exe")) as wine:
            reader = Driver(wine)
            run, inspector, frame, screen = started(wine, recording=False)
            record = wait_until(lambda: (r := reader.record()).window and r, what="the frame registered")
            self.assertEqual(record.window, int(frame["hwnd"], 16))
            self.assertNotEqual(record.library, 0, "the lock is held")
            self.assertEqual((record.hook, record.method, record.switch), (0, 3, 0))

            def choose(control, shown):
                screen.click(control)
                wait_until(lambda: inspector.checks() == marks(*shown), what=f"the marks {shown}")
                return reader.record()

            record = choose(KOI8, (1, 3, 0))
            self.assertNotEqual(record.hook, 0, "KOI8 installs the hook")
            self.assertEqual((record.count, record.entries[:47]), (47, reader.table("koi8t")))
            record = choose(PHONETIC, (1, 3, 1))
            self.assertEqual(record.entries[:47], reader.table("koi8p"))
            self.assertEqual(choose(CYCLED, (1, 2, 1)).method, 2)
            self.assertEqual(choose(LEFT_RIGHT, (1, 3, 1)).method, 3)

            # A window of another process, out of the control dialog's way.
            client = PlacedClient(wine)
            typed = client.type_as_user

            self.assertEqual(typed("q"), [ord("q")], "translation is off until switched on")
            self.assertEqual(typed("ctrl+Shift_R", "q", "shift+q", chars=2), [Q_KOI8_PHONETIC, Q_KOI8_PHONETIC_SHIFTED])
            self.assertEqual(reader.record().switch, 1)

            choose(CP1251, (2, 3, 1))
            self.assertEqual(typed("q"), [Q_CP1251_PHONETIC], "the new coding at once, the switch still on")
            self.assertEqual(choose(SCROLL_LOCK, (2, 0, 1)).method, 0)
            self.assertEqual(typed("q"), [ord("q")], "Scroll Lock is off")
            choose(LEFT_RIGHT, (2, 3, 1))
            self.assertEqual(typed("q"), [Q_CP1251_PHONETIC])

            self.assertEqual(choose(DISABLE, (0, 3, 1)).hook, 0, "Disable removes the hook")
            self.assertEqual(typed("q"), [ord("q")])
            self.assertNotEqual(choose(KOI8, (1, 3, 1)).hook, 0)
            self.assertEqual(typed("q"), [Q_KOI8_PHONETIC])

            # Ending the program removes the hook; the client keeps working.
            screen.click(EXIT)
            self.assertEqual(run.exit_code(), 0)
            record = reader.record()
            self.assertEqual((record.hook, record.switch), (0, 1))
            self.assertEqual(typed("q"), [ord("q")])
            self.assertIsNone(client.proc.poll())


if __name__ == "__main__":
    unittest.main()

"""The Wine test set-up itself: display, prefix, typed keys, exit codes."""

import os
import unittest

from winetest import WineSession, wait_until


class HarnessTest(unittest.TestCase):
    def test_a_typed_key_reaches_a_win32_window_and_its_exit_code_comes_back(self):
        with WineSession() as wine:
            wine.install("wine_smoke.exe")
            log = wine.path("smoke.log")
            proc = wine.start("wine_smoke.exe", wine.winpath("smoke.log"))
            window = wine.wait_window("^Vyrtel Wine smoke$")
            wine.focus(window)
            wine.key("q")
            self.assertEqual(proc.wait(timeout=30), 7)
            text = wait_until(lambda: os.path.exists(log) and open(log).read(), what="the log")
            self.assertEqual(text.strip(), "char 113 scan 10")

    def test_sessions_do_not_share_displays_or_prefixes(self):
        with WineSession() as first, WineSession() as second:
            self.assertNotEqual(first.display, second.display)
            self.assertNotEqual(first.prefix, second.prefix)
        self.assertFalse(os.path.exists(first.root))


if __name__ == "__main__":
    unittest.main()

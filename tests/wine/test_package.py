"""The Windows package as a user gets it: unpacked into a fresh prefix, its
program starts from there with the libraries beside it, shows its window
and ends with Exit's Esc. (What the zip holds is read in test_files.py.)"""

import os
import subprocess
import unittest
import zipfile

from winetest import WINE, WineSession, wait_until

PACKAGE = os.environ.get("VYRTEL_PACKAGE", "")


class PackageTest(unittest.TestCase):
    def setUp(self):
        if not os.path.isfile(PACKAGE):
            self.fail(f"no package at {PACKAGE!r}: build the package_zip target")

    def test_unpacked_program_starts_in_a_fresh_prefix_and_exits_with_esc(self):
        with WineSession() as wine:
            target = os.path.join(wine.prefix, "drive_c", "Program Files", "Vyrtel")
            with zipfile.ZipFile(PACKAGE) as z:
                z.extractall(os.path.dirname(target))
            self.assertTrue(os.path.isfile(os.path.join(target, "Vyrtel.exe")))
            proc = subprocess.Popen([WINE, os.path.join(target, "Vyrtel.exe")], env=wine.env, cwd=target,
                                    stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, start_new_session=True)
            wine.processes.append(proc)
            window = wine.wait_window("^Vyrtel$")
            wine.screenshot("package_started.png")
            wine.focus(window)
            wine.key("Escape")
            self.assertEqual(wait_until(lambda: proc.poll() is not None and [proc.returncode], 60,
                                        what="Vyrtel.exe to end")[0], 0)


if __name__ == "__main__":
    unittest.main()

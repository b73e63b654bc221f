"""The Windows package as a user gets it: unpacked into a fresh prefix, its
program starts from there with the libraries beside it, shows its window
and ends with Exit's Esc; its README.TXT is readable text for Windows."""

import os
import subprocess
import unittest
import zipfile

from winetest import WineSession, wait_until

PACKAGE = os.environ.get("VYRTEL_PACKAGE", "")


class PackageTest(unittest.TestCase):
    def setUp(self):
        if not os.path.isfile(PACKAGE):
            self.fail(f"no package at {PACKAGE!r}: build the package_zip target")

    def test_holds_the_program_its_libraries_a_readme_and_the_layout_diagrams(self):
        with zipfile.ZipFile(PACKAGE) as z:
            self.assertEqual(sorted(z.namelist()), sorted(
                f"Vyrtel/{name}" for name in ("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL", "README.TXT",
                                              "layout-typewriter.svg", "layout-phonetic.svg")))
            readme = z.read("Vyrtel/README.TXT")
        self.assertTrue(readme.startswith(b"\xef\xbb\xbf"), "UTF-8 with a byte order mark, for Notepad")
        text = readme[3:].decode("utf-8")
        self.assertNotIn("\n", text.replace("\r\n", ""), "Windows line ends throughout")
        self.assertNotIn("@", text, "every placeholder filled")
        self.assertIn("й  ц  у  к  е  н  г  ш  щ  з  х  ї", text)  # typewriter, upper row
        self.assertIn("я  ш  е  р  т  и  у  і  о  п  ю  щ", text)  # phonetic, upper row

    def test_unpacked_program_starts_in_a_fresh_prefix_and_exits_with_esc(self):
        with WineSession() as wine:
            target = os.path.join(wine.prefix, "drive_c", "Program Files", "Vyrtel")
            with zipfile.ZipFile(PACKAGE) as z:
                z.extractall(os.path.dirname(target))
            self.assertTrue(os.path.isfile(os.path.join(target, "Vyrtel.exe")))
            proc = subprocess.Popen(["wine", os.path.join(target, "Vyrtel.exe")], env=wine.env, cwd=target,
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

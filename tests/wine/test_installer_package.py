"""The installer package of each build, read with msitools without running
it, so that the i386 build's package is checked on every host too: what
it installs, for whom, under which names, and what it refuses."""

import os
import re
import subprocess
import unittest

from winetest import ARCH, built

INSTALLER = os.environ.get("VYRTEL_INSTALLER", "")
VERSION = os.environ.get("VYRTEL_VERSION", "")
OTHER = {"win32": "win64", "win64": "win32"}[ARCH]
NAME = {"win32": "Vyrtel (32-bit)", "win64": "Vyrtel"}[ARCH]
TEMPLATE = {"win32": "Intel;1033", "win64": "x64;1033"}[ARCH]
# Word count bits: 0x2 compressed files, 0x8 no elevated rights needed.
COMPRESSED, NO_ELEVATION = 0x2, 0x8


def table(package, name):
    """The rows of a table as lists of column values (no header rows)."""
    out = subprocess.run(["msiinfo", "export", package, name], check=True, capture_output=True, text=True,
                         timeout=30).stdout
    return [line.split("\t") for line in out.splitlines()[3:]]


def properties(package):
    return {row[0]: row[1] for row in table(package, "Property")}


class InstallerPackageTest(unittest.TestCase):
    def setUp(self):
        if not os.path.isfile(INSTALLER):
            self.fail(f"no installer at {INSTALLER!r}: build the package_msi targets")

    def test_a_per_user_package_of_this_build_with_its_own_names(self):
        summary = subprocess.run(["msiinfo", "suminfo", INSTALLER], check=True, capture_output=True, text=True,
                                 timeout=30).stdout
        self.assertIn(f"Template: {TEMPLATE}\n", summary)
        words = int(re.search(r"^Source: (\d+)", summary, re.M)[1])
        self.assertEqual(words & (COMPRESSED | NO_ELEVATION), COMPRESSED | NO_ELEVATION)
        props = properties(INSTALLER)
        self.assertNotIn("ALLUSERS", props, "installed for the user alone")
        self.assertEqual((props["ProductName"], props["ProductVersion"]), (NAME, VERSION))
        other = INSTALLER.replace(f"-{ARCH}.msi", f"-{OTHER}.msi")
        self.assertNotEqual(props["UpgradeCode"], properties(other)["UpgradeCode"], "the builds live side by side")

        files = {row[2]: int(row[3]) for row in table(INSTALLER, "File")}
        self.assertEqual(set(files), {"Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL", "README.TXT",
                                      "layout-typewriter.svg", "layout-phonetic.svg"})
        for name in ("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL"):
            self.assertEqual(files[name], os.path.getsize(built(name)), name)
        folders = {row[0]: (row[1], row[2]) for row in table(INSTALLER, "Directory")}
        self.assertEqual(folders["INSTALLDIR"], ("UserPrograms", NAME))
        self.assertEqual(folders["UserPrograms"], ("LocalAppDataFolder", "Programs"))
        shortcuts = {row[0]: row for row in table(INSTALLER, "Shortcut")}
        self.assertEqual({(row[1], row[2]) for row in shortcuts.values()},
                         {("ProgramMenuFolder", NAME), ("StartupFolder", NAME)})
        self.assertEqual(shortcuts["StartupShortcut"][10], "7", "started at sign-in minimised, not activated")

    def test_refuses_an_older_version_over_a_newer_and_the_64_bit_one_on_32_bit_windows(self):
        conditions = dict(table(INSTALLER, "LaunchCondition"))
        self.assertIn("A newer version of", conditions["NOT WIX_DOWNGRADE_DETECTED"])
        if ARCH == "win64":
            self.assertIn("64-bit Windows", conditions["VersionNT64"])
        else:
            self.assertNotIn("VersionNT64", conditions)


if __name__ == "__main__":
    unittest.main()

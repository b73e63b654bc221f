"""The per-user installer (vyrtel-<version>-<arch>.msi) as a user meets it,
run by Wine's msiexec in a fresh prefix with /qn:

 - an install puts exactly the listed files in the user's programs folder,
   a Start-menu shortcut, an uninstall entry with the version, and with
   AUTOSTART=1 a minimised start at sign-in; the program started from the
   shortcut shows its window and translates a key typed into another
   program; uninstalling while it runs closes it, hook and all, and leaves
   nothing behind;
 - an older version (the same source built here at a lower version) is
   replaced in place, the same version again repairs, a newer installed
   version refuses an older package and keeps its files, and a damaged
   package is refused before anything changes.

winemenubuilder is disabled, as it would otherwise copy the shortcuts into
the host user's own menus and keep them after the uninstall.
"""

import filecmp
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from hooklib_support import PlacedClient
from shell_link import ShellLink
from test_app import KOI8, Inspector, Screen, marks
from winetest import ARCH, ARTIFACTS, WINDOWS_DIR, WINE, WineSession, built, wait_until

INSTALLER = os.environ.get("VYRTEL_INSTALLER", "")
VERSION = os.environ.get("VYRTEL_VERSION", "")
LAYOUT_TOOL = os.environ.get("VYRTEL_LAYOUT_TOOL", "")
MAKE_MSI = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "packaging", "make_msi.py")

NAME = {"win32": "Vyrtel (32-bit)", "win64": "Vyrtel"}[ARCH]
PROGRAM_FILES = ("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL")
FILES = {*PROGRAM_FILES, "README.TXT", "layout-typewriter.svg", "layout-phonetic.svg"}
UNINSTALL_KEYS = ("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                  "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                  "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall")
SETTINGS_KEY = f"HKCU\\Software\\Vyrtel\\{ARCH}"
# msiexec's exit codes as a Linux process's exit status keeps them: the low byte.
ERROR_INSTALL_FAILURE = 1603 & 0xFF
SUCCESS = (0, 1641 & 0xFF, 3010 & 0xFF)  # done; done, rebooting; done, reboot needed
Q_KOI8_TYPEWRITER = ord("й")  # the letter itself: the client is a Unicode window
HOST_MENUS = [os.path.expanduser(p) for p in ("~/.local/share/applications", "~/.config/menus")]


def version_text(version):
    """The packages' spelling of a version: 0.5.1 is "0.51"."""
    major, minor, patch = version.split(".")
    return f"{major}.{minor}{patch}"


def neighbour(version, step):
    """The version one patch level below (step -1) or above (+1)."""
    major, minor, patch = map(int, version.split("."))
    if patch + step < 0:
        return f"{major}.{minor - 1}.9"
    return f"{major}.{minor}.{patch + step}"


def host_menu_files():
    found = set()
    for top in HOST_MENUS:
        for root, _, files in os.walk(top):
            found.update(os.path.join(root, f) for f in files)
    return found


class Installation:
    """A Wine session in which packages are installed as its user would."""

    def __init__(self, wine):
        self.wine = wine
        self.env = dict(wine.env, WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        users = os.path.join(wine.prefix, "drive_c", "users")
        user = next(u for u in os.listdir(users) if u != "Public")
        self.profile = os.path.join(users, user)
        self.folder = os.path.join(self.profile, "AppData", "Local", "Programs", NAME)
        self.win_folder = f"C:\\users\\{user}\\AppData\\Local\\Programs\\{NAME}"
        menu = os.path.join(self.profile, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")
        self.shortcut = os.path.join(menu, f"{NAME}.lnk")
        self.startup_shortcut = os.path.join(menu, "StartUp", f"{NAME}.lnk")
        self.packages = os.path.join(wine.prefix, "drive_c", "packages")
        os.makedirs(self.packages)
        self.timings = []

    def msiexec(self, action, package, *properties, what=""):
        """Runs msiexec /i or /x on a package (a host path) quietly, with a
        verbose log kept among the artifacts; returns its exit code."""
        name = os.path.basename(package)
        if not os.path.exists(os.path.join(self.packages, name)):
            shutil.copy2(package, self.packages)
        log = f"C:\\packages\\{name}{action.replace('/', '-')}.log"
        start = time.monotonic()
        result = subprocess.run([WINE, "msiexec", action, f"C:\\packages\\{name}", "/qn", "/l*v", log, *properties],
                                env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=180)
        self.timings.append((what or f"{action} {name}", time.monotonic() - start, result.returncode))
        host_log = os.path.join(self.packages, log.rsplit("\\", 1)[1])
        self.log = ""
        if os.path.exists(host_log):
            with open(host_log, "rb") as f:
                data = f.read()
            self.log = data.decode("utf-16" if data[:2] == b"\xff\xfe" else "latin-1", errors="replace")
            os.makedirs(ARTIFACTS, exist_ok=True)
            shutil.copy2(host_log, os.path.join(ARTIFACTS, f"installer-{(what or name).replace(' ', '-')}.log"))
        return result.returncode

    def reg_query(self, key):
        """{subkey: {value name: data}} of a key and everything below it
        ({} when there is no such key)."""
        result = subprocess.run([WINE, "reg", "query", key, "/s"], env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=60)
        keys, current = {}, None
        for line in result.stdout.decode(errors="replace").splitlines():
            if line.startswith("HKEY_"):
                current = keys.setdefault(line.strip(), {})
            elif line.startswith("    ") and current is not None:
                parts = line.strip().split(None, 2)
                current[parts[0]] = parts[2] if len(parts) == 3 else ""
        return keys

    def entries(self):
        """The uninstall entries named like this build's package."""
        found = {}
        for key in UNINSTALL_KEYS:
            for subkey, values in self.reg_query(key).items():
                if values.get("DisplayName") == NAME:
                    found[subkey] = values
        return found

    def tasks(self):
        """The running processes' names, in lower case."""
        return subprocess.run([WINE, "tasklist"], env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=60).stdout.decode(errors="replace").lower()

    def sign_out(self):
        """Ends every program of the session and Wine's services with them."""
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=30)

    def product_icon(self):
        """The host path of the icon registered for this build's product, or None."""
        for values in self.reg_query("HKCU\\Software\\Microsoft\\Installer\\Products").values():
            if values.get("ProductName") == NAME and values.get("ProductIcon"):
                icon = values["ProductIcon"]
                return os.path.join(self.wine.prefix, "drive_c", icon[3:].replace("\\", "/"))
        return None

    def files(self):
        return set(os.listdir(self.folder)) if os.path.isdir(self.folder) else set()

    def readme(self):
        with open(os.path.join(self.folder, "README.TXT"), encoding="utf-8-sig") as f:
            return f.read()

    def tree(self):
        """Every file and folder of the user's profile and the Windows
        folder, but the Installer's own caches, which it keeps for itself."""
        paths = set()
        for top in (self.profile, os.path.join(self.wine.prefix, "drive_c", "windows")):
            for root, dirs, files in os.walk(top):
                for name in dirs + files:
                    path = os.path.relpath(os.path.join(root, name), self.wine.prefix)
                    if "Microsoft/Installer" not in path and "windows/Installer" not in path:
                        paths.add(path)
        return paths

    def record_timings(self):
        with open(os.path.join(ARTIFACTS, "installer-timings.txt"), "a") as f:
            for what, seconds, code in self.timings:
                f.write(f"{ARCH} {what}: {seconds:.2f} s, exit code {code}\n")


def build_package(version, folder):
    """The same source built here at another version."""
    output = os.path.join(folder, f"vyrtel-{version_text(version)}-{ARCH}.msi")
    subprocess.run([sys.executable, MAKE_MSI, ARCH, version, version_text(version), WINDOWS_DIR, LAYOUT_TOOL, output],
                   check=True, timeout=120, stdout=subprocess.DEVNULL)
    return output


class InstallerTest(unittest.TestCase):
    def setUp(self):
        if not os.path.isfile(INSTALLER):
            self.fail(f"no installer at {INSTALLER!r}: build the package_msi target")

    def assertInstalledAs(self, setup, version):
        self.assertEqual(setup.files(), FILES)
        self.assertIn(f"Vyrtel {version_text(version)} - ", setup.readme())
        for name in PROGRAM_FILES:
            self.assertTrue(filecmp.cmp(os.path.join(setup.folder, name), built(name), shallow=False), name)
        entries = setup.entries()
        self.assertEqual(len(entries), 1, f"one uninstall entry: {list(entries)}")
        return next(iter(entries.values()))

    def assertNothingLeft(self, setup, tree_before):
        self.assertEqual(setup.files(), set())
        self.assertFalse(os.path.exists(setup.folder))
        self.assertFalse(os.path.exists(setup.shortcut))
        self.assertFalse(os.path.exists(setup.startup_shortcut))
        self.assertEqual(setup.entries(), {})
        self.assertEqual(setup.reg_query("HKCU\\Software\\Vyrtel"), {})
        # %LOCALAPPDATA%\\Programs is the system's folder for per-user programs;
        # Wine's msiexec keeps it, empty, where Windows would take it away.
        left = setup.tree() - tree_before
        programs = os.path.dirname(os.path.relpath(setup.folder, setup.wine.prefix))
        if programs in left:
            self.assertEqual(os.listdir(os.path.join(setup.wine.prefix, programs)), [])
            left.remove(programs)
        self.assertEqual(sorted(left), [])

    def test_install_start_at_sign_in_use_and_uninstall_while_running(self):
        menus_before = host_menu_files()
        with WineSession() as wine:
            setup = Installation(wine)
            before = setup.tree()
            try:
                self.assertEqual(setup.msiexec("/i", INSTALLER, "AUTOSTART=1", what="install"), 0)

                entry = self.assertInstalledAs(setup, VERSION)
                self.assertEqual(entry["DisplayVersion"], VERSION)
                self.assertEqual(entry["Publisher"], "The Vyrtel Team")
                self.assertEqual(entry.get("InstallLocation", "").rstrip("\\"), setup.win_folder)
                self.assertIn("/X{", entry["UninstallString"].upper().replace("MSIEXEC.EXE", ""))

                # The list of installed programs shows the program's own icon.
                icon = setup.product_icon()
                self.assertTrue(icon and filecmp.cmp(icon, built("Vyrtel.exe"), shallow=False), icon)

                program = f"{setup.win_folder}\\Vyrtel.exe"
                shortcut = ShellLink(setup.shortcut)
                self.assertEqual((shortcut.target, shortcut.working_dir.rstrip("\\")), (program, setup.win_folder))
                startup = ShellLink(setup.startup_shortcut)
                self.assertEqual((startup.target, startup.show_command), (program, 7), "minimised, not activated")
                self.assertEqual(setup.reg_query(SETTINGS_KEY)[f"HKEY_CURRENT_USER\\Software\\Vyrtel\\{ARCH}"],
                                 {"StartAtSignIn": "0x1"})

                # Started as the Start menu starts it: through the shortcut.
                wine.install("vyrtel_inspector.exe", "hook_client.exe")
                starter = subprocess.Popen([WINE, "start", setup.shortcut.replace(wine.prefix + "/drive_c", "C:")
                                            .replace("/", "\\")], env=setup.env, stdin=subprocess.DEVNULL,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                           start_new_session=True)
                wine.processes.append(starter)
                wine.wait_window("^Vyrtel$")
                inspector = Inspector(wine)
                wait_until(lambda: (f := inspector.frame()) and f["visible"] == "1", what="the frame")
                wine.screenshot(f"installer-started-{ARCH}.png")
                Screen(wine, inspector).click(KOI8)
                wait_until(lambda: inspector.checks() == marks(1, 3, 0), what="KOI8 chosen")

                client = PlacedClient(wine)
                typed = client.type_as_user

                self.assertEqual(typed("ctrl+Shift_R", "q"), [Q_KOI8_TYPEWRITER])

                # Uninstalled while it runs, translating: it is closed first,
                # as Exit closes it, and its hook goes with it.
                code = setup.msiexec("/x", INSTALLER, what="uninstall while running")
                self.assertIsNone(inspector.frame())
                self.assertNotIn("vyrtel.exe", setup.tasks())
                self.assertEqual(typed("q"), [ord("q")], "no hook left")
                if code != 0:
                    # The programs the hook entered still hold the library (Wine
                    # keeps it until they end): refused, everything in place.
                    self.assertEqual(code, ERROR_INSTALL_FAILURE)
                    self.assertIn("Tavrilex.dll) is still loaded in programs it served", setup.log)
                    self.assertInstalledAs(setup, VERSION)
                    self.assertTrue(os.path.isfile(setup.shortcut) and os.path.isfile(setup.startup_shortcut))
                    # Signed out and in again, the uninstall goes through.
                    setup.sign_out()
                    self.assertEqual(setup.msiexec("/x", INSTALLER, what="uninstall"), 0)
                self.assertNothingLeft(setup, before)
                self.assertFalse(os.path.exists(os.path.dirname(icon)))
            finally:
                setup.record_timings()
        self.assertEqual(host_menu_files() - menus_before, set(), "nothing in the host's menus")

    def test_upgrade_repair_downgrade_and_a_damaged_package(self):
        lower, higher = neighbour(VERSION, -1), neighbour(VERSION, +1)
        with tempfile.TemporaryDirectory(prefix="vyrtel-msi-test-") as folder, WineSession() as wine:
            older, newer = build_package(lower, folder), build_package(higher, folder)
            setup = Installation(wine)
            before = setup.tree()
            try:
                damaged = os.path.join(folder, "damaged.msi")
                with open(INSTALLER, "rb") as f:
                    data = f.read()
                with open(damaged, "wb") as f:
                    f.write(data[:len(data) // 2])
                # Windows answers 1620 (ERROR_INSTALL_PACKAGE_INVALID); Wine's msiexec has
                # its own code for a package it cannot open. Either way: refused.
                self.assertNotIn(setup.msiexec("/i", damaged), SUCCESS)
                self.assertEqual((setup.files(), setup.entries()), (set(), {}))

                self.assertEqual(setup.msiexec("/i", older, "AUTOSTART=1"), 0)
                self.assertEqual(self.assertInstalledAs(setup, lower)["DisplayVersion"], lower)

                # A newer version over it: one entry, the new files, the
                # start at sign-in kept.
                self.assertEqual(setup.msiexec("/i", INSTALLER, what="upgrade"), 0)
                self.assertEqual(self.assertInstalledAs(setup, VERSION)["DisplayVersion"], VERSION)
                self.assertEqual(ShellLink(setup.startup_shortcut).show_command, 7)

                # The same version again repairs, the start at sign-in kept.
                os.unlink(os.path.join(setup.folder, "Tavrilex.dll"))
                os.unlink(setup.shortcut)
                self.assertEqual(setup.msiexec("/i", INSTALLER, what="repair"), 0)
                self.assertInstalledAs(setup, VERSION)
                self.assertTrue(os.path.isfile(setup.shortcut) and os.path.isfile(setup.startup_shortcut))

                # AUTOSTART=0 and =1 on a later run turn the start at sign-in off and on.
                self.assertEqual(setup.msiexec("/i", INSTALLER, "AUTOSTART=0", what="start at sign-in off"), 0)
                self.assertFalse(os.path.exists(setup.startup_shortcut))
                self.assertEqual(setup.reg_query(SETTINGS_KEY), {})
                self.assertInstalledAs(setup, VERSION)
                self.assertEqual(setup.msiexec("/i", INSTALLER, "AUTOSTART=1", what="start at sign-in on"), 0)
                self.assertEqual(ShellLink(setup.startup_shortcut).show_command, 7)

                # An older package over a newer installation changes nothing.
                self.assertEqual(setup.msiexec("/i", newer), 0)
                self.assertEqual(setup.msiexec("/i", INSTALLER, what="downgrade"), ERROR_INSTALL_FAILURE)
                self.assertEqual(self.assertInstalledAs(setup, higher)["DisplayVersion"], higher)
                self.assertEqual(setup.msiexec("/x", newer), 0)
                self.assertNothingLeft(setup, before)
            finally:
                setup.record_timings()


if __name__ == "__main__":
    unittest.main()

"""Vyrtel.exe under Wine, used as a user uses it: every choice of the control
dialog clicked for real reaches the library as its call, in order, and the
marks show the choices. The rules behind each call (which table, when a
coding becomes current) are the control model's, proven natively
(tests/native/app); this run proves the wiring from real clicks.

The calls are read from a recording stand-in for Tavrilex.dll
(tests/win32/app/recording_library.cpp), installed under the real one's
name: it logs each call with its arguments and result. The program's
windows are read from another process by vyrtel_inspector.exe.

The helpers here (app_session, Vyrtel, Inspector) serve every test_app*
module.
"""

import contextlib
import os
import re
import subprocess
import unittest

from hooklib_support import Program
from pe_image import PeImage
from program_ids import ID, IDCANCEL, IDOK
from winetest import WINE, WaitTimeout, WineSession, built, wait_until

# Controls of the control dialog.
KOI8, CP1251, DISABLE = ID["IDC_KOI8"], ID["IDC_CP1251"], ID["IDC_DISABLE"]
LEFT_RIGHT, CYCLED = ID["IDC_CTRL_SHIFT_LEFT_RIGHT"], ID["IDC_CTRL_SHIFT_CYCLED"]
SCROLL_LOCK, NUM_LOCK = ID["IDC_SCROLL_LOCK"], ID["IDC_NUM_LOCK"]
EMBLEM, TYPEWRITER, PHONETIC = ID["IDC_ABOUT_BUTTON"], ID["IDC_TYPEWRITER"], ID["IDC_PHONETIC"]
MINIMIZE, EXIT = IDOK, IDCANCEL
RADIO_BUTTONS = (KOI8, CP1251, DISABLE, LEFT_RIGHT, SCROLL_LOCK, NUM_LOCK, CYCLED, TYPEWRITER, PHONETIC)
CODING_BUTTON = {0: DISABLE, 1: KOI8, 2: CP1251}
TOGGLE_BUTTON = {0: SCROLL_LOCK, 1: NUM_LOCK, 2: CYCLED, 3: LEFT_RIGHT}
LAYOUT_BUTTON = {0: TYPEWRITER, 1: PHONETIC}

# What the recording library logs for a start and a normal end.
START = ["attach", "DllLock self -> 1", "DllCtrl null 0 -> 0", "SetToggler 3 -> 3",
         'DllReg window title="Vyrtel" -> 1']
END = ["DllCtrl null 0 -> 0", "detach unload"]

LIBRARIES = {
    "recording": "recording_tavrilex.dll",
    "no-beeper": "recording_tavrilex_no_beeper.dll",
    "letters": "recording_tavrilex_letters.dll",
    "real": "Tavrilex.dll",
}


def marks(coding, toggle, layout):
    """The check marks of the nine radio buttons for these choices."""
    checked = {CODING_BUTTON[coding], TOGGLE_BUTTON[toggle], LAYOUT_BUTTON[layout]}
    return {button: int(button in checked) for button in RADIO_BUTTONS}


@contextlib.contextmanager
def app_session(library="recording", relay=(), extra=(), **session_options):
    """A Wine session with Vyrtel.exe, BWCC32.DLL and the test helpers in
    the program folder, and `library` ("recording", "no-beeper", "real" or
    None) installed as Tavrilex.dll. `relay`: platform functions (e.g.
    "user32.MessageBoxExA") whose calls Wine's relay channel reports for
    programs started with relay=True; the setting is read by each process
    as it starts."""
    with WineSession(**session_options) as wine:
        if relay:
            subprocess.run([WINE, "reg", "add", "HKCU\\Software\\Wine\\Debug", "/v", "RelayInclude",
                            "/d", ";".join(relay), "/f"], env=wine.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120, check=True)
        wine.install("Vyrtel.exe", "BWCC32.DLL", "vyrtel_inspector.exe", "show_launcher.exe", *extra)
        if library:
            wine.install_as(LIBRARIES[library], "Tavrilex.dll")
        yield wine


def fields(line):
    """An inspector answer "word a=1 b=2 ... text=free text" as a dict; bare
    words after the first are listed under "args"."""
    head, has_text, text = line.partition(" text=")
    words = head.split()
    result = {"word": words[0], "args": []}
    for word in words[1:]:
        if "=" in word:
            key, value = word.split("=", 1)
            result[key] = value
        else:
            result["args"].append(word)
    if has_text:
        result["text"] = text.replace("\\n", "\n")
    return result


def numbers(value):
    return [int(v) for v in value.split(",")]


class Inspector(Program):
    """vyrtel_inspector.exe: the program's windows seen from outside."""

    def __init__(self, wine, desktop=None):
        super().__init__(wine, "vyrtel_inspector.exe", *([desktop] if desktop else []))
        self.expect("ready")

    def one(self, command):
        self.send(command)
        return fields(self.expect(command.split()[0] + " "))

    def listing(self, command, item):
        """The items of a listing answer, up to its "<item> end" line."""
        self.send(command)
        items = []
        while True:
            line = self.expect("")
            if line.startswith(f"{item} end"):
                return items
            items.append(fields(line))

    def frame(self):
        """The frame's facts, or None while there is no frame."""
        answer = self.one("frame")
        return None if "none" in answer["args"] else answer

    def dialog(self):
        return self.one("dialog")

    def controls(self):
        return self.listing("controls", "control")

    def checks(self):
        answer = self.one("checks")
        return {int(k): int(v) for k, v in answer.items() if k.isdigit()}

    def top(self, title):
        """Top-level windows titled exactly `title`, each with its children."""
        self.send(f"top {title}")
        windows = []
        while True:
            line = self.expect("")
            if line.startswith("top end"):
                return windows
            if line.startswith("top "):
                windows.append(dict(fields(line), children=[]))
            elif not line.startswith("child end"):
                windows[-1]["children"].append(fields(line))

    def edit_text(self, title):
        """The text of the edit control of the window titled `title`, or
        None while there is no such window."""
        answer = self.one(f"edittext {title}")
        if "none" in answer["args"]:
            return None
        units = answer["wtext"]
        return "" if units == "-" else "".join(chr(int(units[i:i + 4], 16)) for i in range(0, len(units), 4))

    def hits(self):
        """{hit-test code: (x, y)} found on and around the frame's edges."""
        result = {}
        for item in self.one("hits")["args"]:
            code, point = item.split("@")
            result[int(code)] = tuple(numbers(point))
        return result

    def screen(self):
        return numbers(self.one("screen")["size"])


class Vyrtel:
    """One start of Vyrtel.exe in an app_session, with what the recording
    library logged. `launcher`: a show command to start it with (through
    show_launcher.exe). `desktop`: a Wine virtual desktop to start it on
    (the exit code is then not ours to see). `relay`: report the platform
    calls chosen for the session (see calls())."""

    count = 0

    def __init__(self, wine, launcher=None, desktop=None, relay=False, **environment):
        Vyrtel.count += 1
        self.wine = wine
        self.log = wine.path("calls.log")
        env = dict(wine.env, VYRTEL_RECORD_LOG=wine.winpath("calls.log"), **environment)
        if relay:
            env["WINEDEBUG"] = "+relay"
        program = wine.path("Vyrtel.exe")
        if launcher is not None:
            command = [WINE, wine.path("show_launcher.exe"), str(launcher), wine.winpath("Vyrtel.exe")]
        elif desktop:
            command = [WINE, "explorer", f"/desktop={desktop},800x600", program]
        else:
            command = [WINE, program]
        self.errors = wine.path(f"vyrtel-{Vyrtel.count}.err")
        self.start_mark = len(self.calls())
        with open(self.errors, "wb") as errors:
            self.proc = subprocess.Popen(command, env=env, cwd=wine.appdir, stdin=subprocess.DEVNULL,
                                         stdout=subprocess.DEVNULL, stderr=errors, start_new_session=True)
        wine.processes.append(self.proc)

    # ---- the recording library's log ----

    def calls(self, start=0):
        """The log's lines from `start` on, the window handle in DllReg left out."""
        if not os.path.exists(self.log):
            return []
        with open(self.log, errors="replace") as f:
            lines = f.read().splitlines()
        return [re.sub(r"^DllReg [0-9a-f]{8} ", "DllReg ", line) for line in lines[start:]]

    def registered_window(self):
        """The window handle of the last DllReg, as an int."""
        with open(self.log) as f:
            found = re.findall(r"^DllReg ([0-9a-f]{8}) ", f.read(), re.M)
        return int(found[-1], 16) if found else None

    def mark(self):
        return len(self.calls())

    def wait_calls(self, expected, start=0, timeout=20):
        """Waits until the log from `start` on is exactly `expected`."""
        try:
            wait_until(lambda: self.calls(start) == expected, timeout, what=f"the calls {expected}")
        except WaitTimeout:
            raise AssertionError(f"calls from line {start}: {self.calls(start)}, expected {expected}") from None

    # ---- the platform calls made by the program's own code ----

    def platform_calls(self):
        """(function, arguments) of each reported call whose return address
        lies in Vyrtel.exe's image, in order (needs relay)."""
        image = PeImage(built("Vyrtel.exe"))
        base, size = image.image_base, image.image_size
        with open(self.errors, errors="replace") as f:
            text = f.read()
        result = []
        for match in re.finditer(r"^[0-9a-f]+:Call [\w.]+\.(\w+)\((.*)\) ret=([0-9a-f]+)$", text, re.M):
            if base <= int(match[3], 16) < base + size:
                result.append((match[1], match[2]))
        return result

    # ---- the process ----

    def exit_code(self, timeout=30):
        return self.proc.wait(timeout=timeout)


class Screen:
    """A click on a control of the running program, by its centre on the
    screen (no window manager: X and Windows coordinates agree)."""

    def __init__(self, wine, inspector):
        self.wine = wine
        self.centres = {c["id"]: numbers(c["centre"]) for c in inspector.controls()}

    def click(self, control):
        x, y = self.centres[str(control)]
        self.wine.xdotool("mousemove", "--sync", x, y)
        self.wine.xdotool("click", "1")


def press(wine, *keys):
    """Types keys into the frame. The X focus is moved to it only when it is
    elsewhere: focusing the focused frame again would move the keyboard
    focus inside it."""
    frame = wine.wait_window("^Vyrtel$")
    if wine.xdotool("getwindowfocus", check=False).strip() != str(frame):
        wine.focus(frame)
    wine.key(*keys)


def started(wine, recording=True, **options):
    """Starts the program (Vyrtel options) and waits until it shows its
    frame, and, with the recording library, has made its start calls;
    returns (Vyrtel, Inspector, frame facts, Screen)."""
    run = Vyrtel(wine, **options)
    inspector = Inspector(wine)
    if recording:
        run.wait_calls(START, run.start_mark)
    frame = wait_until(lambda: (f := inspector.frame()) and f["visible"] == "1" and f, what="the frame")
    return run, inspector, frame, Screen(wine, inspector)


def click_through(test, run, inspector, screen, steps):
    """Clicks each (control, the one call it makes, the choices shown
    afterwards: coding, toggle method, layout) in turn and waits for both."""
    for control, call, shown in steps:
        with test.subTest(control=control, call=call):
            mark = run.mark()
            screen.click(control)
            run.wait_calls([call], mark)
            wait_until(lambda: inspector.checks() == marks(*shown),
                       what=f"marks {shown}, have {inspector.checks()}")


class CallSequenceTest(unittest.TestCase):
    def test_each_click_is_one_call_in_order_from_start_to_exit(self):
        with app_session() as wine:
            run, inspector, frame, screen = started(wine)
            # The frame registered itself, after the dialog set up the library.
            self.assertEqual(run.registered_window(), int(frame["hwnd"], 16))
            self.assertEqual(inspector.checks(), marks(0, 3, 0))

            # (control, the one call it makes, the choices shown afterwards:
            # coding, toggle method, layout). Every radio button once, in an
            # order where each click makes a call of its own.
            steps = [
                (KOI8, "DllCtrl koi8-typewriter 47 -> 1", (1, 3, 0)),
                (PHONETIC, "DllCtrl koi8-phonetic 47 -> 1", (1, 3, 1)),
                (CP1251, "DllCtrl cp1251-phonetic 47 -> 1", (2, 3, 1)),
                (TYPEWRITER, "DllCtrl cp1251-typewriter 47 -> 1", (2, 3, 0)),
                (SCROLL_LOCK, "SetToggler 0 -> 0", (2, 0, 0)),
                (NUM_LOCK, "SetToggler 1 -> 1", (2, 1, 0)),
                (DISABLE, "DllCtrl null 0 -> 0", (0, 1, 0)),
                (CYCLED, "SetToggler 2 -> 2", (0, 2, 0)),
                (LEFT_RIGHT, "SetToggler 3 -> 3", (0, 3, 0)),
            ]
            click_through(self, run, inspector, screen, steps)

            mark = run.mark()
            screen.click(EXIT)
            self.assertEqual(run.exit_code(), 0)
            self.assertEqual(run.calls(mark), END, "the hook is removed, then the library unloaded")
            self.assertEqual(run.calls(), START + [call for _, call, _ in steps] + END)


class LettersTest(unittest.TestCase):
    def test_a_library_that_takes_letters_gets_each_tables_letters_with_it(self):
        # The same clicks as above, to a library with DllCtrlW: each table
        # travels with the letters of its layout; removals stay DllCtrl.
        with app_session(library="letters") as wine:
            run, inspector, frame, screen = started(wine)
            steps = [
                (KOI8, "DllCtrlW koi8-typewriter typewriter-letters 47 -> 1", (1, 3, 0)),
                (PHONETIC, "DllCtrlW koi8-phonetic phonetic-letters 47 -> 1", (1, 3, 1)),
                (CP1251, "DllCtrlW cp1251-phonetic phonetic-letters 47 -> 1", (2, 3, 1)),
                (TYPEWRITER, "DllCtrlW cp1251-typewriter typewriter-letters 47 -> 1", (2, 3, 0)),
                (DISABLE, "DllCtrl null 0 -> 0", (0, 3, 0)),
            ]
            click_through(self, run, inspector, screen, steps)
            screen.click(EXIT)
            self.assertEqual(run.exit_code(), 0)
            self.assertEqual(run.calls(), START + [call for _, call, _ in steps] + END)


if __name__ == "__main__":
    unittest.main()

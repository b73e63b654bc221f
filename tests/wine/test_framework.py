"""The class framework under Wine: frame and client dialog, response tables,
radio buttons, modal boxes, minimising, focus, closing, failed steps in
handlers.

Each test runs framework_test_app.exe (tests/win32/framework), an
application built on the framework that writes every handler call and the
facts checked here to a log, next to a recording stand-in for the
custom-control library installed as BWCC32.DLL, which writes its calls to
the same log. The tests drive it with xdotool clicks and keys and read the
log.
"""

import contextlib
import os
import re
import shutil
import subprocess
import unittest

from winetest import WINE, WaitTimeout, WineSession, built, wait_until

EXE = "framework_test_app.exe"
DESKTOP = "fwtest"


def install(wine):
    wine.install(EXE)
    shutil.copy2(built("bwcc_recorder.dll"), wine.path("BWCC32.DLL"))


class FrameworkRun:
    """One run of the test program in a session, with its event log.

    On a Wine virtual desktop (desktop=True) the frame has a title bar to
    click, but the program's exit code is not ours to see; without one,
    every top-level window is an X window at its Windows position.
    """

    def __init__(self, wine, scenario, desktop=False, log_name=None, launcher=()):
        self.wine = wine
        self.desktop = desktop
        name = log_name or f"{scenario}.log"
        self.log = wine.path(name)
        program = [wine.path(EXE), scenario, wine.winpath(name)]
        if desktop:
            command = [WINE, "explorer", f"/desktop={DESKTOP},800x600", *program]
        elif launcher:
            command = [WINE, *launcher, wine.winpath(EXE), *program[1:]]
        else:
            command = [WINE, *program]
        self.proc = subprocess.Popen(command, env=wine.env, cwd=wine.appdir, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        wine.processes.append(self.proc)
        self.desk = wine.wait_window("Wine desktop") if desktop else None

    # ---- the log ----

    def lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, errors="replace") as f:
            return f.read().splitlines()

    def mark(self):
        return len(self.lines())

    def wait_line(self, pattern, start=0, timeout=20):
        """Index of the first line from `start` on that matches `pattern`."""
        def find():
            for index, line in enumerate(self.lines()[start:], start):
                if re.fullmatch(pattern, line):
                    return index + 1  # truthy even for line 0
            return None
        try:
            return wait_until(find, timeout, what=f"log line {pattern!r}") - 1
        except WaitTimeout as timeout_error:
            raise WaitTimeout(f"{timeout_error} from line {start} of the log:\n" + "\n".join(self.lines())) from None

    def events(self, start=0, end=None):
        """Log lines in [start, end) without the focus changes."""
        return [line for line in self.lines()[start:end] if not line.startswith("focus ")]

    def assert_in_order(self, test, expected, start=0):
        """Each expected line occurs after the one before it."""
        lines = self.lines()
        position = start
        for line in expected:
            try:
                position = lines.index(line, position) + 1
            except ValueError:
                test.fail(f"{line!r} missing after line {position} of:\n" + "\n".join(lines))

    def layout(self):
        """The last layout the frame logged: named values and control centres."""
        lines = self.lines()
        end = max(i for i, line in enumerate(lines) if line in ("ready", "restored"))
        begin = max(i for i in range(end) if lines[i].startswith("frame window "))
        values, controls = {}, {}
        for line in lines[begin:end]:
            match = re.fullmatch(r"control (-?\d+) at (-?\d+) (-?\d+)", line)
            if match:
                controls[int(match[1])] = (int(match[2]), int(match[3]))
                continue
            words = line.split()
            key = " ".join(w for w in words if not re.fullmatch(r"-?[0-9A-F]+|\w+=\w+", w))
            values[key] = [w for w in words if re.fullmatch(r"-?[0-9A-F]+|\w+=\w+", w)]
        return values, controls

    # ---- input ----

    def click(self, x, y):
        if self.desk is not None:
            self.wine.xdotool("mousemove", "--window", self.desk, x, y, "click", "1")
        else:
            self.wine.xdotool("mousemove", x, y, "click", "1")

    def click_control(self, control_id):
        self.click(*self.layout()[1][control_id])

    def key(self, *keys, window_title="FwTest Frame"):
        target = self.desk if self.desk is not None else self.wine.wait_window(f"^{window_title}$")
        # Focusing a window that has the focus already would move the
        # keyboard focus inside it; only an X focus change is wanted.
        focused = self.wine.xdotool("getwindowfocus", check=False).strip()
        if focused != str(target):
            self.wine.focus(target)
        self.wine.key(*keys)

    def exit_code(self, timeout=30):
        return self.proc.wait(timeout=timeout)


def ints(values):
    return [int(v) for v in values]


def hexes(values):
    return [int(v, 16) for v in values if "=" not in v]


@contextlib.contextmanager
def frame_session():
    """A session whose test program shows its frame ("frame" scenario) and
    is ready; yields (session, FrameworkRun)."""
    with WineSession() as wine:
        install(wine)
        run = FrameworkRun(wine, "frame")
        run.wait_line("ready")
        yield wine, run


class FrameTest(unittest.TestCase):
    def test_frame_fits_its_dialog_exactly_then_only_lays_it_out_again(self):
        with frame_session() as (wine, run):
            values, _ = run.layout()
            designed = ints(run.lines()[run.wait_line(r"dialog created content \d+ \d+")].split()[-2:])
            width, height = designed
            self.assertEqual(ints(values["frame area"]), designed)
            self.assertEqual(ints(values["client content"]), designed)
            # The dialog's thin border lies just outside the frame's client area.
            self.assertEqual(ints(values["client window"]), [-1, -1, width + 2, height + 2])
            style, ex = hexes(values["client style ex"])
            self.assertEqual(style & 0x80440000, 0, "pop-up, dialog frame and sizing border are gone")
            self.assertEqual(style & 0x50800000, 0x50800000, "a visible child with a border")
            self.assertEqual(ex & 0x20101, 0)
            self.assertIn("parent=frame", values["client style ex"])
            # The X server sees the frame's client area at exactly that size.
            frame = wine.wait_window("^FwTest Frame$")
            self.assertEqual(wine.geometry(frame)[2:], (width, height))
            # The style the program set, and the main window's task-bar flag.
            style, ex = hexes(values["frame style ex"])
            self.assertEqual(style & 0x124A0000, 0x124A0000)
            self.assertEqual(style & 0x00050000, 0, "no sizing border, no maximise box")
            self.assertEqual(ex & 0x00040000, 0x00040000)
            self.assertEqual(ints(values["icons big small"]), [32, 32, 16, 16])
            # The custom controls were enabled before the dialog was made through them.
            run.assert_in_order(self, ["show command 10", "LoadLibraryA BWCC32.DLL", "BWCCIntlInit 0",
                                       "BWCCRegister app", "BWCCRegister app",
                                       "CreateDialogParamA 100 owner=window module=app", "frame created"])
            self.assertEqual(run.lines().count("BWCCIntlInit 0"), 1)

            mark = run.mark()
            wine.xdotool("windowsize", frame, 400, 300)
            run.wait_line("restored", mark)
            values, _ = run.layout()
            self.assertEqual(ints(values["frame area"]), [400, 300], "no fitting after the first")
            self.assertEqual(ints(values["client window"]), [-1, -1, 402, 302])

    def test_without_shrink_to_client_the_client_fills_the_frame(self):
        with WineSession() as wine:
            install(wine)
            run = FrameworkRun(wine, "unfitted")
            run.wait_line("ready")
            values, _ = run.layout()
            width, height = ints(values["frame area"])
            self.assertEqual(ints(values["client window"]), [0, 0, width, height])
            style, _ = hexes(values["client style ex"])
            self.assertEqual(style & 0x00C00000, 0x00C00000, "the dialog keeps its caption")
            style, _ = hexes(values["frame style ex"])
            self.assertEqual(style & 0x12CF0000, 0x12CF0000, "the frame's default style")

    def test_show_command_received_at_start_is_the_frames(self):
        with WineSession() as wine:
            install(wine)
            run = FrameworkRun(wine, "frame", launcher=("start", "/min", "/wait"))
            run.wait_line("ready")
            run.assert_in_order(self, ["show command 2", "frame created", "minimized iconic=1", "ready"])


class CommandTest(unittest.TestCase):
    def test_clicks_and_keys_reach_the_handlers_that_the_tables_choose(self):
        with frame_session() as (wine, run):
            # A mark set before the window existed is applied when the button attaches.
            run.assert_in_order(self, ["checks 0 1 0", "frame created"])

            mark = run.mark()
            run.click_control(202)
            run.wait_line("CmShared derived", mark)
            run.click_control(201)
            run.wait_line("CmBaseOnly", mark)
            self.assertNotIn("CmShared base", run.lines())

            # The radio-button object sees the click first, then the dialog's table;
            # the dialog sets the marks, and the controls show them. Space on the
            # button, now checked, runs its handler again. (A second click at once
            # would be a double click, which is no command.)
            for press in (lambda: run.click_control(101), lambda: run.key("space")):
                mark = run.mark()
                press()
                end = run.wait_line(r"checks \d \d \d", mark)
                self.assertEqual(run.events(mark, end + 1), ["radio 101 notified 0", "CmRadio 101", "checks 1 0 0"])

            # Keyboard: arrows only move the focus among non-automatic buttons,
            # Space clicks the focused one, Tab leaves the group.
            mark = run.mark()
            run.key("Down")
            run.wait_line("focus 102", mark)
            run.key("space")
            end = run.wait_line(r"checks \d \d \d", mark)
            self.assertEqual(run.events(mark, end + 1), ["radio 102 notified 0", "CmRadio 102", "checks 0 1 0"])
            mark = run.mark()
            run.key("Tab", "Tab", "space")
            run.wait_line("CmShared derived", mark)
            wine.screenshot("framework_client_dialog.png")
            self.assertEqual(run.events(mark), ["CmShared derived"])

    def test_default_button_minimises_the_frame_like_its_title_bar_button(self):
        with WineSession() as wine:
            install(wine)
            run = FrameworkRun(wine, "frame", desktop=True)
            run.wait_line("ready")
            run.click_control(103)
            run.wait_line("CmRadio 103")
            wine.screenshot("framework_frame_on_desktop.png")

            # Enter on a radio button: the default push button, IDOK, which the
            # derived table maps to a handler that shows the main window with SW_MINIMIZE.
            mark = run.mark()
            run.key("Return")
            begin = run.wait_line("CmMinimize", mark)
            end = run.wait_line(r"minimized iconic=1", begin)
            by_request = run.events(begin + 1, end + 1)
            self.assertEqual(by_request, ["syscommand F020", "minimized iconic=1"])

            # Restored by another process (as a second start would): the focus
            # goes back to the control that had it.
            mark = run.mark()
            FrameworkRun(wine, "restore", desktop=True, log_name="restore.log")
            run.wait_line("restored", mark)
            self.assertEqual([l for l in run.lines()[mark:] if l.startswith("focus ")][-1], "focus 103")

            values, _ = run.layout()
            mark = run.mark()
            run.click(*ints(values["minimise button at"]))
            end = run.wait_line(r"minimized iconic=1", mark)
            self.assertEqual(run.events(mark, end + 1), by_request)

    def test_modal_box_returns_the_code_of_its_button_enter_and_escape(self):
        with frame_session() as (wine, run):
            for close, expected in (("click", 1), ("Return", 1), ("Escape", 2)):
                with self.subTest(close=close):
                    mark = run.mark()
                    run.click_control(203)
                    opened = run.wait_line("modal open", mark)
                    ok = [l for l in run.lines()[mark:opened] if l.startswith("control 1 at ")][-1].split()
                    # The owner takes no input while the box is up.
                    run.click_control(201)
                    if close == "click":
                        run.click(int(ok[3]), int(ok[4]))
                    else:
                        run.key(close, window_title="FwTest Modal")
                    returned = run.wait_line(r"modal returned -?\d+", mark)
                    self.assertEqual(run.lines()[returned], f"modal returned {expected}")
                    self.assertNotIn("CmBaseOnly", run.lines()[mark:returned])
                    run.assert_in_order(self, ["BWCCRegister app", "DialogBoxParamA 101 owner=window module=app",
                                               "modal open"], mark)


class ClosingTest(unittest.TestCase):
    # The windows are gone before the library of their classes.
    ENDING = ["terminate 0", "frame deleted", "dialog deleted", "BWCCIntlTerm", "FreeLibrary BWCC32.DLL", "exit 0"]

    def test_exit_escape_and_alt_f4_end_the_application_with_0(self):
        ways = {
            "Exit button": ["dialog destroyed", "close", "frame destroyed"],
            "Escape": ["dialog destroyed", "close", "frame destroyed"],
            "Alt+F4": ["syscommand F060", "close", "frame destroyed", "dialog destroyed"],
        }
        for way, expected in ways.items():
            with self.subTest(way=way), frame_session() as (wine, run):
                mark = run.mark()
                if way == "Exit button":
                    run.click_control(2)
                else:
                    run.key("Escape" if way == "Escape" else "alt+F4")
                self.assertEqual(run.exit_code(), 0)
                self.assertEqual(run.events(mark), expected + self.ENDING)

    def test_a_failed_step_in_a_handler_is_reported_and_ends_the_run_with_1(self):
        # The handler's step records why it failed and the handler hands the
        # failure to the application; in the modal box, the box ends at once
        # and its RunModal answers -1.
        for where in ("dialog", "modal box"):
            with self.subTest(where=where), frame_session() as (wine, run):
                if where == "dialog":
                    run.click_control(204)
                    text = "Handler failure for the test"
                else:
                    run.click_control(203)
                    opened = run.wait_line("modal open")
                    fail = [l for l in run.lines()[:opened] if l.startswith("control 210 at ")][-1].split()
                    run.click(int(fail[3]), int(fail[4]))
                    text = "Modal handler failure for the test"
                run.wait_line(f"BWCCMessageBox owner=none type=2010 caption=FwTest text={text}")
                box = wine.wait_window("^FwTest$")
                self.assertEqual(wine.find_windows("^FwTest Modal$"), [], "the modal box has ended")
                if where == "dialog":
                    wine.screenshot("framework_handler_failure.png")
                wine.focus(box)
                wine.key("Return")
                self.assertEqual(run.exit_code(), 1)
                run.assert_in_order(self, ["terminate 1", "BWCCIntlTerm", "FreeLibrary BWCC32.DLL", "exit 1"])
                self.assertNotIn("modal returned", " ".join(run.lines()))
                if where == "modal box":
                    run.assert_in_order(self, ["modal failed", f"BWCCMessageBox owner=none type=2010 caption=FwTest "
                                                               f"text={text}"])


if __name__ == "__main__":
    unittest.main()

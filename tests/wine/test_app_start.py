"""Starts of Vyrtel.exe that must fail, and how: the message box (text,
caption, type) or none, the library unloaded before the box, no window
ever made, exit code 1; and the single-instance lock of the real
Tavrilex.dll, which brings a running copy forward and passes to the next
start once the copy holding it has ended.

What the program itself asks of the platform (LoadLibraryA, GetProcAddress,
FreeLibrary, MessageBoxExA, CreateWindowExA) is read from Wine's relay
channel, keeping only the calls made from Vyrtel.exe's own code."""

import re
import unittest

from hooklib_support import Driver
from test_app import EXIT, KOI8, Inspector, Screen, Vyrtel, app_session, marks
from winetest import wait_until

RELAY = ("kernel32.LoadLibraryA", "kernel32.GetProcAddress", "kernel32.FreeLibrary", "user32.MessageBoxExA",
         "user32.CreateWindowExA")
EXPORTS = ["DllCtrl", "DllReg", "DllLock", "SetToggler", "SetBeeper"]


def strings(arguments):
    """The quoted strings among a relay line's arguments."""
    return re.findall(r'"((?:[^"\\]|\\.)*)"', arguments)


def platform_story(run):
    """The program's calls that concern Tavrilex.dll, its message boxes and
    its windows, in order, as short lines."""
    story = []
    module = None
    for function, arguments in run.platform_calls():
        words = arguments.split(",")
        if function == "LoadLibraryA" and strings(arguments) == ["Tavrilex.dll"]:
            story.append("LoadLibraryA Tavrilex.dll")
        elif function == "GetProcAddress" and strings(arguments)[0] in EXPORTS + ["GetMsgHookProc"]:
            module = words[0]
            story.append(f"GetProcAddress {strings(arguments)[0]}")
        elif function == "FreeLibrary" and words[0] == module:
            story.append("FreeLibrary Tavrilex.dll")
        elif function == "MessageBoxExA":
            text, caption = strings(arguments)
            owner, type_, language = words[0], words[-2], words[-1]
            story.append(f"MessageBoxExA owner={owner} text={text!r} caption={caption!r} type={type_} lang={language}")
        elif function == "CreateWindowExA":
            story.append("CreateWindowExA")
    return story


def box(inspector, title):
    """The message box titled `title`: its text and buttons."""
    windows = inspector.top(title)
    assert len(windows) == 1, windows
    children = windows[0]["children"]
    texts = [c["text"] for c in children if c["class"] == "Static" and c["text"]]
    buttons = [c["text"] for c in children if c["class"] == "Button"]
    return windows[0], texts, buttons


def later_frame(inspector, registered):
    """Waits until the frame on screen is the one the later copy registered
    (the ended copy's window may linger a moment after its process)."""
    return wait_until(lambda: (f := inspector.frame()) and f["visible"] == "1" and int(f["hwnd"], 16) == registered
                      and f, what="the later copy's frame, the one it registered")


def answer(wine, box, run):
    """Answers a message box with Enter; returns the program's exit code."""
    wine.focus(box)
    wine.key("Return")
    return run.exit_code()


class FailedStartTest(unittest.TestCase):
    def test_without_the_library_a_stop_box_says_so_and_the_run_ends_with_1(self):
        with app_session(library=None, relay=RELAY) as wine:
            run = Vyrtel(wine, relay=True)
            window = wine.wait_window("^DLL Not Found$")
            inspector = Inspector(wine)
            facts, texts, buttons = box(inspector, "DLL Not Found")
            self.assertEqual(texts, ["Could not load 'Tavrilex.dll' "], "with its trailing blank")
            self.assertEqual(buttons, ["OK"])
            self.assertEqual(facts["owner"], "00000000")
            wine.screenshot("app_dll_not_found.png")
            self.assertIsNone(inspector.frame())

            self.assertEqual(answer(wine, window, run), 1)
            self.assertEqual(platform_story(run), [
                "LoadLibraryA Tavrilex.dll",
                # The stop icon; no owner, so the box is task-modal.
                "MessageBoxExA owner=00000000 text=\"Could not load 'Tavrilex.dll' \" caption='DLL Not Found' "
                "type=00002010 lang=00000000",
            ])

    def test_a_library_lacking_one_export_is_unloaded_before_the_box_tells_so(self):
        with app_session(library="no-beeper", relay=RELAY) as wine:
            run = Vyrtel(wine, relay=True)
            window = wine.wait_window("^DLL Corrupted$")
            inspector = Inspector(wine)
            _, texts, buttons = box(inspector, "DLL Corrupted")
            self.assertEqual((texts, buttons), (["Corrupted 'Tavrilex.dll'"], ["OK"]))
            # While the box is up, the library has been unloaded, not called.
            self.assertEqual(run.calls(), ["attach", "detach unload"])
            self.assertIsNone(inspector.frame())

            self.assertEqual(answer(wine, window, run), 1)
            self.assertEqual(platform_story(run), [
                "LoadLibraryA Tavrilex.dll",
                # All five, in this order, though the library never has the last.
                *[f"GetProcAddress {name}" for name in EXPORTS],
                "FreeLibrary Tavrilex.dll",
                "MessageBoxExA owner=00000000 text=\"Corrupted 'Tavrilex.dll'\" caption='DLL Corrupted' "
                "type=00002010 lang=00000000",
            ])

    def test_a_refused_lock_ends_the_run_silently_with_1(self):
        with app_session(relay=RELAY) as wine:
            run = Vyrtel(wine, relay=True, VYRTEL_RECORD_LOCK="held")
            self.assertEqual(run.exit_code(), 1)
            self.assertEqual(run.calls(), ["attach", "DllLock self -> 0", "detach unload"])
            self.assertEqual(platform_story(run), [
                "LoadLibraryA Tavrilex.dll",
                *[f"GetProcAddress {name}" for name in EXPORTS],
                "FreeLibrary Tavrilex.dll",
            ], "no box, no window")


class SingleInstanceTest(unittest.TestCase):
    """With the real Tavrilex.dll, whose shared record holds the lock."""

    def test_a_second_start_restores_the_minimised_first_and_ends_with_1(self):
        with app_session(library="real", relay=RELAY) as wine:
            first = Vyrtel(wine)
            inspector = Inspector(wine)
            frame = wait_until(lambda: (f := inspector.frame()) and f["visible"] == "1" and f, what="the frame")
            started_focus = inspector.one("focus")
            self.assertEqual(started_focus["in"], "control")

            wine.focus(wine.wait_window("^Vyrtel$"))
            wine.key("Return")  # the dialog's Minimize
            wait_until(lambda: inspector.frame()["iconic"] == "1", what="the frame minimised")

            second = Vyrtel(wine, relay=True)
            self.assertEqual(second.exit_code(), 1)
            after = wait_until(lambda: (f := inspector.frame()) and f["iconic"] == "0" and f["foreground"] == "1" and f,
                               what="the first frame restored and in front")
            self.assertEqual((after["hwnd"], after["count"]), (frame["hwnd"], "1"), "no second frame")
            # The keyboard goes where it went before the frame was minimised.
            self.assertEqual(inspector.one("focus"), started_focus)
            self.assertEqual(platform_story(second), [
                "LoadLibraryA Tavrilex.dll",
                *[f"GetProcAddress {name}" for name in EXPORTS],
                "FreeLibrary Tavrilex.dll",
            ], "no box, no window")
            self.assertIsNone(first.proc.poll())

    def test_a_lock_taken_by_a_copy_still_starting_refuses_and_activates_nothing(self):
        with app_session(library="real", relay=RELAY, extra=("tavrilex_driver.exe",)) as wine:
            starting = Driver(wine, "lock self")
            self.assertEqual(starting.answers, [["1"]])
            run = Vyrtel(wine, relay=True)
            self.assertEqual(run.exit_code(), 1)
            self.assertNotIn("CreateWindowExA", platform_story(run))
            record = starting.record()
            self.assertEqual((record.library, record.window), (starting.module, 0))

    def test_a_start_after_a_normal_exit_in_the_same_session_shows_the_window(self):
        # Choosing a coding puts the hook into other processes, Wine's
        # desktop among them, which then keeps the library, and with it the
        # shared record and the ended copy's lock, mapped.
        with app_session(library="real", relay=RELAY, extra=("tavrilex_driver.exe",)) as wine:
            first = Vyrtel(wine)
            inspector = Inspector(wine)
            wait_until(lambda: (f := inspector.frame()) and f["visible"] == "1" and f, what="the frame")
            screen = Screen(wine, inspector)
            screen.click(KOI8)
            wait_until(lambda: inspector.checks() == marks(1, 3, 0), what="KOI8 chosen")
            screen.click(EXIT)
            self.assertEqual(first.exit_code(), 0)

            reader = Driver(wine)
            record = reader.record()
            first_holder, first_window = record.holder, record.window
            self.assertNotEqual(first_holder, (0, 0), "the record outlived the first copy, its lock word too")
            self.assertEqual(record.hook, 0, "the hook went with the first copy")

            later = Vyrtel(wine, relay=True)
            record = wait_until(lambda: (r := reader.record()).holder != first_holder
                                and r.window not in (0, first_window) and r,
                                what="the later copy holding the lock, its frame registered")
            later_frame(inspector, record.window)
            self.assertNotEqual(record.holder, first_holder, "the later copy holds the lock")
            self.assertIn("CreateWindowExA", platform_story(later))
            wine.focus(wine.wait_window("^Vyrtel$"))
            wine.key("Escape")
            self.assertEqual(later.exit_code(), 0)

    def test_a_start_after_the_running_copy_was_terminated_shows_the_window(self):
        with app_session(library="real", relay=RELAY, extra=("tavrilex_driver.exe",)) as wine:
            keeper = Driver(wine)
            first = Vyrtel(wine)
            inspector = Inspector(wine)
            wait_until(lambda: (f := inspector.frame()) and f["visible"] == "1" and f, what="the frame")
            Screen(wine, inspector).click(KOI8)
            wait_until(lambda: inspector.checks() == marks(1, 3, 0), what="KOI8 chosen")
            holder, first_window = keeper.record().holder, keeper.record().window
            self.assertNotEqual(keeper.record().hook, 0)
            self.assertEqual(keeper.call(f"terminate {holder[0]}"), 1)
            first.proc.wait(timeout=30)

            later = Vyrtel(wine)
            record = wait_until(lambda: (r := keeper.record()).holder != holder
                                and r.window not in (0, first_window) and r,
                                what="the later copy holding the lock, its frame registered")
            later_frame(inspector, record.window)
            self.assertNotEqual(record.holder, holder)
            self.assertEqual(record.hook, 0, "the ended copy's hook is gone")
            wine.focus(wine.wait_window("^Vyrtel$"))
            wine.key("Escape")
            self.assertEqual(later.exit_code(), 0)


if __name__ == "__main__":
    unittest.main()

"""The framework's message boxes and its own errors under Wine: the flags a
box carries, which library shows it, and how a failure of the framework
reaches the user and the exit code. Uses the test program and log of
test_framework.py."""

import re
import unittest

import test_framework as fw
from winetest import WineSession


class MessageBoxTest(unittest.TestCase):
    def test_ownerless_boxes_are_task_modal_and_move_to_the_custom_library_once_enabled(self):
        with WineSession() as wine:
            fw.install(wine)
            run = fw.FrameworkRun(wine, "boxes")
            self.assertEqual(run.exit_code(), 0)
            self.assertEqual(run.lines(), [
                # The platform's box, language 0; the spy answers IDRETRY (4).
                "MessageBoxExA owner=none type=2010 lang=0 caption=FwTest text=Plain stop box",
                "box 4",
                "MessageBoxExA owner=window type=0021 lang=0 caption=Own caption text=Owned box",
                "box 4",
                "MessageBoxExA owner=none type=1010 lang=0 caption=FwTest text=System box",
                "box 4",
                # Enabling loads the library once, with the language and the instance.
                "LoadLibraryA BWCC32.DLL",
                "BWCCIntlInit 0",
                "BWCCRegister app",
                "enabled 1",
                "enabled again 1",
                # Now the library's box; the stand-in answers IDIGNORE (5).
                "BWCCMessageBox owner=none type=2010 caption=FwTest text=Custom stop box",
                "box 5",
                "BWCCMessageBox owner=window type=0004 caption=Own caption text=Custom owned box",
                "box 5",
                # The application object's end ends the library, then unloads it.
                "BWCCIntlTerm",
                "FreeLibrary BWCC32.DLL",
            ])


class FrameworkErrorTest(unittest.TestCase):
    def test_framework_errors_show_a_stop_box_and_end_the_run_with_1(self):
        cases = {
            # Before the custom controls are enabled: the platform's box.
            "no-main-window": re.escape("MessageBoxExA owner=none type=2010 lang=0 caption=FwTest "
                                        "text=FwTest: the application has no main window."),
            "missing-template": re.escape("BWCCMessageBox owner=none type=2010 caption=FwTest "
                                          "text=Could not create dialog 999 (error ") + r"\d+\)\.",
            "missing-control": re.escape("BWCCMessageBox owner=none type=2010 caption=FwTest "
                                         "text=The dialog has no control 999 for its radio button."),
        }
        for scenario, box in cases.items():
            with self.subTest(scenario=scenario), WineSession() as wine:
                fw.install(wine)
                run = fw.FrameworkRun(wine, scenario)
                run.wait_line(box)
                window = wine.wait_window("^FwTest$")
                if scenario == "missing-template":
                    wine.screenshot("framework_error_box.png")
                self.assertEqual(wine.find_windows("^FwTest Frame$"), [], "no frame is shown")
                wine.focus(window)
                wine.key("Return")
                self.assertEqual(run.exit_code(), 1)
                run.assert_in_order(self, ["terminate 1", "exit 1"])
                self.assertNotIn("ready", run.lines())


if __name__ == "__main__":
    unittest.main()

"""The program's own dialog templates (the control dialog and the About
box) shown through the custom-control library: the start state on screen,
clicks on the controls, the About box from the picture, Enter and Esc."""

import unittest

import test_controls as controls
from program_ids import ID
from winetest import WineSession, built, wait_until


def about_button(wine, window):
    """The lower middle of the About box, where its only button is."""
    x, y, width, height = wine.geometry(window)
    return (x + width // 3, y + height * 2 // 3, x + width * 2 // 3, y + height)


class ProgramTemplatesTest(unittest.TestCase):
    def test_the_programs_own_templates_through_the_library(self):
        try:
            built("controls_preview.exe")
        except FileNotFoundError:
            self.skipTest("the program's resources are not built")
        with WineSession() as wine:
            wine.install("controls_preview.exe", "BWCC32.DLL")
            probe = controls.Probe(wine, "preview")
            # Typewriter, Disable and Ctrl+Shift (Left/Right) checked; KOI8 not.
            start = (ID["IDC_KOI8"], ID["IDC_DISABLE"], ID["IDC_CTRL_SHIFT_LEFT_RIGHT"], ID["IDC_TYPEWRITER"])
            controls.look(wine, "controls_program_dialog.png",
                          lambda s: [controls.mark(s, probe, i) for i in start] == ["well", "dot", "dot", "dot"],
                          "the control dialog's start state")
            probe.click(ID["IDC_KOI8"])
            probe.command(ID["IDC_KOI8"])
            for closing, code in (("Return", 1), ("Escape", 2)):
                probe.click(ID["IDC_ABOUT_BUTTON"])
                probe.command(ID["IDC_ABOUT_BUTTON"])
                about = wine.wait_window("^About Vyrtel$")
                # Its button has no text in the template: it shows "OK" and a check mark.
                controls.look(wine, "controls_program_about.png",
                              lambda s: s.count(about_button(wine, about), (0, 128, 0)) > 8,
                              "the About box's OK button")
                wine.focus(about)
                wine.key(closing)
                probe.wait_for(f"about {code}$")
                wait_until(lambda: not wine.find_windows("^About Vyrtel$"), what="the About box to go")
            wine.focus(wine.wait_window("^Controls preview$"))
            wine.key("Escape")
            probe.command(2)
            self.assertEqual(probe.proc.wait(timeout=30), 0)


if __name__ == "__main__":
    unittest.main()

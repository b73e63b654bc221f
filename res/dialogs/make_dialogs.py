"""Writes control_dialog.dlg and about_dialog.dlg (binary dialog templates)
into the folder named on the command line."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import dlgtemplate  # noqa: E402
import templates    # noqa: E402

if __name__ == "__main__":
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, dialog in (("control_dialog", templates.CONTROL_DIALOG), ("about_dialog", templates.ABOUT_DIALOG)):
        with open(os.path.join(out, name + ".dlg"), "wb") as f:
            f.write(dlgtemplate.build(dialog))

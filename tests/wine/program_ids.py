"""The program's resource and control ids, as res/resource_ids.h defines
them, read by the same code that builds the dialog templates from it."""

import os
import sys

sys.path.append(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res", "dialogs"))

import resource_ids  # noqa: E402

ID = resource_ids.read()
IDOK, IDCANCEL = 1, 2  # the dialog manager's own
NO_ID = 0xFFFF         # -1 as a dialog template stores a control id

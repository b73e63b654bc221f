// Records the program's own calls of MessageBoxExA (the framework's
// platform message box) by rewriting the program's import address table:
// each call is logged with its owner, type, language, caption and text,
// then either shown by the real function or, when `silent`, answered with
// IDRETRY without a box.
#pragma once

bool installMessageBoxSpy(bool silent);

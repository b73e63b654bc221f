// Before an automatic mend types its Backspaces: whether the caret still
// stands right after the word, where a control can say so.
#pragma once

#include <windows.h>

namespace tavrilex {

// False for an edit or rich edit control (or a superclass of one) whose
// selection is not empty, or whose line before the caret does not end in
// the `count` signs of `shown` (the characters it was handed for the word's
// keys); true for any other window. Asked in the window's own thread, so
// each message is a direct call into the control.
bool caretAfterWord(HWND window, const char16_t* shown, int count);

}  // namespace tavrilex

// The selection of an edit or rich edit control, which may belong to
// another process: read with EM_GETSEL and WM_GETTEXT and replaced with
// EM_REPLACESEL, which the system carries across processes for these
// controls, so that the clipboard is never touched. Every message has a
// deadline: a hung program makes the mend give up, never hang.
//
// Text goes as the control takes it: a Unicode control's UTF-16 units; an
// 8-bit control's bytes, one unit each (sent with the A functions, which
// pass them on unchanged). A rich edit's line break is "\r" in positions
// and in the text handed back; WM_GETTEXT gives "\r\n", read back as "\r".
#pragma once

#include <windows.h>

#include <cstddef>

namespace vyrtel {

enum class ControlRead {
    Selected,         // the selection is in `text`
    NothingSelected,  // an empty selection
    TooLong,          // longer than the room
    Hidden,           // a password field: never read
    ReadOnly,         // the user could not type there either
    NoAnswer,         // the control did not answer in time
};

ControlRead readControlSelection(HWND control, bool unicode, bool richEdit, char16_t* text, std::size_t room,
                                 std::size_t& length);

// Replaces the selection with `text` as one step to undo; false when the
// control did not take it in time.
bool replaceControlSelection(HWND control, bool unicode, const char16_t* text, std::size_t length);

}  // namespace vyrtel

// The selected text of the foreground window, read through the clipboard,
// which is left as it was: every format saved, Shift released as the
// system sees it (a held Shift would make the copy key another), Ctrl+C
// typed, a change of the clipboard awaited for up to a second, the text
// read, and everything saved put back.
#pragma once

#include <windows.h>

#include <cstddef>

namespace vyrtel {

enum class SelectionCopy {
    Copied,           // the text is read and the clipboard holds what it held before
    NothingSelected,  // nothing was copied (or an editor copied the caret's whole
                      // line); the clipboard is as it was
    NoText,           // something was copied, but no text; the clipboard is put back
    ClipboardBusy,    // the clipboard could not be opened; nothing was typed
};

// `text` has room for `room` UTF-16 units; `length` receives the text's
// length, or `room` when the text is longer (then only `room` units are
// read). `owner` opens the clipboard (see clipboard_snapshot.h).
SelectionCopy copySelection(HWND owner, char16_t* text, std::size_t room, std::size_t& length);

}  // namespace vyrtel

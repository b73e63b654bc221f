// The selected text of a window that tells it to no other process, read
// through the clipboard, which is left as it was: what it holds saved
// (clipboard_snapshot.h), Shift released as the system sees it (a held
// Shift would make the copy key another), Ctrl+C typed, a copy by the
// foreground window's own process awaited for up to a second, the text
// read. The caller puts the saved clipboard back (restoreClipboard), once
// it has used the clipboard for a paste or not at all.
#pragma once

#include <windows.h>

#include <cstddef>

#include "app/selection_mend/clipboard_snapshot.h"

namespace vyrtel {

enum class SelectionCopy {
    Copied,           // the text is read; `saved` holds what the clipboard held
    NothingSelected,  // nothing was copied (or an editor copied the caret's whole
                      // line); the clipboard is as it was
    NoText,           // something was copied, but no text; the clipboard is put back
    ClipboardBusy,    // the clipboard could not be opened, or its owner took too
                      // long to give what it holds; nothing was typed, nothing changed
};

// `text` has room for `room` UTF-16 units; `length` receives the text's
// length, or `room` when the text is longer (then only `room` units are
// read). `owner` opens the clipboard (see clipboard_snapshot.h); only a
// copy made by a window of `process` counts.
SelectionCopy copySelection(HWND owner, DWORD process, ClipboardSnapshot& saved, char16_t* text, std::size_t room,
                            std::size_t& length);

// Puts the saved clipboard back, trying again while another program holds
// the clipboard open for a few seconds; when it still cannot, the user is
// asked to let it try again or to give the clipboard up.
void restoreClipboard(HWND owner, ClipboardSnapshot& saved);

}  // namespace vyrtel

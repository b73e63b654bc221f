// A copy of everything on the clipboard, taken before the selection is
// copied and put back afterwards, so that a paste gives what it gave before:
// every format the clipboard held (clipboard_formats.h says which and how),
// each as a copy of its own, never the handle the clipboard owns.
//
// The clipboard is opened for `owner`, a window whose thread pumps
// messages (the system sends the owner of the clipboard a message when
// another program empties it). Opening waits up to a deadline for a program
// that holds it open.
#pragma once

#include <windows.h>

#include "app/selection_mend/clipboard_formats.h"

namespace vyrtel {

class ClipboardSnapshot {
public:
    ClipboardSnapshot() = default;
    ~ClipboardSnapshot() { Release(); }
    ClipboardSnapshot(const ClipboardSnapshot&) = delete;
    ClipboardSnapshot& operator=(const ClipboardSnapshot&) = delete;

    // Copies every kept format. False when the clipboard could not be
    // opened or a format not copied (nothing is kept then).
    bool Take(HWND owner);

    // Empties the clipboard and puts every kept copy on it; the clipboard
    // owns them afterwards. False when it could not be opened or a format
    // was refused.
    bool PutBack(HWND owner);

private:
    struct Item {
        UINT format;
        clip::Copy copy;
        HANDLE data;
    };

    bool Keep(UINT format, clip::Copy copy, HANDLE data);
    void Release();

    Item* items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};

// Opens the clipboard for `owner`, trying again while another program holds
// it, for up to `milliseconds`.
bool openClipboard(HWND owner, DWORD milliseconds);

}  // namespace vyrtel

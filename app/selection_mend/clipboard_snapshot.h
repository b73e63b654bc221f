// A copy of what is on the clipboard, taken before the selection is copied
// and put back afterwards, so that a paste gives what it gave before: every
// format the clipboard held that can be kept (clipboard_formats.h says which
// and how), each as a copy of its own, never the handle the clipboard owns.
//
// Taking it makes the clipboard's owner render each format it put there
// late; an owner that is slow or hung must not hold the mend, so the copy
// runs on a thread of its own within a budget of time and size. Past it the
// snapshot is given up (the thread lets go of everything once the owner
// answers), and the clipboard is never touched.
//
// The clipboard is opened for `owner`, a window whose thread pumps
// messages (the system sends the owner of the clipboard a message when
// another program empties it). Opening waits up to a deadline for a program
// that holds it open.
#pragma once

#include <windows.h>

#include "app/selection_mend/clipboard_formats.h"

namespace vyrtel {

inline constexpr DWORD kSnapshotMilliseconds = 500;
inline constexpr SIZE_T kSnapshotBytes = 64 * 1024 * 1024;

enum class SnapshotTaken {
    Taken,         // every format that can be kept is kept (one that failed to copy is left out)
    Busy,          // the clipboard could not be opened
    OverBudget,    // its owner took too long, or it holds too much: nothing is kept
};

class ClipboardSnapshot {
public:
    ClipboardSnapshot() = default;
    ~ClipboardSnapshot() { Release(); }
    ClipboardSnapshot(const ClipboardSnapshot&) = delete;
    ClipboardSnapshot& operator=(const ClipboardSnapshot&) = delete;

    SnapshotTaken Take(HWND owner, DWORD milliseconds = kSnapshotMilliseconds, SIZE_T bytes = kSnapshotBytes);

    // Empties the clipboard and puts every kept copy on it, marked for
    // clipboard monitors and history to skip; the clipboard owns them
    // afterwards. Opening waits up to `milliseconds`. False when it could
    // not be opened or emptied (the copies are kept then, for another try).
    bool PutBack(HWND owner, DWORD milliseconds);

    // Copies the kept formats in this thread, the work of Take's thread,
    // which `opened` tells once the clipboard is open (or could not be).
    SnapshotTaken Copy(HWND owner, DWORD milliseconds, SIZE_T bytes, volatile LONG* abandoned, HANDLE opened);

    void Release();
    void Swap(ClipboardSnapshot& other);

private:
    struct Item {
        UINT format;
        clip::Copy copy;
        HANDLE data;
    };

    bool Keep(UINT format, clip::Copy copy, HANDLE data);

    Item* items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};

// Opens the clipboard for `owner`, trying again while another program holds
// it, for up to `milliseconds`.
bool openClipboard(HWND owner, DWORD milliseconds);

// Puts the marks on the open clipboard that make clipboard monitors and
// history skip what is on it.
void markForMonitors();

}  // namespace vyrtel

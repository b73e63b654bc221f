// Shift+Pause's work in the control program: the selected text of the
// foreground window mended into the other mode, on a thread of its own, so
// that neither the program typed into nor this program's window waits.
//
// 1. Once Shift, Ctrl, Alt and Pause are let go (or a second has passed),
//    the clipboard is saved whole (ClipboardSnapshot), Shift is released
//    as the system sees it, and Ctrl+C is typed.
// 2. Nothing copied within a second: nothing was selected; the clipboard is
//    as it was, and a low beep says so.
// 3. Else the copied text is read and the saved clipboard put back. Text of
//    up to kLongestSelection characters is mended (selection_mapping.h):
//    the mode goes to the target side through the library (its beep and
//    mode message included), and the keys are typed over the selection, so
//    that the hook gives each program its own form of the signs. No text,
//    or a longer one: the low beep, and nothing changes.
// In a console window, where Ctrl+C interrupts the program running, only
// the low beep.
#pragma once

#include <windows.h>

#include "app/control_model.h"
#include "app/library_binding.h"

namespace vyrtel {

// The beep that says nothing was mended.
inline constexpr DWORD kNothingMendedHertz = 600;
inline constexpr DWORD kNothingMendedMilliseconds = 100;

class SelectionMender {
public:
    explicit SelectionMender(const LibraryBinding& library) : library_(library) {}
    ~SelectionMender() { Finish(); }
    SelectionMender(const SelectionMender&) = delete;
    SelectionMender& operator=(const SelectionMender&) = delete;

    // Starts mending with `builtin` the active table; `owner` (a window of
    // the calling thread, which pumps messages) opens the clipboard. A
    // request while a mend runs is dropped.
    void Request(HWND owner, const Builtin& builtin);

    // Waits for a running mend to end, handling what other threads send to
    // the calling one meanwhile.
    void Finish();

private:
    static DWORD WINAPI Run(LPVOID self);
    void Mend();

    const LibraryBinding& library_;
    HWND owner_ = nullptr;
    const layouts::BuiltinTable* table_ = nullptr;
    const layouts::BuiltinLetters* letters_ = nullptr;
    HANDLE thread_ = nullptr;
};

}  // namespace vyrtel

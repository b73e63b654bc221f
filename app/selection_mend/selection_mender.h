// Shift+Pause's work in the control program: the selected text of the
// foreground window mended into the other mode, on a thread of its own, so
// that neither the program typed into nor this program's window waits.
//
// Once Shift, Ctrl, Alt and Pause are let go (or a second has passed), the
// focused window's kind (window_kind.h) says which way:
// - a terminal, where Ctrl+C interrupts the program running: only the low
//   beep;
// - an edit or rich edit control: its selection is read and replaced by
//   messages (control_selection.h), the clipboard never touched: one step
//   to undo, every line break kept;
// - any other window: the selection is copied with Ctrl+C, the clipboard
//   saved and put back (selection_copy.h); a Unicode window gets the mended
//   text pasted (clipboard_paste.h), an 8-bit one gets it typed as keys, so
//   that the hook gives it the coding's bytes, unless it holds a line break
//   (which would be Enter).
// Text of up to kLongestSelection characters is mended (selection_mapping.h)
// and the mode goes to the target side through the library (its beep and
// mode message included). Nothing selected, no text, a longer one or a
// password field: the low beep, and nothing changes.
#pragma once

#include <windows.h>

#include "app/control_model.h"
#include "app/library_binding.h"
#include "app/selection_mend/selection_mapping.h"

namespace vyrtel {

// The beep that says nothing was mended.
inline constexpr DWORD kNothingMendedHertz = 600;
inline constexpr DWORD kNothingMendedMilliseconds = 100;

struct MendForeground;
struct MendWork;

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
    bool MendControl(const MendForeground& foreground, MendWork& work);
    bool MendThroughClipboard(const MendForeground& foreground, MendWork& work);
    bool SwitchTo(mend::Side target) const;

    const LibraryBinding& library_;
    HWND owner_ = nullptr;
    const layouts::BuiltinTable* table_ = nullptr;
    const layouts::BuiltinLetters* letters_ = nullptr;
    HANDLE thread_ = nullptr;
};

}  // namespace vyrtel

// Text pasted into the focused window through the clipboard, for a window
// that takes its text no other way but keys, whose line breaks would be
// Enter. The text is offered for the paste only: the clipboard is emptied
// and the text put there late, by a window of this thread that hands it out
// when the program pastes (WM_RENDERFORMAT), so that the paste is known to
// have happened; then the caller puts the saved clipboard back.
#pragma once

#include <windows.h>

#include <cstddef>

namespace vyrtel {

class ClipboardPaste {
public:
    ClipboardPaste(const wchar_t* text, std::size_t length);
    ~ClipboardPaste();
    ClipboardPaste(const ClipboardPaste&) = delete;
    ClipboardPaste& operator=(const ClipboardPaste&) = delete;

    // Offers the text and types Ctrl+V; true once the program took the
    // text (within a second), handling this thread's messages meanwhile.
    bool Paste();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Render();

    const wchar_t* text_;
    std::size_t length_;
    HWND window_ = nullptr;
    bool rendered_ = false;
};

}  // namespace vyrtel

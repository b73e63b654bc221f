#include "app/selection_mend/clipboard_paste.h"

#include "app/selection_mend/clipboard_snapshot.h"
#include "hooklib/key_sender.h"

#include <cstring>

namespace vyrtel {

namespace {

constexpr DWORD kOpenDeadline = 1000;
constexpr DWORD kPasteDeadline = 1000;
constexpr char kClassName[] = "Vyrtel.Paste";

}  // namespace

ClipboardPaste::ClipboardPaste(const wchar_t* text, std::size_t length) : text_(text), length_(length) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (window_ != nullptr) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ClipboardPaste::~ClipboardPaste() {
    if (window_ != nullptr) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

bool ClipboardPaste::Paste() {
    if (window_ == nullptr || !openClipboard(window_, kOpenDeadline)) return false;
    const bool offered = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, nullptr) == nullptr;
    markForMonitors();
    CloseClipboard();
    if (!offered) return false;
    {
        tavrilex::KeySender keys;
        keys.Down(VK_CONTROL);
        keys.Press('V');
        keys.Up(VK_CONTROL);
    }
    const DWORD start = GetTickCount();
    while (!rendered_) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= kPasteDeadline) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPasteDeadline - waited, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    if (!rendered_) return false;
    // The program reads the text once it is handed out: wait until it lets
    // go of the clipboard before anything else goes there.
    while (GetOpenClipboardWindow() != nullptr && GetTickCount() - start < 2 * kPasteDeadline) Sleep(5);
    return true;
}

void ClipboardPaste::Render() {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (length_ + 1) * sizeof(wchar_t));
    if (auto* to = memory != nullptr ? static_cast<wchar_t*>(GlobalLock(memory)) : nullptr) {
        std::memcpy(to, text_, length_ * sizeof(wchar_t));
        to[length_] = 0;
        GlobalUnlock(memory);
        if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    }
    rendered_ = true;
}

LRESULT CALLBACK ClipboardPaste::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ClipboardPaste*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_RENDERFORMAT && self != nullptr && wParam == CF_UNICODETEXT) {
        self->Render();
        return 0;
    }
    if (message == WM_RENDERALLFORMATS) return 0;  // the text was for one paste only
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace vyrtel

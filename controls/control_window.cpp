#include "control_window.h"

#include "control_styles.h"
#include "palette.h"

namespace bwcc {

std::uint32_t controlState(HWND window) {
    return static_cast<std::uint32_t>(GetWindowLongPtrA(window, kSlotState));
}

void setControlState(HWND window, std::uint32_t state) {
    SetWindowLongPtrA(window, kSlotState, static_cast<LONG_PTR>(state));
}

std::uint32_t windowStyle(HWND window) {
    return static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE));
}

LRESULT storeFont(HWND window, WPARAM font, LPARAM redraw) {
    SetWindowLongPtrA(window, kSlotFont, static_cast<LONG_PTR>(font));
    if (LOWORD(redraw)) InvalidateRect(window, nullptr, TRUE);
    return 0;
}

HFONT storedFont(HWND window) {
    return reinterpret_cast<HFONT>(GetWindowLongPtrA(window, kSlotFont));
}

HFONT controlFont(HWND window) {
    if (HFONT own = storedFont(window)) return own;
    if (HWND parent = GetParent(window)) {
        if (auto font = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0))) return font;
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HBRUSH parentBrush(HWND window, HDC dc, UINT ctlColorMessage) {
    HWND parent = GetParent(window);
    if (!parent) parent = window;
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    if (!brush) {
        brush = reinterpret_cast<HBRUSH>(DefWindowProcA(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(window)));
    }
    return brush ? brush : GetSysColorBrush(COLOR_3DFACE);
}

void notifyClicked(HWND window) {
    HWND parent = GetParent(window);
    if (!parent) return;
    const int id = GetDlgCtrlID(window);
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(window));
}

void takeFocus(HWND window, bool throughDialogManager) {
    if (GetFocus() == window) return;
    HWND parent = GetParent(window);
    // Dialog windows carry the dialog manager's extra bytes.
    if (throughDialogManager && parent && GetClassLongA(parent, GCL_CBWNDEXTRA) >= DLGWINDOWEXTRA) {
        SendMessageA(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
    }
    if (GetFocus() != window && IsWindow(window)) SetFocus(window);
}

void redrawUnder(HWND window) {
    HWND parent = GetParent(window);
    if (!parent) {
        InvalidateRect(window, nullptr, TRUE);
        return;
    }
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

static_assert(kNonClientStyles == (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL) &&
              kNonClientExStyles == (WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));

LRESULT paintNonClient(HWND window, WPARAM region) {
    if (!hasNonClientArea(windowStyle(window), static_cast<std::uint32_t>(GetWindowLongA(window, GWL_EXSTYLE)))) {
        return 0;
    }
    return DefWindowProcA(window, WM_NCPAINT, region, 0);
}

Rect clientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

RECT toRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

void drawCaption(HDC dc, const char* text, Rect area, UINT format, bool enabled, COLORREF colour) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc);
    if (enabled) {
        SetTextColor(dc, colour);
        RECT r = toRECT(area);
        DrawTextA(dc, text, -1, &r, format);
    } else {
        SetTextColor(dc, palette::kHighlight);
        RECT r = toRECT(area.offset(1, 1));
        DrawTextA(dc, text, -1, &r, format);
        SetTextColor(dc, palette::kShadow);
        r = toRECT(area);
        DrawTextA(dc, text, -1, &r, format);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

SIZE measureText(HDC dc, const char* text, UINT format) {
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &r, (format & (DT_NOPREFIX | DT_EXPANDTABS)) | DT_SINGLELINE | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

WindowText::WindowText(HWND window) : text_(small_) {
    small_[0] = '\0';
    const int length = GetWindowTextLengthA(window);
    if (length + 1 > static_cast<int>(sizeof small_)) {
        text_ = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, length + 1));
        if (!text_) {
            text_ = small_;
            GetWindowTextA(window, small_, sizeof small_);
            return;
        }
    }
    GetWindowTextA(window, text_, text_ == small_ ? sizeof small_ : length + 1);
}

WindowText::~WindowText() {
    if (text_ != small_) HeapFree(GetProcessHeap(), 0, text_);
}

BufferedPaint::BufferedPaint(HWND window) : window_(window) {
    BeginPaint(window, &paint_);
    client_ = clientRect(window);
    if (client_.empty()) return;
    memory_ = CreateCompatibleDC(paint_.hdc);
    if (memory_) bitmap_ = CreateCompatibleBitmap(paint_.hdc, client_.width(), client_.height());
    if (!bitmap_) {
        if (memory_) DeleteDC(memory_);
        memory_ = nullptr;  // paint straight to the screen instead
        return;
    }
    oldBitmap_ = SelectObject(memory_, bitmap_);
}

BufferedPaint::~BufferedPaint() {
    if (memory_) {
        BitBlt(paint_.hdc, 0, 0, client_.width(), client_.height(), memory_, 0, 0, SRCCOPY);
        SelectObject(memory_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
    }
    EndPaint(window_, &paint_);
}

}  // namespace bwcc

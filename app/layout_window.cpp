#include "app/layout_window.h"

#include "controls/palette.h"
#include "controls/two_tone.h"
#include "hooklib/key_sender.h"

namespace vyrtel {

namespace {

namespace palette = bwcc::palette;

// Windows 2000 and later: a window that clicks do not activate.
constexpr DWORD kExNoActivate = 0x08000000L;

constexpr COLORREF kKeyFace = palette::rgb(236, 236, 232);
constexpr COLORREF kPressedFace = palette::rgb(208, 208, 204);
constexpr COLORREF kUpperSign = palette::rgb(31, 79, 154);
constexpr COLORREF kLatinCap = palette::rgb(120, 120, 120);

bool systemKnowsNoActivate() {
    const DWORD version = GetVersion();
    const bool windowsNt = (version & 0x80000000u) == 0;
    return windowsNt && LOBYTE(LOWORD(version)) >= 5;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

HFONT makeFont(int points, int dpi, int weight) {
    return CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
                       "Tahoma");
}

bwcc::Rect rectOf(const KeyBox& b) { return bwcc::Rect{b.left, b.top, b.right, b.bottom}; }

// Where a sign stands in a key's area.
enum class Corner { TopLeft, TopRight, BottomCentre };

// One sign, drawn by TextOutW, which Windows 95 has too (DrawTextW it lacks).
void drawSign(HDC dc, char16_t sign, const RECT& area, Corner corner, COLORREF colour) {
    if (sign == 0 || sign == u' ') return;
    const wchar_t text = static_cast<wchar_t>(sign);
    SIZE size{};
    GetTextExtentPoint32W(dc, &text, 1, &size);
    int x = area.left;
    int y = area.top;
    if (corner == Corner::TopRight) x = area.right - size.cx;
    if (corner == Corner::BottomCentre) {
        x = (area.left + area.right - size.cx) / 2;
        y = area.bottom - size.cy;
    }
    SetTextColor(dc, colour);
    TextOutW(dc, x, y, &text, 1);
}

}  // namespace

LayoutWindow::LayoutWindow() : TWindow(nullptr, ""), view_(Choices{}, false) {
    SetStyle(WS_POPUP | WS_CAPTION | WS_SYSMENU);
    SetExStyle(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | (systemKnowsNoActivate() ? kExNoActivate : 0));
}

LayoutWindow::~LayoutWindow() { FreeFonts(); }

void LayoutWindow::Open(const LayoutView& view) {
    if (Handle()) {
        Follow(view);
    } else {
        view_ = view;
        metrics_ = metricsFor(screenDpi());
        if (!Create()) return;
        SetWindowTextA(Handle(), view_.Title());
        RECT frame{0, 0, metrics_.ClientWidth(), metrics_.ClientHeight()};
        AdjustWindowRectEx(&frame, Style(), FALSE, ExStyle());
        const int width = frame.right - frame.left, height = frame.bottom - frame.top;
        if (!placed_) {
            // First shown centred at the bottom of the work area, where an
            // on-screen keyboard is looked for.
            RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            place_ = POINT{work.left + (work.right - work.left - width) / 2, work.bottom - height - 8};
            placed_ = true;
        }
        SetWindowPos(Handle(), HWND_TOPMOST, place_.x, place_.y, width, height, SWP_NOACTIVATE);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void LayoutWindow::Follow(const LayoutView& view) {
    if (view == view_) return;
    view_ = view;
    if (!Handle()) return;
    SetWindowTextA(Handle(), view_.Title());
    InvalidateRect(Handle(), nullptr, FALSE);
}

void LayoutWindow::Close() {
    if (Handle()) DestroyWindow(Handle());
}

void LayoutWindow::MakeFonts() {
    FreeFonts();
    const int dpi = screenDpi();
    signFont_ = makeFont(12, dpi, FW_NORMAL);
    smallFont_ = makeFont(7, dpi, FW_NORMAL);
}

void LayoutWindow::FreeFonts() {
    if (signFont_) DeleteObject(signFont_);
    if (smallFont_) DeleteObject(smallFont_);
    signFont_ = smallFont_ = nullptr;
}

LRESULT LayoutWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
        case WM_CREATE:
            MakeFonts();
            break;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_NCLBUTTONDOWN:
            if (wParam == HTCAPTION) {
                Drag();
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            Press(x, y, message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK);
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) {
                POINT at;
                GetCursorPos(&at);
                place_ = POINT{at.x - dragOffset_.x, at.y - dragOffset_.y};
                SetWindowPos(Handle(), nullptr, place_.x, place_.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            } else {
                Track(x, y);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (dragging_) {
                ReleaseCapture();
            } else if ((message == WM_RBUTTONUP) == pressedShift_) {
                Release(x, y);
            }
            return 0;
        case WM_CAPTURECHANGED:
            dragging_ = false;
            if (pressed_ >= 0) {
                pressed_ = -1;
                InvalidateRect(Handle(), nullptr, FALSE);
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_DESTROY: {
            RECT r;
            if (GetWindowRect(Handle(), &r)) place_ = POINT{r.left, r.top};
            pressed_ = -1;
            dragging_ = false;
            break;
        }
        case WM_NCDESTROY:
            FreeFonts();
            break;
    }
    return TWindow::WindowProc(message, wParam, lParam);
}

void LayoutWindow::Drag() {
    RECT r;
    POINT at;
    GetWindowRect(Handle(), &r);
    GetCursorPos(&at);
    dragOffset_ = POINT{at.x - r.left, at.y - r.top};
    dragging_ = true;
    SetCapture(Handle());
}

void LayoutWindow::Press(int x, int y, bool shifted) {
    const int index = keyAt(metrics_, x, y);
    if (index < 0 || gridKeys()[index].action == KeyAction::Label) return;
    pressed_ = index;
    pressedShift_ = shifted;
    pressedShown_ = true;
    SetCapture(Handle());
    InvalidateRect(Handle(), nullptr, FALSE);
}

void LayoutWindow::Track(int x, int y) {
    if (pressed_ < 0) return;
    const bool over = keyAt(metrics_, x, y) == pressed_;
    if (over == pressedShown_) return;
    pressedShown_ = over;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void LayoutWindow::Release(int x, int y) {
    if (pressed_ < 0) return;
    const int index = pressed_;
    const bool shifted = pressedShift_;
    ReleaseCapture();  // ends the press (WM_CAPTURECHANGED)
    // As a button: the key types when the mouse is let go over it.
    if (keyAt(metrics_, x, y) == index) Type(index, shifted);
}

void LayoutWindow::Type(int index, bool shifted) const {
    const GridKey& key = gridKeys()[index];
    tavrilex::KeySender keys;
    if (key.action == KeyAction::Types) {
        keys.Stroke(key.code, shifted);
    } else if (key.action == KeyAction::Presses) {
        keys.Press(key.code);
    }
}

void LayoutWindow::Paint() {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(Handle(), &ps);
    RECT client;
    GetClientRect(Handle(), &client);
    // Drawn off screen first, so that a change of layout never flickers.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = dc ? CreateCompatibleBitmap(target, client.right, client.bottom) : nullptr;
    if (!bitmap) {
        if (dc) DeleteDC(dc);
        dc = target;
    }
    HGDIOBJ oldBitmap = bitmap ? SelectObject(dc, bitmap) : nullptr;
    bwcc::fillSolid(dc, {0, 0, client.right, client.bottom}, palette::kFace);
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < gridKeyCount(); ++i) DrawKey(dc, i);
    SetBkMode(dc, OPAQUE);
    if (bitmap) {
        BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    EndPaint(Handle(), &ps);
}

void LayoutWindow::DrawKey(HDC dc, int index) const {
    const GridKey& key = gridKeys()[index];
    const KeyBox box = boxOf(metrics_, key);
    const bool down = index == pressed_ && pressedShown_;
    const bool label = key.action == KeyAction::Label;
    const COLORREF face = down ? kPressedFace : label ? palette::kFace : kKeyFace;

    // Bevels as the control library's buttons draw theirs.
    const bwcc::Rect edge = rectOf(box);
    bwcc::fillSolid(dc, edge.inset(1, 1), face);
    if (down) {
        bwcc::drawTwoToneFrame(dc, edge, palette::kDarkShadow, palette::kHighlight);
        bwcc::drawTwoToneFrame(dc, edge.inset(1, 1), palette::kShadow, face);
    } else {
        bwcc::drawTwoToneFrame(dc, edge, palette::kHighlight, palette::kDarkShadow);
        bwcc::drawTwoToneFrame(dc, edge.inset(1, 1), face == kKeyFace ? palette::kHighlight : palette::kLight,
                               palette::kShadow);
    }

    const int pad = metrics_.unit / 10 + (down ? 1 : 0);
    RECT area{box.left + pad + 1, box.top + pad - 1, box.right - pad, box.bottom - pad};
    if (down) OffsetRect(&area, 0, 1);
    if (key.action != KeyAction::Types) {
        HGDIOBJ old = SelectObject(dc, smallFont_);
        SetTextColor(dc, label ? palette::kShadow : palette::kText);
        DrawTextA(dc, key.name, -1, &area, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        return;
    }

    const KeySigns signs = view_.SignsOf(key);
    HGDIOBJ old = SelectObject(dc, smallFont_);
    if (view_.Translates(key)) {
        // The Latin key cap, for finding the key on the keyboard.
        const char cap = key.latinLower >= 'a' && key.latinLower <= 'z' ? key.latinUpper : key.latinLower;
        drawSign(dc, static_cast<char16_t>(cap), area, Corner::TopLeft, kLatinCap);
    }
    if (signs.upper != signs.lower) drawSign(dc, signs.upper, area, Corner::TopRight, kUpperSign);
    SelectObject(dc, signFont_);
    drawSign(dc, signs.lower, area, Corner::BottomCentre, palette::kText);
    SelectObject(dc, old);
}

}  // namespace vyrtel

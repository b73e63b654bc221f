// "BorRadio", the custom-control library's (BWCC32.DLL) radio-button window
// class; programs on the class framework attach a TRadioButton object
// (framework/radio_button.cpp) to it. A radio button with a round sunken
// mark. Its owner sets and clears the mark (BM_SETCHECK); a click (mouse,
// space bar or BM_CLICK) only tells the parent, WM_COMMAND with the id and
// BN_CLICKED. With BS_AUTORADIOBUTTON it also checks itself and clears the
// other radio buttons of its group. It takes the focus when clicked, and
// answers the dialog manager as a radio button, so the arrow keys move the
// focus within its group.
#include "control_classes.h"
#include "control_styles.h"
#include "control_window.h"
#include "palette.h"
#include "press_messages.h"
#include "radio_mark.h"

namespace bwcc {
namespace {

// State slot: the press tracker's bits, the check and the focus.
constexpr std::uint32_t kChecked = 1u << 8;
constexpr std::uint32_t kFocused = 1u << 9;

void setCheck(HWND w, bool checked) {
    const std::uint32_t state = controlState(w);
    const std::uint32_t next = checked ? (state | kChecked) : (state & ~kChecked);
    const std::uint32_t style = windowStyle(w);
    const std::uint32_t nextStyle = radioStyleForCheck(style, checked);
    if (nextStyle != style) SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(nextStyle));
    if (next != state) {
        setControlState(w, next);
        InvalidateRect(w, nullptr, FALSE);
    }
}

// BS_AUTORADIOBUTTON: check this one, clear the other radio buttons of the
// group (the siblings from the last WS_GROUP before it up to the next one),
// disabled or hidden ones included.
void checkWithinGroup(HWND w) {
    setCheck(w, true);
    HWND first = w;
    while (!(windowStyle(first) & WS_GROUP)) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (!previous) break;
        first = previous;
    }
    for (HWND other = first; other; other = GetWindow(other, GW_HWNDNEXT)) {
        if (other != first && (windowStyle(other) & WS_GROUP)) break;
        if (other != w && (SendMessageA(other, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) {
            SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

void click(HWND w) {
    if (isAutoRadioButton(windowStyle(w))) checkWithinGroup(w);
    notifyClicked(w);
}

void paintMark(HDC dc, const Rect& mark, bool checked, MarkColours colours) {
    for (int y = 0; y < kRadioMarkSize; ++y) {
        for (int x = 0; x < kRadioMarkSize; ++x) {
            std::uint32_t colour;
            if (radioMarkPixel(x, y, checked, colours, colour)) SetPixelV(dc, mark.left + x, mark.top + y, colour);
        }
    }
}

void paint(HWND w) {
    BufferedPaint paint(w);
    HDC dc = paint.dc();
    const Rect client = paint.client();
    const std::uint32_t state = controlState(w);
    const bool enabled = (windowStyle(w) & WS_DISABLED) == 0;
    const RadioLayout layout = layoutRadio(client);

    HBRUSH background = parentBrush(w, dc, WM_CTLCOLORSTATIC);
    const COLORREF textColour = GetTextColor(dc);
    RECT all = toRECT(client);
    FillRect(dc, &all, background);

    paintMark(dc, layout.mark, (state & kChecked) != 0, radioMarkColours(pressTracker(w).pressed(), enabled));

    WindowText text(w);
    if (text.empty()) return;
    HGDIOBJ oldFont = SelectObject(dc, controlFont(w));
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    drawCaption(dc, text.c_str(), layout.text, format, enabled, enabled ? textColour : palette::kShadow);
    if ((state & kFocused) && enabled) {
        const SIZE extent = measureText(dc, text.c_str(), format);
        const RECT focus = toRECT(focusAroundText(layout.text, extent.cx, extent.cy));
        SetTextColor(dc, palette::kText);
        SetBkColor(dc, palette::kFace);
        DrawFocusRect(dc, &focus);
    }
    SelectObject(dc, oldFont);
}

constexpr PressBehaviour kRadioPress{false, click, kFocused};

}  // namespace

LRESULT CALLBACK radioButtonProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (handlePressMessage(w, message, wParam, lParam, kRadioPress, result)) return result;
    switch (message) {
        case WM_GETDLGCODE: return DLGC_BUTTON | DLGC_RADIOBUTTON;

        case BM_GETCHECK: return (controlState(w) & kChecked) ? BST_CHECKED : BST_UNCHECKED;
        case BM_SETCHECK: setCheck(w, wParam != BST_UNCHECKED); return 0;
        case BM_GETSTATE: {
            LRESULT state = (controlState(w) & kChecked) ? BST_CHECKED : BST_UNCHECKED;
            if (pressTracker(w).pressed()) state |= BST_PUSHED;
            if (controlState(w) & kFocused) state |= BST_FOCUS;
            return state;
        }
        case BM_SETSTYLE: return 0;  // a radio button stays a radio button
        case BM_CLICK:
            if (IsWindowEnabled(w)) click(w);
            return 0;

        case WM_NCPAINT: return paintNonClient(w, wParam);
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: paint(w); return 0;
        case WM_KEYDOWN: return 0;

    }
    return DefWindowProcA(w, message, wParam, lParam);
}

}  // namespace bwcc

// "BorStatic": static text of one or more lines (separated by line feeds,
// long lines wrapped at words), left-aligned unless SS_CENTER or SS_RIGHT
// says otherwise, '&' marking a mnemonic unless SS_NOPREFIX. It takes no
// input; clicks fall through to what lies beneath.
#include "control_classes.h"
#include "control_styles.h"
#include "control_window.h"
#include "palette.h"

namespace bwcc {
namespace {

void paint(HWND w) {
    BufferedPaint paint(w);
    HDC dc = paint.dc();
    const Rect client = paint.client();
    const std::uint32_t style = windowStyle(w);

    HBRUSH background = parentBrush(w, dc, WM_CTLCOLORSTATIC);
    const COLORREF colour = GetTextColor(dc);
    RECT all = toRECT(client);
    FillRect(dc, &all, background);

    WindowText text(w);
    if (text.empty()) return;
    UINT format = DT_WORDBREAK | DT_EXPANDTABS | DT_TOP;
    switch (staticTextAlign(style)) {
        case TextAlign::Left: format |= DT_LEFT; break;
        case TextAlign::Centre: format |= DT_CENTER; break;
        case TextAlign::Right: format |= DT_RIGHT; break;
    }
    if (!staticShowsPrefix(style)) format |= DT_NOPREFIX;
    HGDIOBJ oldFont = SelectObject(dc, controlFont(w));
    drawCaption(dc, text.c_str(), client, format, (style & WS_DISABLED) == 0, colour);
    SelectObject(dc, oldFont);
}

}  // namespace

LRESULT CALLBACK staticTextProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_GETDLGCODE: return DLGC_STATIC;
        case WM_SETFONT: return storeFont(w, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(storedFont(w));
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcA(w, message, wParam, lParam);
            InvalidateRect(w, nullptr, FALSE);
            return result;
        }
        case WM_ENABLE:
        case WM_STYLECHANGED:
            InvalidateRect(w, nullptr, FALSE);
            return 0;
        case WM_NCPAINT: return paintNonClient(w, wParam);
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: paint(w); return 0;
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

}  // namespace bwcc

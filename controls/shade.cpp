// "BorShade": a decoration drawn on the dialog's face. Kind 1 is a sunken
// box around a group of controls, kind 2 a horizontal sunken line. With
// 0x8000 the window text stands on the top edge as a caption, centred with
// 0x0100. A shade lies above the controls it frames, so it never takes
// input: it is disabled (the dialog manager's navigation and the mouse skip
// it) and transparent to hit testing, and it paints only its lines and
// caption, never its inside.
#include "control_classes.h"
#include "control_styles.h"
#include "control_window.h"
#include "palette.h"

namespace bwcc {
namespace {

void paint(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    const Rect client = clientRect(w);
    const ShadeStyle style = decodeShadeStyle(windowStyle(w));

    WindowText text(w);
    HGDIOBJ oldFont = SelectObject(dc, controlFont(w));
    const UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP;
    const SIZE extent = style.caption && !text.empty() ? measureText(dc, text.c_str(), format) : SIZE{0, 0};
    const ShadeLayout layout = layoutShade(client, style, extent.cx, extent.cy);

    // Keep the lines out of the caption's gap.
    if (layout.hasCaption) {
        ExcludeClipRect(dc, layout.captionGap.left, layout.captionGap.top, layout.captionGap.right,
                        layout.captionGap.bottom);
    }
    if (style.kind == ShadeKind::SunkenLine) {
        fillSolid(dc, {layout.frame.left, layout.frame.top, layout.frame.right, layout.frame.top + 1}, palette::kShadow);
        fillSolid(dc, {layout.frame.left, layout.frame.top + 1, layout.frame.right, layout.frame.bottom},
                  palette::kHighlight);
    } else {
        drawTwoToneFrame(dc, layout.frame, palette::kShadow, palette::kHighlight);
    }
    if (layout.hasCaption) {
        SelectClipRgn(dc, nullptr);
        // The caption is painted on the parent's background, like the face
        // around it.
        HBRUSH brush = parentBrush(w, dc, WM_CTLCOLORSTATIC);
        const COLORREF colour = GetTextColor(dc);
        RECT gap = toRECT(layout.captionGap);
        FillRect(dc, &gap, brush);
        // Always drawn as enabled: the shade's own WS_DISABLED only keeps it inert.
        drawCaption(dc, text.c_str(), layout.captionText, format & ~DT_NOCLIP, true, colour);
    }
    SelectObject(dc, oldFont);
    EndPaint(w, &ps);
}

}  // namespace

LRESULT CALLBACK shadeProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            // Inert from the start: see the comment at the top.
            SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(windowStyle(w) | WS_DISABLED));
            break;
        }
        case WM_STYLECHANGING:
            if (wParam == static_cast<WPARAM>(GWL_STYLE)) {
                reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew |= WS_DISABLED;
            }
            return 0;
        case WM_STYLECHANGED:
            redrawUnder(w);
            return 0;
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_GETDLGCODE: return DLGC_STATIC;
        case WM_SETFONT:
            SetWindowLongPtrA(w, kSlotFont, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam)) redrawUnder(w);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(storedFont(w));
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcA(w, message, wParam, lParam);
            redrawUnder(w);
            return result;
        }
        case WM_ENABLE: return 0;
        case WM_NCPAINT: return paintNonClient(w, wParam);
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: paint(w); return 0;
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

}  // namespace bwcc

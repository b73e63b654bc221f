// "BorBtn": a push button with the raised gray face. A click (mouse released
// inside, space bar released, BM_CLICK, or Enter through the dialog manager)
// sends the parent WM_COMMAND with the id and BN_CLICKED. BS_DEFPUSHBUTTON
// draws a black frame around it and answers the dialog manager as the
// default button, which is what makes Enter choose it. A button without
// text of its own but with a standard id (IDOK, IDCANCEL, ...) shows that
// id's usual caption.
#include "control_classes.h"
#include "control_styles.h"
#include "control_window.h"
#include "palette.h"
#include "press_messages.h"
#include "standard_captions.h"

namespace bwcc {
namespace {

// State slot: the press tracker's bits, and whether we have the focus.
constexpr std::uint32_t kFocused = 1u << 8;

void drawGlyph(HDC dc, const Rect& box, Glyph glyph, bool enabled) {
    if (glyph == Glyph::None || box.empty()) return;
    const COLORREF colour = !enabled ? palette::kShadow
                            : glyph == Glyph::Check ? palette::kGlyphGreen : palette::kGlyphRed;
    HPEN pen = CreatePen(PS_SOLID, 2, colour);
    if (!pen) return;
    HGDIOBJ old = SelectObject(dc, pen);
    const int s = box.width();
    if (glyph == Glyph::Check) {
        const POINT points[] = {{box.left + 1, box.top + s / 2},
                                {box.left + s * 2 / 5, box.bottom - 2},
                                {box.right - 1, box.top + 1}};
        Polyline(dc, points, 3);
    } else {
        MoveToEx(dc, box.left + 1, box.top + 1, nullptr);
        LineTo(dc, box.right - 1, box.bottom - 1);
        MoveToEx(dc, box.right - 1, box.top + 1, nullptr);
        LineTo(dc, box.left + 1, box.bottom - 1);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void paint(HWND w) {
    BufferedPaint paint(w);
    HDC dc = paint.dc();
    const Rect client = paint.client();
    const std::uint32_t style = windowStyle(w);
    const bool enabled = (style & WS_DISABLED) == 0;
    const bool pressed = pressTracker(w).pressed();
    const bool focused = (controlState(w) & kFocused) != 0;
    const bool isDefault = isDefaultPushButton(style);
    const PushButtonLayout layout = layoutPushButton(client, isDefault, pressed);

    // The parent is told we paint (WM_CTLCOLORBTN) as a standard button
    // would tell it, but the face is always the gray face.
    parentBrush(w, dc, WM_CTLCOLORBTN);
    fillSolid(dc, client, palette::kFace);
    if (isDefault || pressed) drawTwoToneFrame(dc, client, palette::kDarkShadow, palette::kDarkShadow);
    if (pressed) {
        drawTwoToneFrame(dc, layout.bevel, palette::kShadow, palette::kShadow);
    } else {
        drawTwoToneFrame(dc, layout.bevel, palette::kHighlight, palette::kDarkShadow);
        drawTwoToneFrame(dc, layout.bevel.inset(1, 1), palette::kLight, palette::kShadow);
    }

    WindowText text(w);
    const char* caption = text.c_str();
    Glyph glyph = Glyph::None;
    if (text.empty()) {
        const StandardFace face = standardFace(GetDlgCtrlID(w));
        if (face.caption) {
            caption = face.caption;
            glyph = face.glyph;
        }
    }

    HGDIOBJ oldFont = SelectObject(dc, controlFont(w));
    const UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP;
    const SIZE extent = caption[0] ? measureText(dc, caption, format) : SIZE{0, 0};
    const int glyphSize = glyph == Glyph::None ? 0 : std::min<int>(extent.cy, layout.content.height() - 2);
    const GlyphAndText place = layoutGlyphAndText(layout.content, glyphSize > 4 ? glyphSize : 0, extent.cx, extent.cy);
    drawGlyph(dc, place.glyph, glyph, enabled);
    if (caption[0]) drawCaption(dc, caption, place.text, format, enabled, palette::kText);
    SelectObject(dc, oldFont);

    if (focused && enabled) {
        SetTextColor(dc, palette::kText);
        SetBkColor(dc, palette::kFace);
        const RECT focus = toRECT(layout.focus);
        DrawFocusRect(dc, &focus);
    }
}

constexpr PressBehaviour kPushPress{true, notifyClicked, kFocused};

}  // namespace

LRESULT CALLBACK pushButtonProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (handlePressMessage(w, message, wParam, lParam, kPushPress, result)) return result;
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_BUTTON | (isDefaultPushButton(windowStyle(w)) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);

        case BM_SETSTYLE: {
            const std::uint32_t before = windowStyle(w);
            const std::uint32_t after = withButtonType(before, static_cast<std::uint32_t>(wParam));
            if (after != before) SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(after));
            if (LOWORD(lParam)) InvalidateRect(w, nullptr, FALSE);
            return 0;
        }

        case WM_NCPAINT: return paintNonClient(w, wParam);
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: paint(w); return 0;

        case WM_KEYDOWN:
            if (wParam == VK_RETURN && !(lParam & (1 << 30))) {
                // Reaches us only outside the dialog manager, which handles
                // Enter itself; the focused button is the one Enter means
                // (once per press, not per auto-repeat).
                notifyClicked(w);
            }
            return 0;
        case WM_CHAR:
        case WM_SYSCHAR:
            break;

        case BM_CLICK:
            if (IsWindowEnabled(w)) notifyClicked(w);
            return 0;
        case BM_GETSTATE: {
            LRESULT state = 0;
            if (pressTracker(w).pressed()) state |= BST_PUSHED;
            if (controlState(w) & kFocused) state |= BST_FOCUS;
            return state;
        }
        case BM_GETCHECK:
        case BM_SETCHECK:
            return 0;  // a push button has no check mark
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

}  // namespace bwcc

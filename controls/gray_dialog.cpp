// "BorDlg_Gray": a dialog window class (the dialog manager's default
// behaviour, DefDlgProc) on a light-gray face. The dialog and the controls
// inside it take their background from the answers to WM_CTLCOLOR*; the
// dialog procedure is asked first and the gray face is the default.
#include "control_classes.h"
#include "control_styles.h"
#include "palette.h"

namespace bwcc {
namespace {

// The dialog procedure's own answer to a WM_CTLCOLOR* message, or 0.
LRESULT askDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
    if (!procedure) return 0;
    return CallWindowProcA(procedure, dialog, message, wParam, lParam);
}

LRESULT grayColours(UINT message, HDC dc, HWND control) {
    // An owner-drawn button that its owner does not draw stays invisible:
    // erasing it with a hollow brush leaves whatever lies beneath it (a
    // picture, say) on show while the button still takes the clicks.
    if (message == WM_CTLCOLORBTN && control &&
        isOwnerDrawButton(static_cast<std::uint32_t>(GetWindowLongA(control, GWL_STYLE)))) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    SetTextColor(dc, palette::kText);
    SetBkColor(dc, palette::kFace);
    return reinterpret_cast<LRESULT>(faceBrush());
}

}  // namespace

LRESULT CALLBACK grayDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (LRESULT own = askDialogProcedure(dialog, message, wParam, lParam)) return own;
            return grayColours(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DRAWITEM: {
            // An owner-drawn control the dialog procedure does not draw is
            // left as it is; the request counts as handled.
            DefDlgProcA(dialog, message, wParam, lParam);
            return TRUE;
        }
    }
    return DefDlgProcA(dialog, message, wParam, lParam);
}

}  // namespace bwcc

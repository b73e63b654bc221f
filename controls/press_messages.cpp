#include "press_messages.h"

#include "control_window.h"

namespace bwcc {

namespace {

bool pointInside(HWND w, LPARAM lParam) {
    return clientRect(w).contains(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

}  // namespace

PressTracker pressTracker(HWND w) { return PressTracker(controlState(w)); }

void applyPress(HWND w, PressTracker t, PressTracker::Outcome outcome) {
    setControlState(w, (controlState(w) & ~0xFFu) | t.bits());
    if (outcome.redraw) InvalidateRect(w, nullptr, FALSE);
}

bool handlePressMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam, const PressBehaviour& behaviour,
                        LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_SETFONT: result = storeFont(w, wParam, lParam); return true;
        case WM_GETFONT: result = reinterpret_cast<LRESULT>(storedFont(w)); return true;
        case WM_SETTEXT:
            result = DefWindowProcA(w, message, wParam, lParam);
            InvalidateRect(w, nullptr, FALSE);
            return true;
        case WM_ENABLE:
            if (!wParam) {
                if (GetCapture() == w) ReleaseCapture();
                PressTracker t = pressTracker(w);
                t.disabled();
                applyPress(w, t, {});
            }
            InvalidateRect(w, nullptr, FALSE);
            return true;

        case WM_LBUTTONDOWN: {
            takeFocus(w, behaviour.focusThroughDialogManager);
            if (!IsWindow(w)) return true;
            SetCapture(w);
            PressTracker t = pressTracker(w);
            applyPress(w, t, t.mouseDown());
            return true;
        }
        case WM_MOUSEMOVE: {
            PressTracker t = pressTracker(w);
            if (t.tracking()) applyPress(w, t, t.mouseMove(pointInside(w, lParam)));
            return true;
        }
        case WM_LBUTTONUP: {
            PressTracker t = pressTracker(w);
            if (!t.tracking()) return true;
            const auto outcome = t.mouseUp(pointInside(w, lParam));
            applyPress(w, t, outcome);
            ReleaseCapture();
            if (outcome.click) behaviour.click(w);
            return true;
        }
        case WM_CAPTURECHANGED: {
            if (reinterpret_cast<HWND>(lParam) == w) return true;
            PressTracker t = pressTracker(w);
            applyPress(w, t, t.captureLost());
            return true;
        }

        case WM_SETFOCUS:
            setControlState(w, controlState(w) | behaviour.focusedBit);
            InvalidateRect(w, nullptr, FALSE);
            return true;
        case WM_KILLFOCUS: {
            PressTracker t = pressTracker(w);
            t.focusLost();
            setControlState(w, (controlState(w) & ~(0xFFu | behaviour.focusedBit)) | t.bits());
            if (GetCapture() == w) ReleaseCapture();
            InvalidateRect(w, nullptr, FALSE);
            return true;
        }
        case BM_SETSTATE: {
            PressTracker t = pressTracker(w);
            applyPress(w, t, t.force(wParam != 0));
            return true;
        }

        case WM_KEYDOWN:
            if (wParam != VK_SPACE) return false;
            {
                PressTracker t = pressTracker(w);
                applyPress(w, t, t.spaceDown());
            }
            return true;
        case WM_KEYUP:
            if (wParam == VK_SPACE) {
                PressTracker t = pressTracker(w);
                const auto outcome = t.spaceUp();
                applyPress(w, t, outcome);
                if (outcome.click) behaviour.click(w);
            }
            return true;
    }
    return false;
}

}  // namespace bwcc

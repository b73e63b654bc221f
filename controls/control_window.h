// Plumbing shared by the control window procedures: per-window slots, the
// font, the parent's colours, notifications, and the few drawing
// primitives of the gray look.
#pragma once

#include <windows.h>

#include <cstdint>

#include "control_geometry.h"
#include "two_tone.h"

namespace bwcc {

// Every control class keeps two values in its window extra bytes.
inline constexpr int kSlotFont = 0;                 // HFONT set by WM_SETFONT
inline constexpr int kSlotState = sizeof(LONG_PTR);  // control-specific state bits
inline constexpr int kControlExtraBytes = 2 * sizeof(LONG_PTR);

std::uint32_t controlState(HWND window);
void setControlState(HWND window, std::uint32_t state);
std::uint32_t windowStyle(HWND window);

// WM_SETFONT / WM_GETFONT storage. controlFont falls back to the parent's
// font and then to the default GUI font, so text always has a face.
LRESULT storeFont(HWND window, WPARAM font, LPARAM redraw);
HFONT storedFont(HWND window);
HFONT controlFont(HWND window);

// The background brush and text colours the parent chooses for a control
// (WM_CTLCOLORSTATIC or WM_CTLCOLORBTN), applied to `dc`. Never null.
HBRUSH parentBrush(HWND window, HDC dc, UINT ctlColorMessage);

// WM_COMMAND with the control's id and BN_CLICKED to its parent. The
// parent may destroy the control while handling it.
void notifyClicked(HWND window);

// Gives a control the focus the way the dialog manager would (so a push
// button also becomes the default button); plain SetFocus elsewhere.
void takeFocus(HWND window, bool throughDialogManager);

// Repaints the parent's area under a control, for controls that draw
// without painting their whole rectangle (shades).
void redrawUnder(HWND window);

// The answer to WM_NCPAINT: a control with no non-client area (the usual
// case) answers 0 at once, where the default handling would fetch a window
// DC to paint nothing; that is a good part of each control's first paint
// under Wine. Others get the default handling.
LRESULT paintNonClient(HWND window, WPARAM region);

Rect clientRect(HWND window);
RECT toRECT(const Rect& r);


// Text in the current font; when `enabled` is false, embossed in gray the
// way disabled captions are shown.
void drawCaption(HDC dc, const char* text, Rect area, UINT format, bool enabled, COLORREF colour);

// Width and height of `text` in the font selected into `dc`, honouring
// mnemonic ampersands as DrawText does with `format`.
SIZE measureText(HDC dc, const char* text, UINT format);

// The window text in a small buffer that grows when needed.
class WindowText {
public:
    explicit WindowText(HWND window);
    ~WindowText();
    WindowText(const WindowText&) = delete;
    WindowText& operator=(const WindowText&) = delete;
    const char* c_str() const { return text_; }
    bool empty() const { return text_[0] == '\0'; }

private:
    char small_[128];
    char* text_;
};

// Paints through a memory bitmap so a redraw never flickers.
class BufferedPaint {
public:
    explicit BufferedPaint(HWND window);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC dc() const { return memory_ ? memory_ : paint_.hdc; }
    HDC screenDC() const { return paint_.hdc; }
    Rect client() const { return client_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    Rect client_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};

}  // namespace bwcc

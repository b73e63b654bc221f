// The layout window: a small window that stays on top of the others and
// draws the keyboard in the typing mode in force (layout_grid.h). A click
// on a key types that key into whatever program has the keyboard focus, as
// the keyboard would type it, so that the hook translates it for that
// program; a right click types it with Shift.
//
// It never takes the focus from the program being typed into: it is not
// activated by clicks (MA_NOACTIVATE, and WS_EX_NOACTIVATE where the system
// knows that style), is shown without activation, and is moved by its
// caption without the system's move loop, which would activate it. Its
// close box destroys it; Open creates it again where it was.
#pragma once

#include "app/layout_grid.h"
#include "framework/framework.h"

namespace vyrtel {

class LayoutWindow : public TWindow {
public:
    LayoutWindow();
    ~LayoutWindow() override;

    // Shows the window with `view`, creating it when it does not exist;
    // never activates it.
    void Open(const LayoutView& view);

    // Shows `view` from now on (at once, if the window exists).
    void Follow(const LayoutView& view);

    // Destroys the window, if any.
    void Close();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MakeFonts();
    void FreeFonts();
    void Paint();
    void DrawKey(HDC dc, int index) const;
    void Press(int x, int y, bool shifted);
    void Track(int x, int y);
    void Release(int x, int y);
    void Type(int index, bool shifted) const;
    void Drag();

    LayoutView view_;
    GridMetrics metrics_{};
    HFONT signFont_ = nullptr;
    HFONT smallFont_ = nullptr;
    int pressed_ = -1;        // the key held down, or -1
    bool pressedShift_ = false;
    bool pressedShown_ = false;
    bool dragging_ = false;
    POINT dragOffset_{};      // the cursor from the window's corner
    bool placed_ = false;     // where it was, once it has been shown
    POINT place_{};
};

}  // namespace vyrtel

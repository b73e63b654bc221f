// The two drawing primitives of the gray look: a solid rectangle and a
// one-pixel two-tone frame, the bevels of buttons and keys. Inline, so that
// the control library and the program's layout window draw the same way.
#pragma once

#include <windows.h>

#include "control_geometry.h"

namespace bwcc {

inline void fillSolid(HDC dc, const Rect& r, COLORREF colour) {
    if (r.empty()) return;
    const RECT area{r.left, r.top, r.right, r.bottom};
    const COLORREF old = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

// Top and left edges in one colour, bottom and right in another.
inline void drawTwoToneFrame(HDC dc, const Rect& r, COLORREF topLeft, COLORREF bottomRight) {
    if (r.empty()) return;
    fillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    fillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    fillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    fillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

}  // namespace bwcc

// Window style arithmetic of the framework: the frame's default style, the
// main window's extended style, the rewrite a frame applies to a client it
// fits itself to, and the style a show command leaves on a window that does
// not exist yet. Plain C++; the values are the platform's (window.cpp checks
// them against windows.h).
#pragma once

#include <cstdint>

namespace framework {

namespace ws {
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kClipChildren = 0x02000000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kDlgFrame = 0x00400000;
inline constexpr std::uint32_t kThickFrame = 0x00040000;
inline constexpr std::uint32_t kOverlappedWindow = 0x00CF0000;

inline constexpr std::uint32_t kExDlgModalFrame = 0x00000001;
inline constexpr std::uint32_t kExWindowEdge = 0x00000100;
inline constexpr std::uint32_t kExStaticEdge = 0x00020000;
inline constexpr std::uint32_t kExAppWindow = 0x00040000;
}  // namespace ws

// A new frame: an overlapped window with every frame control, visible, and
// clipping its children when it has a client (0x10CF0000 / 0x12CF0000).
constexpr std::uint32_t frameDefaultStyle(bool hasClient) {
    return ws::kOverlappedWindow | ws::kVisible | (hasClient ? ws::kClipChildren : 0);
}

// The main window is shown on the task bar.
constexpr std::uint32_t mainWindowExStyle(std::uint32_t exStyle) { return exStyle | ws::kExAppWindow; }

// Bits that make a window a framed pop-up rather than a child pane, and the
// bits a fitted client gets instead.
inline constexpr std::uint32_t kFramedClientBits = ws::kPopup | ws::kDlgFrame | ws::kThickFrame;
inline constexpr std::uint32_t kFittedClientBits = ws::kChild | ws::kVisible | ws::kBorder;
inline constexpr std::uint32_t kClientEdgeExBits = ws::kExDlgModalFrame | ws::kExWindowEdge | ws::kExStaticEdge;

struct ClientStyle {
    std::uint32_t style;
    std::uint32_t exStyle;
    bool becameChild;  // it was a pop-up: the frame must become its parent
};

// The style of a client that a frame fits itself to: a framed or pop-up
// client loses its frame (and with it any caption) and becomes a visible
// child with a thin border; edge extended styles are dropped. A client that
// is already a plain child keeps its style.
constexpr ClientStyle fittedClientStyle(std::uint32_t style, std::uint32_t exStyle) {
    ClientStyle result{style, exStyle, false};
    if (style & kFramedClientBits) {
        result.becameChild = (style & ws::kPopup) != 0;
        result.style = (style & ~kFramedClientBits) | kFittedClientBits;
    }
    result.exStyle &= ~kClientEdgeExBits;
    return result;
}

}  // namespace framework

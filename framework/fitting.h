// The arithmetic of a frame that fits itself to its client ("shrink to
// client") and of placing the client inside the frame. Sizes in pixels.
// Plain C++; frame_window.cpp feeds it the platform's rectangles.
#pragma once

namespace framework {

struct Size {
    int width;
    int height;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int x;
    int y;
    int width;
    int height;
    bool operator==(const Rect&) const = default;
};

// Thickness of a window's non-client parts on each side (border, caption).
struct Insets {
    int left;
    int top;
    int right;
    int bottom;
};

// What the frame's client area must measure: a client with a border is
// measured by its content (client area), any other by its whole window.
constexpr Size fitTarget(bool clientHasBorder, Size clientWindow, Size clientContent) {
    return clientHasBorder ? clientContent : clientWindow;
}

// The outer size that gives the frame a client area of `target`, keeping the
// frame's own non-client thickness: the outer size changes by the difference.
constexpr Size frameSizeFor(Size frameOuter, Size frameClient, Size target) {
    return {frameOuter.width + target.width - frameClient.width,
            frameOuter.height + target.height - frameClient.height};
}

// Where the client goes inside the frame's client area. Normally it fills
// the area. A bordered client of a frame fitted to its content is placed
// with its border just outside the area, so that its content, not content
// minus border, is what the frame shows: the fit stays exact and nothing of
// the client is clipped.
constexpr Rect clientPlacement(Size frameClient, Insets clientInsets, bool borderOutside) {
    if (!borderOutside) return {0, 0, frameClient.width, frameClient.height};
    return {-clientInsets.left, -clientInsets.top, frameClient.width + clientInsets.left + clientInsets.right,
            frameClient.height + clientInsets.top + clientInsets.bottom};
}

}  // namespace framework

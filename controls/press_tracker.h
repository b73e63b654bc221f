// The pressed state of a clickable control, driven by the mouse and by the
// space bar. Pure: the window procedure feeds it events and carries out
// what it answers (redraw, capture, notify).
//
// A press started with the mouse follows the pointer: the control looks
// pressed only while the pointer is inside, and releasing inside clicks.
// A press started with the space bar clicks when the key comes up. Losing
// the capture or the focus, or being disabled, abandons a press without a
// click.
#pragma once

#include <cstdint>

namespace bwcc {

class PressTracker {
public:
    enum Bits : std::uint32_t {
        kMouse = 1u << 0,    // the mouse button went down on us; we hold the capture
        kKey = 1u << 1,      // the space bar went down while we had the focus
        kInside = 1u << 2,   // the pointer is inside (meaningful with kMouse)
        kForced = 1u << 3,   // pressed look requested from outside (BM_SETSTATE)
    };

    struct Outcome {
        bool redraw = false;
        bool click = false;
    };

    constexpr PressTracker() = default;
    constexpr explicit PressTracker(std::uint32_t bits) : bits_(bits & 0xF) {}
    constexpr std::uint32_t bits() const { return bits_; }

    constexpr bool pressed() const {
        return (bits_ & kForced) || (bits_ & kKey) || ((bits_ & kMouse) && (bits_ & kInside));
    }
    constexpr bool tracking() const { return (bits_ & kMouse) != 0; }

    constexpr Outcome mouseDown() { return change(bits_ | kMouse | kInside, false); }

    constexpr Outcome mouseMove(bool inside) {
        if (!(bits_ & kMouse)) return {};
        return change(inside ? (bits_ | kInside) : (bits_ & ~kInside), false);
    }

    constexpr Outcome mouseUp(bool inside) {
        if (!(bits_ & kMouse)) return {};
        return change(bits_ & ~(kMouse | kInside), inside);
    }

    // A repeated key-down (auto-repeat) changes nothing.
    constexpr Outcome spaceDown() { return change(bits_ | kKey, false); }

    constexpr Outcome spaceUp() {
        if (!(bits_ & kKey)) return {};
        return change(bits_ & ~kKey, true);
    }

    constexpr Outcome captureLost() { return change(bits_ & ~(kMouse | kInside), false); }
    constexpr Outcome focusLost() { return change(bits_ & ~(kKey | kMouse | kInside), false); }
    constexpr Outcome disabled() { return change(0, false); }

    constexpr Outcome force(bool on) { return change(on ? (bits_ | kForced) : (bits_ & ~kForced), false); }

private:
    constexpr Outcome change(std::uint32_t next, bool click) {
        const bool before = pressed();
        bits_ = next;
        return {before != pressed(), click};
    }

    std::uint32_t bits_ = 0;
};

}  // namespace bwcc

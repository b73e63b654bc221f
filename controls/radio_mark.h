// The round mark of a radio button as a 12 x 12 pixel map: a sunken ring
// (dark at the upper left, light at the lower right) around a white well,
// with a round dot when checked. Pure, so the shape is checked natively and
// the window code only sets the pixels it is told.
#pragma once

#include <array>
#include <cstdint>

#include "control_geometry.h"
#include "palette.h"

namespace bwcc {

enum class MarkPixel : char {
    Clear = '.',       // leave the background
    Shadow = 'S',      // outer ring, upper left
    Dark = 'K',        // inner ring, upper left
    Highlight = 'H',   // outer ring, lower right
    Light = 'L',       // inner ring, lower right
    Well = 'W',        // inside
};

inline constexpr std::array<const char*, kRadioMarkSize> kRadioRing = {
    "....SSSS....",
    "..SSKKKKSS..",
    ".SKKWWWWKKH.",
    ".SKWWWWWWLH.",
    "SKWWWWWWWWLH",
    "SKWWWWWWWWLH",
    "SKWWWWWWWWLH",
    "SKWWWWWWWWLH",
    ".SKWWWWWWLH.",
    ".SLLWWWWLLH.",
    "..HHLLLLHH..",
    "....HHHH....",
};

// The dot covers these pixels of the well when the button is checked.
constexpr bool inRadioDot(int x, int y) {
    if (x < 4 || x > 7 || y < 4 || y > 7) return false;
    const bool corner = (x == 4 || x == 7) && (y == 4 || y == 7);
    return !corner;
}

struct MarkColours {
    std::uint32_t well;  // white, or face gray while pressed or disabled
    std::uint32_t dot;   // black, or gray when disabled
};

constexpr MarkColours radioMarkColours(bool pressed, bool enabled) {
    return {pressed || !enabled ? palette::kFace : palette::kWell,
            enabled ? palette::kText : palette::kShadow};
}

// The colour of one pixel of the mark; false for a pixel left clear.
constexpr bool radioMarkPixel(int x, int y, bool checked, MarkColours colours, std::uint32_t& out) {
    if (x < 0 || y < 0 || x >= kRadioMarkSize || y >= kRadioMarkSize) return false;
    switch (static_cast<MarkPixel>(kRadioRing[y][x])) {
        case MarkPixel::Clear: return false;
        case MarkPixel::Shadow: out = palette::kShadow; return true;
        case MarkPixel::Dark: out = palette::kDarkShadow; return true;
        case MarkPixel::Highlight: out = palette::kHighlight; return true;
        case MarkPixel::Light: out = palette::kLight; return true;
        case MarkPixel::Well: out = checked && inRadioDot(x, y) ? colours.dot : colours.well; return true;
    }
    return false;
}

}  // namespace bwcc

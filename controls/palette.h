// The classic 3-D gray look: a light-gray face, white and dark-gray bevels,
// black text. Fixed rather than taken from the system colours, so the
// dialogs look the same on every machine, whatever the colour scheme.
// Colours are 0x00BBGGRR, the platform's COLORREF layout.
#pragma once

#include <cstdint>

namespace bwcc::palette {

constexpr std::uint32_t rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

inline constexpr std::uint32_t kFace = rgb(192, 192, 192);
inline constexpr std::uint32_t kHighlight = rgb(255, 255, 255);
inline constexpr std::uint32_t kLight = rgb(223, 223, 223);
inline constexpr std::uint32_t kShadow = rgb(128, 128, 128);
inline constexpr std::uint32_t kDarkShadow = rgb(0, 0, 0);
inline constexpr std::uint32_t kText = rgb(0, 0, 0);
inline constexpr std::uint32_t kGrayText = rgb(128, 128, 128);
inline constexpr std::uint32_t kWell = rgb(255, 255, 255);       // inside of a radio mark
inline constexpr std::uint32_t kGlyphGreen = rgb(0, 128, 0);
inline constexpr std::uint32_t kGlyphRed = rgb(192, 0, 0);

}  // namespace bwcc::palette

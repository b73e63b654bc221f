// How the custom controls read their window styles. Pure: the bit values
// are the platform's, restated here so that this logic builds and is tested
// without windows.h.
#pragma once

#include <cstdint>

namespace bwcc {

// Window styles shared by every control.
inline constexpr std::uint32_t kTabStop = 0x00010000;  // WS_TABSTOP
inline constexpr std::uint32_t kDisabled = 0x08000000; // WS_DISABLED

// Button styles (low four bits: the button type).
inline constexpr std::uint32_t kButtonTypeMask = 0x0000000F;
inline constexpr std::uint32_t kPushButton = 0x0;        // BS_PUSHBUTTON
inline constexpr std::uint32_t kDefPushButton = 0x1;     // BS_DEFPUSHBUTTON
inline constexpr std::uint32_t kAutoRadioButton = 0x9;   // BS_AUTORADIOBUTTON
inline constexpr std::uint32_t kOwnerDrawButton = 0xB;   // BS_OWNERDRAW

// Static styles.
inline constexpr std::uint32_t kStaticTypeMask = 0x1F;   // SS_TYPEMASK
inline constexpr std::uint32_t kStaticCentre = 0x1;      // SS_CENTER
inline constexpr std::uint32_t kStaticRight = 0x2;       // SS_RIGHT
inline constexpr std::uint32_t kStaticNoPrefix = 0x80;   // SS_NOPREFIX

// Shade styles: the low byte is the kind; two flags above it.
inline constexpr std::uint32_t kShadeKindMask = 0xFF;
inline constexpr std::uint32_t kShadeCentred = 0x0100;
inline constexpr std::uint32_t kShadeCaption = 0x8000;

enum class ShadeKind : std::uint8_t {
    SunkenBox = 1,   // a sunken frame around a group of controls
    SunkenLine = 2,  // a horizontal sunken line
};

struct ShadeStyle {
    ShadeKind kind;
    bool caption;  // the window text stands on the frame's top edge
    bool centred;  // ... centred rather than near the left end
};

// Kinds other than the line are drawn as a box, so that a shade with an
// unknown kind still shows where it is rather than nothing at all.
constexpr ShadeStyle decodeShadeStyle(std::uint32_t style) {
    const auto kind = (style & kShadeKindMask) == 2 ? ShadeKind::SunkenLine : ShadeKind::SunkenBox;
    return {kind, (style & kShadeCaption) != 0, (style & kShadeCentred) != 0};
}

constexpr bool isDefaultPushButton(std::uint32_t style) {
    return (style & kButtonTypeMask) == kDefPushButton;
}

constexpr bool isAutoRadioButton(std::uint32_t style) {
    return (style & kButtonTypeMask) == kAutoRadioButton;
}

constexpr bool isOwnerDrawButton(std::uint32_t style) {
    return (style & kButtonTypeMask) == kOwnerDrawButton;
}

// BM_SETSTYLE replaces the button type and keeps every other bit.
constexpr std::uint32_t withButtonType(std::uint32_t style, std::uint32_t type) {
    return (style & ~kButtonTypeMask) | (type & kButtonTypeMask);
}

// A radio button takes part in Tab navigation only while it is checked, so
// that Tab enters a group at its chosen button and arrows move inside it.
constexpr std::uint32_t radioStyleForCheck(std::uint32_t style, bool checked) {
    return checked ? (style | kTabStop) : (style & ~kTabStop);
}

enum class TextAlign : std::uint8_t { Left, Centre, Right };

constexpr TextAlign staticTextAlign(std::uint32_t style) {
    switch (style & kStaticTypeMask) {
        case kStaticCentre: return TextAlign::Centre;
        case kStaticRight: return TextAlign::Right;
        default: return TextAlign::Left;
    }
}

constexpr bool staticShowsPrefix(std::uint32_t style) {
    return (style & kStaticNoPrefix) == 0;
}

// Styles that give a window a non-client area: a border or frame (WS_BORDER,
// WS_DLGFRAME, WS_THICKFRAME), scroll bars (WS_VSCROLL, WS_HSCROLL), and
// the edges of the extended style (WS_EX_DLGMODALFRAME, WS_EX_CLIENTEDGE,
// WS_EX_STATICEDGE). A control with none of them has nothing to paint there.
inline constexpr std::uint32_t kNonClientStyles = 0x00800000 | 0x00400000 | 0x00040000 | 0x00200000 | 0x00100000;
inline constexpr std::uint32_t kNonClientExStyles = 0x00000001 | 0x00000200 | 0x00020000;

constexpr bool hasNonClientArea(std::uint32_t style, std::uint32_t exStyle) {
    return (style & kNonClientStyles) != 0 || (exStyle & kNonClientExStyles) != 0;
}

}  // namespace bwcc

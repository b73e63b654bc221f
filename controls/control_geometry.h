// Where the parts of each custom control go inside its client rectangle.
// Pure arithmetic on pixel rectangles (right and bottom exclusive), so the
// drawing code only paints what these functions place.
#pragma once

#include <algorithm>

#include "control_styles.h"

namespace bwcc {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr Rect inset(int dx, int dy) const { return {left + dx, top + dy, right - dx, bottom - dy}; }
    constexpr Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// ---- shades ----

inline constexpr int kShadeCaptionIndent = 6;   // from the frame's left end
inline constexpr int kShadeCaptionPadding = 2;  // gap between the text and the broken edge
inline constexpr int kSunkenEdge = 2;           // a sunken line: shadow, then highlight

struct ShadeLayout {
    Rect frame;           // SunkenBox: the box's outline; SunkenLine: the 2-pixel line
    bool hasCaption = false;
    Rect captionGap;      // where the edge is broken for the caption (text plus padding)
    Rect captionText;     // where the caption's text is drawn
};

// A captioned shade hangs its top edge at the middle of the caption's line,
// so the caption sits on the edge. A caption never overhangs the shade: it
// is clipped to the client width.
constexpr ShadeLayout layoutShade(Rect client, ShadeStyle style, int textWidth, int textHeight) {
    ShadeLayout out;
    const bool caption = style.caption && textWidth > 0 && textHeight > 0;
    const int edgeY = caption ? client.top + textHeight / 2
                              : (style.kind == ShadeKind::SunkenLine
                                     ? client.top + std::max(0, (client.height() - kSunkenEdge) / 2)
                                     : client.top);
    if (style.kind == ShadeKind::SunkenLine) {
        out.frame = {client.left, edgeY, client.right, edgeY + kSunkenEdge};
    } else {
        out.frame = {client.left, edgeY, client.right, client.bottom};
    }
    if (!caption) return out;

    out.hasCaption = true;
    const int gapWidth = std::min(textWidth + 2 * kShadeCaptionPadding, client.width());
    int gapLeft = style.centred ? client.left + (client.width() - gapWidth) / 2
                                : client.left + kShadeCaptionIndent;
    gapLeft = std::max(client.left, std::min(gapLeft, client.right - gapWidth));
    out.captionGap = {gapLeft, client.top, gapLeft + gapWidth, client.top + textHeight};
    out.captionText = {std::min(gapLeft + kShadeCaptionPadding, out.captionGap.right), client.top,
                       out.captionGap.right - (gapWidth > textWidth ? kShadeCaptionPadding : 0),
                       client.top + textHeight};
    return out;
}

// ---- radio buttons ----

inline constexpr int kRadioMarkSize = 12;
inline constexpr int kRadioTextGap = 4;

struct RadioLayout {
    Rect mark;  // the round mark, vertically centred
    Rect text;  // the rest of the client, right of the mark
};

constexpr RadioLayout layoutRadio(Rect client) {
    const int markTop = client.top + (client.height() - kRadioMarkSize) / 2;
    const Rect mark{client.left, markTop, client.left + kRadioMarkSize, markTop + kRadioMarkSize};
    const Rect text{std::min(mark.right + kRadioTextGap, client.right), client.top, client.right, client.bottom};
    return {mark, text};
}

// The focus rectangle hugs the text with one pixel to spare, inside the client.
constexpr Rect focusAroundText(Rect textArea, int textWidth, int textHeight, TextAlign align = TextAlign::Left) {
    const int w = std::min(textWidth, textArea.width());
    const int h = std::min(textHeight, textArea.height());
    int left = textArea.left;
    if (align == TextAlign::Centre) left += (textArea.width() - w) / 2;
    if (align == TextAlign::Right) left = textArea.right - w;
    const int top = textArea.top + (textArea.height() - h) / 2;
    return {left - 1, top - 1, left + w + 1, top + h + 1};
}

// ---- push buttons ----

inline constexpr int kButtonBevel = 2;        // the raised edge, two pixels deep
inline constexpr int kButtonFocusInset = 3;   // focus rectangle, inside the bevel with a pixel to spare
inline constexpr int kGlyphTextGap = 4;

struct PushButtonLayout {
    Rect bevel;    // the raised (or, pressed, sunken) edge; inside the default frame, if any
    Rect content;  // where glyph and caption are centred; shifted one pixel when pressed
    Rect focus;
};

constexpr PushButtonLayout layoutPushButton(Rect client, bool isDefault, bool pressed) {
    const int frame = isDefault || pressed ? 1 : 0;
    const Rect bevel = client.inset(frame, frame);
    Rect content = bevel.inset(kButtonBevel, kButtonBevel);
    if (pressed) content = content.offset(1, 1);
    const Rect focus = bevel.inset(kButtonFocusInset, kButtonFocusInset);
    return {bevel, content, focus};
}

struct GlyphAndText {
    Rect glyph;  // empty when there is no glyph
    Rect text;
};

// Centres a square glyph and a line of text side by side as one group.
constexpr GlyphAndText layoutGlyphAndText(Rect content, int glyphSize, int textWidth, int textHeight) {
    const int gap = glyphSize > 0 && textWidth > 0 ? kGlyphTextGap : 0;
    const int total = glyphSize + gap + textWidth;
    const int left = content.left + (content.width() - total) / 2;
    const int midY = content.top + content.height() / 2;
    GlyphAndText out;
    if (glyphSize > 0) {
        const int top = midY - glyphSize / 2;
        out.glyph = {left, top, left + glyphSize, top + glyphSize};
    }
    const int textLeft = left + glyphSize + gap;
    const int textTop = midY - textHeight / 2;
    out.text = {textLeft, textTop, textLeft + textWidth, textTop + textHeight};
    return out;
}

}  // namespace bwcc

#include "control_geometry.h"

#include <gtest/gtest.h>

using namespace bwcc;

namespace {
constexpr ShadeStyle kBox{ShadeKind::SunkenBox, false, false};
constexpr ShadeStyle kCaptioned{ShadeKind::SunkenBox, true, false};
constexpr ShadeStyle kCentred{ShadeKind::SunkenBox, true, true};
constexpr ShadeStyle kLine{ShadeKind::SunkenLine, false, false};
}  // namespace

TEST(ShadeLayout, BoxWithoutCaptionFillsTheClient) {
    const ShadeLayout l = layoutShade({0, 0, 100, 60}, kBox, 40, 13);
    EXPECT_EQ(l.frame, (Rect{0, 0, 100, 60}));
    EXPECT_FALSE(l.hasCaption);
}

TEST(ShadeLayout, CaptionSitsOnTheTopEdgeLeftOrCentred) {
    const ShadeLayout left = layoutShade({0, 0, 100, 60}, kCaptioned, 40, 14);
    EXPECT_EQ(left.frame, (Rect{0, 7, 100, 60}));  // edge through the caption's middle
    ASSERT_TRUE(left.hasCaption);
    EXPECT_EQ(left.captionGap, (Rect{kShadeCaptionIndent, 0, kShadeCaptionIndent + 44, 14}));
    EXPECT_EQ(left.captionText, (Rect{kShadeCaptionIndent + 2, 0, kShadeCaptionIndent + 42, 14}));

    const ShadeLayout centred = layoutShade({10, 20, 110, 80}, kCentred, 40, 14);
    EXPECT_EQ(centred.captionGap, (Rect{38, 20, 82, 34}));
    EXPECT_EQ(centred.captionText.width(), 40);
}

TEST(ShadeLayout, CaptionNeverOverhangsANarrowShade) {
    for (const ShadeStyle& style : {kCaptioned, kCentred}) {
        const ShadeLayout l = layoutShade({5, 0, 35, 40}, style, 80, 13);
        ASSERT_TRUE(l.hasCaption);
        EXPECT_GE(l.captionGap.left, 5);
        EXPECT_LE(l.captionGap.right, 35);
        EXPECT_GE(l.captionText.left, l.captionGap.left);
        EXPECT_LE(l.captionText.right, l.captionGap.right);
    }
}

// A shade just as wide as its caption has no room for the right padding:
// the text runs to the gap's right end.
TEST(ShadeLayout, ShadeAsWideAsItsCaptionGivesTheTextTheGapsRightEnd) {
    for (const ShadeStyle& style : {kCaptioned, kCentred}) {
        const ShadeLayout l = layoutShade({10, 0, 50, 40}, style, 40, 13);
        ASSERT_TRUE(l.hasCaption);
        EXPECT_EQ(l.captionGap, (Rect{10, 0, 50, 13}));
        EXPECT_EQ(l.captionText, (Rect{10 + kShadeCaptionPadding, 0, 50, 13}));
    }
}

TEST(ShadeLayout, CaptionFlagWithoutTextDrawsAPlainFrame) {
    const ShadeLayout l = layoutShade({0, 0, 100, 60}, kCentred, 0, 0);
    EXPECT_FALSE(l.hasCaption);
    EXPECT_EQ(l.frame, (Rect{0, 0, 100, 60}));
}

TEST(ShadeLayout, LineIsTwoPixelsCentredOrAtTheCaptionsMiddle) {
    EXPECT_EQ(layoutShade({0, 0, 200, 2}, kLine, 0, 0).frame, (Rect{0, 0, 200, 2}));
    EXPECT_EQ(layoutShade({0, 0, 200, 10}, kLine, 0, 0).frame, (Rect{0, 4, 200, 6}));
    EXPECT_EQ(layoutShade({0, 0, 200, 1}, kLine, 0, 0).frame, (Rect{0, 0, 200, 2}));  // clipped by the window
    const ShadeLayout captioned = layoutShade({0, 0, 200, 16}, {ShadeKind::SunkenLine, true, true}, 30, 14);
    EXPECT_EQ(captioned.frame, (Rect{0, 7, 200, 9}));
    EXPECT_TRUE(captioned.hasCaption);
}

TEST(RadioLayout, MarkIsVerticallyCentredAndTextFollowsIt) {
    const RadioLayout l = layoutRadio({0, 0, 160, 23});
    EXPECT_EQ(l.mark, (Rect{0, 5, 12, 17}));
    EXPECT_EQ(l.text, (Rect{12 + kRadioTextGap, 0, 160, 23}));
    const RadioLayout tiny = layoutRadio({0, 0, 10, 8});
    EXPECT_LE(tiny.text.left, tiny.text.right);
}

TEST(FocusRect, HugsTheTextInsideItsArea) {
    EXPECT_EQ(focusAroundText({16, 0, 160, 23}, 50, 13), (Rect{15, 4, 67, 19}));
    EXPECT_EQ(focusAroundText({16, 0, 60, 23}, 100, 13), (Rect{15, 4, 61, 19}));  // long text: clipped to the area
    EXPECT_EQ(focusAroundText({0, 0, 100, 20}, 40, 10, TextAlign::Centre), (Rect{29, 4, 71, 16}));
}

TEST(PushButtonLayout, DefaultFrameAndPressedOffset) {
    const Rect client{0, 0, 74, 39};
    const PushButtonLayout plain = layoutPushButton(client, false, false);
    EXPECT_EQ(plain.bevel, client);
    EXPECT_EQ(plain.content, (Rect{2, 2, 72, 37}));
    const PushButtonLayout byDefault = layoutPushButton(client, true, false);
    EXPECT_EQ(byDefault.bevel, (Rect{1, 1, 73, 38}));
    EXPECT_EQ(byDefault.focus, byDefault.bevel.inset(kButtonFocusInset, kButtonFocusInset));
    const PushButtonLayout pressed = layoutPushButton(client, false, true);
    EXPECT_EQ(pressed.content, byDefault.content.offset(1, 1));
}

TEST(GlyphAndText, CentredAsOneGroup) {
    const GlyphAndText both = layoutGlyphAndText({0, 0, 100, 30}, 12, 20, 13);
    EXPECT_EQ(both.glyph, (Rect{32, 9, 44, 21}));
    EXPECT_EQ(both.text, (Rect{48, 9, 68, 22}));
    const GlyphAndText textOnly = layoutGlyphAndText({0, 0, 100, 30}, 0, 20, 13);
    EXPECT_TRUE(textOnly.glyph.empty());
    EXPECT_EQ(textOnly.text, (Rect{40, 9, 60, 22}));
}

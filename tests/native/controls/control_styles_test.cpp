#include "control_styles.h"
#include "standard_captions.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace bwcc;

TEST(NonClientArea, OnlyBordersFramesScrollBarsAndEdgesMakeOne) {
    // Every control of the program's templates: child, visible, tab stop,
    // group, their own style bits.
    for (std::uint32_t style : {0x50010004u, 0x50010001u, 0x50008101u, 0x50028101u, 0x50000000u, 0x50000002u}) {
        EXPECT_FALSE(hasNonClientArea(style, 0x00000004)) << std::hex << style;  // WS_EX_NOPARENTNOTIFY
    }
    for (std::uint32_t style : {0x00800000u, 0x00400000u, 0x00C00000u, 0x00040000u, 0x00200000u, 0x00100000u}) {
        EXPECT_TRUE(hasNonClientArea(0x50000000 | style, 0)) << std::hex << style;
    }
    for (std::uint32_t exStyle : {0x00000001u, 0x00000200u, 0x00020000u}) {
        EXPECT_TRUE(hasNonClientArea(0x50000000, exStyle)) << std::hex << exStyle;
    }
}

TEST(ShadeStyle, DecodesTheTemplatesStyleValues) {
    // Captioned, centred group boxes (with and without WS_GROUP).
    for (std::uint32_t style : {0x50008101u, 0x50028101u}) {
        const ShadeStyle s = decodeShadeStyle(style);
        EXPECT_EQ(s.kind, ShadeKind::SunkenBox);
        EXPECT_TRUE(s.caption);
        EXPECT_TRUE(s.centred);
    }
    // A centred box without caption, and a plain line.
    const ShadeStyle box = decodeShadeStyle(0x50000101);
    EXPECT_EQ(box.kind, ShadeKind::SunkenBox);
    EXPECT_FALSE(box.caption);
    EXPECT_TRUE(box.centred);
    const ShadeStyle line = decodeShadeStyle(0x50000002);
    EXPECT_EQ(line.kind, ShadeKind::SunkenLine);
    EXPECT_FALSE(line.caption);
    EXPECT_FALSE(line.centred);
}

TEST(ShadeStyle, UnknownKindsAreDrawnAsABoxAndFlagsDoNotLeakIntoTheKind) {
    EXPECT_EQ(decodeShadeStyle(0x00).kind, ShadeKind::SunkenBox);
    EXPECT_EQ(decodeShadeStyle(0x07).kind, ShadeKind::SunkenBox);
    EXPECT_EQ(decodeShadeStyle(0x8102).kind, ShadeKind::SunkenLine);  // flags beside kind 2
    EXPECT_EQ(decodeShadeStyle(0x0012).kind, ShadeKind::SunkenBox);   // the whole low byte is the kind
}

TEST(ButtonStyle, TypeIsTheLowNibbleAndBmSetStyleKeepsEverythingElse) {
    EXPECT_TRUE(isDefaultPushButton(0x50010001));
    EXPECT_FALSE(isDefaultPushButton(0x50010000));
    EXPECT_TRUE(isOwnerDrawButton(0x5000030B));
    EXPECT_FALSE(isOwnerDrawButton(0x50010004));
    EXPECT_TRUE(isAutoRadioButton(0x50010009));
    EXPECT_FALSE(isAutoRadioButton(0x50010004));

    EXPECT_EQ(withButtonType(0x50010000, 1), 0x50010001u);
    EXPECT_EQ(withButtonType(0x50010001, 0), 0x50010000u);
    EXPECT_EQ(withButtonType(0x50010001, 0x10), 0x50010000u);  // only the type bits are taken
}

TEST(RadioStyle, TabStopFollowsTheCheckAndNothingElseChanges) {
    EXPECT_EQ(radioStyleForCheck(0x50000004, true), 0x50010004u);
    EXPECT_EQ(radioStyleForCheck(0x50010004, false), 0x50000004u);
    EXPECT_EQ(radioStyleForCheck(0x50030004, true), 0x50030004u);  // WS_GROUP kept
}

TEST(StaticStyle, AlignmentAndPrefix) {
    EXPECT_EQ(staticTextAlign(0x50000000), TextAlign::Left);
    EXPECT_EQ(staticTextAlign(0x50000001), TextAlign::Centre);
    EXPECT_EQ(staticTextAlign(0x50000002), TextAlign::Right);
    EXPECT_EQ(staticTextAlign(0x5000000B), TextAlign::Left);  // SS_LEFTNOWORDWRAP and the rest: left
    EXPECT_TRUE(staticShowsPrefix(0x50000000));
    EXPECT_FALSE(staticShowsPrefix(0x50000080));
}

TEST(StandardFace, EmptyButtonsWithStandardIdsGetTheirUsualCaption) {
    EXPECT_STREQ(standardFace(1).caption, "OK");
    EXPECT_EQ(standardFace(1).glyph, Glyph::Check);
    EXPECT_STREQ(standardFace(2).caption, "Cancel");
    EXPECT_EQ(standardFace(2).glyph, Glyph::Cross);
    EXPECT_STREQ(standardFace(7).caption, "No");
    EXPECT_EQ(standardFace(9).glyph, Glyph::None);
    for (int id : {0, 12, 101, -1, 65535}) EXPECT_EQ(standardFace(id).caption, nullptr) << id;
}

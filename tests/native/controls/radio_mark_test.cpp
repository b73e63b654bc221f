#include "radio_mark.h"

#include <gtest/gtest.h>

#include <string>

using namespace bwcc;

namespace {
char swapped(char c) {
    switch (c) {
        case 'S': return 'H';
        case 'H': return 'S';
        case 'K': return 'L';
        case 'L': return 'K';
        default: return c;
    }
}
}  // namespace

TEST(RadioMark, RingIsSquareAndLitFromTheUpperLeft) {
    for (const char* row : kRadioRing) ASSERT_EQ(std::string(row).size(), std::size_t(kRadioMarkSize));
    // Mirroring across the anti-diagonal swaps the dark and the light sides.
    for (int y = 0; y < kRadioMarkSize; ++y) {
        for (int x = 0; x < kRadioMarkSize; ++x) {
            if (x + y == kRadioMarkSize - 1) continue;  // on the axis itself either side will do
            const char here = kRadioRing[y][x];
            const char mirror = kRadioRing[kRadioMarkSize - 1 - x][kRadioMarkSize - 1 - y];
            EXPECT_EQ(swapped(here), mirror) << "at " << x << "," << y;
        }
    }
    // Left-right symmetric in shape.
    for (int y = 0; y < kRadioMarkSize; ++y) {
        for (int x = 0; x < kRadioMarkSize; ++x) {
            EXPECT_EQ(kRadioRing[y][x] == '.', kRadioRing[y][kRadioMarkSize - 1 - x] == '.') << x << "," << y;
        }
    }
}

TEST(RadioMark, DotLiesInsideTheWellAndShowsOnlyWhenChecked) {
    const MarkColours colours = radioMarkColours(false, true);
    int dot = 0;
    for (int y = 0; y < kRadioMarkSize; ++y) {
        for (int x = 0; x < kRadioMarkSize; ++x) {
            if (!inRadioDot(x, y)) continue;
            ++dot;
            EXPECT_EQ(kRadioRing[y][x], 'W');
            std::uint32_t checked = 0, unchecked = 0;
            ASSERT_TRUE(radioMarkPixel(x, y, true, colours, checked));
            ASSERT_TRUE(radioMarkPixel(x, y, false, colours, unchecked));
            EXPECT_EQ(checked, palette::kText);
            EXPECT_EQ(unchecked, palette::kWell);
        }
    }
    EXPECT_EQ(dot, 12);  // 4 x 4 less the corners
}

TEST(RadioMark, PressedOrDisabledGraysTheWellAndDisabledGraysTheDot) {
    EXPECT_EQ(radioMarkColours(false, true).well, palette::kWell);
    EXPECT_EQ(radioMarkColours(true, true).well, palette::kFace);
    EXPECT_EQ(radioMarkColours(false, false).well, palette::kFace);
    EXPECT_EQ(radioMarkColours(false, false).dot, palette::kShadow);
    std::uint32_t colour = 0;
    EXPECT_FALSE(radioMarkPixel(0, 0, true, radioMarkColours(false, true), colour));  // corner stays clear
    EXPECT_FALSE(radioMarkPixel(-1, 5, true, radioMarkColours(false, true), colour));
    EXPECT_FALSE(radioMarkPixel(12, 5, true, radioMarkColours(false, true), colour));
}

// Fitting a frame to its client and placing the client.
#include <gtest/gtest.h>

#include "framework/fitting.h"

namespace {

using namespace framework;

TEST(Fitting, FrameChangesItsOuterSizeByTheDifference) {
    // A frame of 400x300 with a 392x273 client area (4-pixel sides, 23-pixel caption).
    const Size target{271, 200};
    const Size outer = frameSizeFor({400, 300}, {392, 273}, target);
    EXPECT_EQ(outer, (Size{279, 227}));
    // Fitting again from there changes nothing.
    EXPECT_EQ(frameSizeFor(outer, target, target), outer);
}

TEST(Fitting, FrameGrowsForAClientLargerThanItsArea) {
    EXPECT_EQ(frameSizeFor({100, 80}, {92, 53}, {300, 250}), (Size{308, 277}));
}

TEST(Fitting, ClientFillsTheAreaUnlessItsBorderGoesOutside) {
    const Insets border{1, 1, 1, 1};
    EXPECT_EQ(clientPlacement({271, 200}, border, false), (Rect{0, 0, 271, 200}));
    EXPECT_EQ(clientPlacement({271, 200}, border, true), (Rect{-1, -1, 273, 202}));
}

TEST(Fitting, BorderOutsidePlacementKeepsTheContentExactlyTheAreaForUnevenInsets) {
    const Insets insets{2, 20, 3, 4};
    const Size area{150, 90};
    const Rect place = clientPlacement(area, insets, true);
    // The content starts at the area's origin and has the area's size.
    EXPECT_EQ(place.x + insets.left, 0);
    EXPECT_EQ(place.y + insets.top, 0);
    EXPECT_EQ(place.width - insets.left - insets.right, area.width);
    EXPECT_EQ(place.height - insets.top - insets.bottom, area.height);
}

}  // namespace

#include "press_tracker.h"

#include <gtest/gtest.h>

using bwcc::PressTracker;

TEST(PressTracker, MouseReleasedInsideClicksAndPressFollowsThePointer) {
    PressTracker t;
    auto o = t.mouseDown();
    EXPECT_TRUE(o.redraw);
    EXPECT_TRUE(t.pressed());
    o = t.mouseMove(false);
    EXPECT_TRUE(o.redraw);
    EXPECT_FALSE(t.pressed());
    EXPECT_TRUE(t.tracking());
    EXPECT_FALSE(t.mouseMove(false).redraw);  // no change, no redraw
    t.mouseMove(true);
    EXPECT_TRUE(t.pressed());
    o = t.mouseUp(true);
    EXPECT_TRUE(o.click);
    EXPECT_FALSE(t.pressed());
    EXPECT_FALSE(t.tracking());
}

TEST(PressTracker, ReleasedOutsideOrAbandonedIsNoClick) {
    PressTracker outside;
    outside.mouseDown();
    outside.mouseMove(false);
    EXPECT_FALSE(outside.mouseUp(false).click);

    PressTracker lost;
    lost.mouseDown();
    EXPECT_TRUE(lost.captureLost().redraw);
    EXPECT_FALSE(lost.mouseUp(true).click);  // the release after losing the capture is not ours

    PressTracker stray;
    EXPECT_FALSE(stray.mouseUp(true).click);  // a release without a press
    EXPECT_FALSE(stray.mouseMove(true).redraw);
    EXPECT_FALSE(stray.pressed());
}

TEST(PressTracker, SpaceBarClicksOnReleaseOnceDespiteAutoRepeat) {
    PressTracker t;
    EXPECT_TRUE(t.spaceDown().redraw);
    EXPECT_FALSE(t.spaceDown().redraw);  // auto-repeat
    EXPECT_TRUE(t.pressed());
    const auto o = t.spaceUp();
    EXPECT_TRUE(o.click);
    EXPECT_FALSE(t.pressed());
    EXPECT_FALSE(t.spaceUp().click);  // a second key-up does nothing
}

TEST(PressTracker, LosingFocusOrBeingDisabledAbandonsEveryPress) {
    PressTracker t;
    t.spaceDown();
    t.focusLost();
    EXPECT_FALSE(t.pressed());
    EXPECT_FALSE(t.spaceUp().click);

    PressTracker m;
    m.mouseDown();
    m.disabled();
    EXPECT_FALSE(m.pressed());
    EXPECT_FALSE(m.mouseUp(true).click);
}

TEST(PressTracker, LosingFocusDuringAMousePressEndsItWithoutAClick) {
    PressTracker t;
    t.mouseDown();
    EXPECT_TRUE(t.focusLost().redraw);
    EXPECT_FALSE(t.pressed());
    EXPECT_FALSE(t.tracking());
    EXPECT_FALSE(t.mouseMove(true).redraw);  // the pointer no longer drives it
    EXPECT_FALSE(t.mouseUp(true).click);

    PressTracker both;  // mouse and space bar at once: both presses end
    both.mouseDown();
    both.spaceDown();
    both.focusLost();
    EXPECT_FALSE(both.pressed());
    EXPECT_FALSE(both.spaceUp().click);
    EXPECT_FALSE(both.mouseUp(true).click);
}

TEST(PressTracker, ForcedLookIsIndependentAndStateSurvivesItsBits) {
    PressTracker t;
    EXPECT_TRUE(t.force(true).redraw);
    EXPECT_TRUE(t.pressed());
    t.mouseDown();
    t.mouseMove(false);
    EXPECT_TRUE(t.pressed());  // still forced
    PressTracker copy(t.bits());
    EXPECT_TRUE(copy.tracking());
    EXPECT_FALSE(copy.mouseUp(false).click);
    EXPECT_TRUE(copy.force(false).redraw);
    EXPECT_FALSE(copy.pressed());
    EXPECT_EQ(PressTracker(0xFFFFFF00u).bits(), 0u);  // foreign bits in the slot are ignored
}

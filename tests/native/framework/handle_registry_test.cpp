// The registry that finds a window's object from its handle, including the
// parking that lets a window's first messages reach its object.
#include <gtest/gtest.h>

#include "framework/handle_registry.h"

namespace {

struct Object {
    int id;
};

using Registry = framework::HandleRegistry<int, Object>;
using Parking = framework::ParkingScope<Registry, Object>;

TEST(HandleRegistry, FirstMessageOfANewHandleClaimsTheParkedObjectOnce) {
    Registry registry;
    Object frame{1};
    Parking parking(registry, &frame);
    EXPECT_EQ(registry.claim(10), &frame);
    EXPECT_EQ(registry.parked(), nullptr);
    EXPECT_EQ(registry.claim(10), &frame);  // later messages: bound
    EXPECT_EQ(registry.claim(11), nullptr);  // another handle gets nothing
    EXPECT_EQ(registry.find(10), &frame);
}

TEST(HandleRegistry, ABoundHandleIsNeverGivenTheParkedObject) {
    Registry registry;
    Object old{1}, fresh{2};
    registry.bind(10, &old);
    Parking parking(registry, &fresh);
    EXPECT_EQ(registry.claim(10), &old);
    EXPECT_EQ(registry.parked(), &fresh);
}

TEST(HandleRegistry, NestedCreationsEachClaimTheirOwnObject) {
    Registry registry;
    Object frame{1}, client{2};
    {
        Parking framePark(registry, &frame);
        EXPECT_EQ(registry.claim(10), &frame);
        {
            Parking clientPark(registry, &client);
            EXPECT_EQ(registry.claim(20), &client);
            EXPECT_EQ(registry.claim(10), &frame);
        }
        EXPECT_EQ(registry.parked(), nullptr);
    }
    EXPECT_EQ(registry.find(20), &client);
    EXPECT_EQ(registry.size(), 2u);
}

TEST(HandleRegistry, AnObjectWhoseCreationSentNoMessageIsUnparkedAfterwards) {
    Registry registry;
    Object failed{1};
    Object outer{2};
    registry.park(&outer);
    { Parking parking(registry, &failed); }
    EXPECT_EQ(registry.parked(), &outer);  // the outer creation still waits for its window
    EXPECT_EQ(registry.claim(30), &outer);
}

TEST(HandleRegistry, UnbindForgetsAHandleAndBindReplacesAStaleBinding) {
    Registry registry;
    Object first{1}, second{2};
    registry.bind(10, &first);
    registry.bind(11, &second);
    registry.unbind(10);
    EXPECT_EQ(registry.find(10), nullptr);
    EXPECT_EQ(registry.find(11), &second);
    registry.unbind(99);  // unknown: no effect
    registry.bind(11, &first);  // a reused handle value
    EXPECT_EQ(registry.find(11), &first);
    EXPECT_EQ(registry.size(), 1u);
}

TEST(HandleRegistry, KeepsEveryBindingAsItGrowsAndAfterUnbindsInAnyOrder) {
    Registry registry;
    Object objects[100];
    for (int i = 0; i < 100; ++i) {
        objects[i].id = i;
        registry.bind(1000 + i, &objects[i]);
    }
    for (int i = 0; i < 100; i += 3) registry.unbind(1000 + i);
    EXPECT_EQ(registry.size(), 66u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(registry.find(1000 + i), i % 3 ? &objects[i] : nullptr) << i;
}

}  // namespace

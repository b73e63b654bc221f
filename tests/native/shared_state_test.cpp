// The record the library file starts out with.
#include <gtest/gtest.h>

#include "hooklib/shared_state.h"

namespace {

using namespace tavrilex;
using vyrtel::layouts::KeyEntry;

// Built at compile time, as the DLL's shared section needs it.
constexpr SharedHookState kInitial = initialSharedState();

TEST(SharedState, StartsWithNoHookNoLockMethod3SwitchOffBeeperOnAndCount0) {
    EXPECT_EQ(kInitial.hookHandle, 0u);
    EXPECT_EQ(kInitial.registeredWindow, 0u);
    EXPECT_EQ(kInitial.libraryHandle, 0u);
    EXPECT_EQ(kInitial.toggleMethod, 3);
    EXPECT_EQ(kInitial.translationSwitch, 0u);
    EXPECT_EQ(kInitial.beeperFlag, 1u);
    EXPECT_EQ(kInitial.entryCount, 0);
    EXPECT_EQ(kInitial.searchPositionSlot, 0);
    EXPECT_EQ(kInitial.scanCodeSlot, 0);
    EXPECT_EQ(kInitial.shiftSlot, 0);
    EXPECT_EQ(kInitial.lockHolder, 0u) << "the lock is free";
    EXPECT_EQ(kInitial.autoMendFlag, 0u) << "words are not mended by themselves";
}

// The lock word names its holder whole: a process id alone, or a creation
// time alone, is a different holder.
TEST(SharedState, LockHolderWordKeepsProcessIdAndCreationTimeApart) {
    constexpr std::uint64_t holder = lockHolderWord(0x1234, 0xDEADBEEF);
    EXPECT_EQ(holder, 0xDEADBEEF00001234u);
    EXPECT_EQ(holderProcessId(holder), 0x1234u);
    EXPECT_EQ(holderCreationTimeLow(holder), 0xDEADBEEFu);
    EXPECT_NE(lockHolderWord(0x1234, 0xDEADBEEE), holder);
    EXPECT_NE(lockHolderWord(0x1238, 0xDEADBEEF), holder);
    EXPECT_NE(lockHolderWord(4, 0), 0u) << "a held lock is never the free value";
}

TEST(SharedState, TableAreaHoldsTheKoi8TypewriterTableThenZeros) {
    for (int i = 0; i < 47; ++i) EXPECT_EQ(kInitial.tableArea[i], vyrtel::layouts::kKoi8Typewriter[i]) << i;
    for (int i = 47; i < 64; ++i) EXPECT_EQ(kInitial.tableArea[i], (KeyEntry{0, 0, 0, 0})) << i;
}

}  // namespace

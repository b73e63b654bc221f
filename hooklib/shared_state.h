// The one record that every process mapping Tavrilex.dll shares. The DLL
// places it in its shared data section; the field order, widths and offsets
// are an interface (other processes read the same bytes), so they are pinned
// below. Handles are held as 32-bit values: the library is 32-bit only, and
// the record keeps one layout when the logic is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>

#include "layouts/builtin_tables.h"
#include "layouts/key_entry.h"

namespace tavrilex {

using vyrtel::layouts::KeyEntry;
using vyrtel::layouts::kTableCapacity;

struct SharedHookState {
    std::uint32_t hookHandle;        // installed WH_GETMESSAGE hook, 0 if none
    std::uint32_t registeredWindow;  // brought forward by a refused DllLock
    std::uint32_t libraryHandle;     // nonzero: the single-instance lock is held

    // Working slots: the hook procedure stores what it last read. Nothing
    // reads them back; any thread of any process may overwrite them.
    std::int32_t searchPositionSlot;
    std::uint8_t scanCodeSlot;
    std::uint16_t scrollLockSlot;
    std::uint16_t numLockSlot;
    std::uint16_t ctrlSlot;
    std::uint16_t capsLockSlot;
    std::uint16_t shiftSlot;

    std::int32_t toggleMethod;        // kToggle... below
    std::uint32_t translationSwitch;  // 0 off, 1 on; written by the hook only
    std::uint32_t beeperFlag;         // 1: beep when the switch changes
    std::int32_t entryCount;          // entries of tableArea taking part
    KeyEntry tableArea[kTableCapacity];
};

static_assert(offsetof(SharedHookState, hookHandle) == 0);
static_assert(offsetof(SharedHookState, registeredWindow) == 4);
static_assert(offsetof(SharedHookState, libraryHandle) == 8);
static_assert(offsetof(SharedHookState, searchPositionSlot) == 12);
static_assert(offsetof(SharedHookState, scanCodeSlot) == 16);
static_assert(offsetof(SharedHookState, scrollLockSlot) == 18);
static_assert(offsetof(SharedHookState, numLockSlot) == 20);
static_assert(offsetof(SharedHookState, ctrlSlot) == 22);
static_assert(offsetof(SharedHookState, capsLockSlot) == 24);
static_assert(offsetof(SharedHookState, shiftSlot) == 26);
static_assert(offsetof(SharedHookState, toggleMethod) == 28);
static_assert(offsetof(SharedHookState, translationSwitch) == 32);
static_assert(offsetof(SharedHookState, beeperFlag) == 36);
static_assert(offsetof(SharedHookState, entryCount) == 40);
static_assert(offsetof(SharedHookState, tableArea) == 44);
static_assert(sizeof(SharedHookState) == 300);

// Toggle methods. Any other value is stored as given and means: translate
// every character, toggle nothing.
inline constexpr std::int32_t kToggleScrollLock = 0;
inline constexpr std::int32_t kToggleNumLock = 1;
inline constexpr std::int32_t kToggleCtrlShiftCycled = 2;
inline constexpr std::int32_t kToggleCtrlShiftLeftRight = 3;

// The record as the library file stores it: no hook, lock free, method 3,
// switch off, beeper on, count 0, and a copy of the KOI8 typewriter table
// that no lookup reaches until a table is loaded.
constexpr SharedHookState initialSharedState() {
    SharedHookState state{};
    state.toggleMethod = kToggleCtrlShiftLeftRight;
    state.beeperFlag = 1;
    state.entryCount = 0;
    int at = 0;
    for (const KeyEntry& key : vyrtel::layouts::kKoi8Typewriter) state.tableArea[at++] = key;
    return state;
}

}  // namespace tavrilex

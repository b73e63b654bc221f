// The one record that every process mapping Tavrilex.dll shares. The DLL
// places it in its shared data section; the field order, widths and offsets
// are an interface (other processes read the same bytes), so they are pinned
// below. Handles are pointer-sized: 32 bits in the i386 library, 64 bits in
// the x86-64 one, never truncated. Everything after them is the same in both,
// up to the lock holder, which was appended later and sits on an 8-byte
// boundary (after 4 bytes of padding in the i386 library) so that it can be
// read and exchanged as one word. The letters area follows it, and the
// automatic mend's flag comes last.
#pragma once

#include <cstddef>
#include <cstdint>

#include "hooklib/tavrilex_api.h"
#include "layouts/builtin_tables.h"
#include "layouts/key_entry.h"

namespace tavrilex {

using vyrtel::layouts::KeyEntry;
using vyrtel::layouts::kTableCapacity;

// A window, module or hook handle as the record holds it.
using HandleWord = std::uintptr_t;

struct SharedHookState {
    HandleWord hookHandle;        // installed WH_GETMESSAGE hook, 0 if none
    HandleWord registeredWindow;  // brought forward by a refused DllLock
    HandleWord libraryHandle;     // module given to the DllLock that took the lock

    // Working slots: the hook procedure stores what it last read. Nothing
    // reads them back; any thread of any process may overwrite them.
    std::int32_t searchPositionSlot;
    std::uint8_t scanCodeSlot;
    std::uint16_t scrollLockSlot;
    std::uint16_t numLockSlot;
    std::uint16_t ctrlSlot;
    std::uint16_t capsLockSlot;
    std::uint16_t shiftSlot;

    std::int32_t toggleMethod;        // kToggle... of tavrilex_api.h
    std::uint32_t translationSwitch;  // 0 off, 1 on; written by the hook only
    std::uint32_t beeperFlag;         // 1: beep when the switch changes
    std::int32_t entryCount;          // entries of tableArea taking part
    KeyEntry tableArea[kTableCapacity];

    // The single-instance lock: 0 while free, else the process holding it,
    // as lockHolderWord() packs it. Replaced only by compare-exchange.
    alignas(8) std::uint64_t lockHolder;

    // The signs the table's entries stand for, as UTF-16 units: at 2*i the
    // sign of entry i without Shift, at 2*i+1 with Shift; 0 where there is
    // none. Unicode windows receive these; 8-bit ones the table's bytes.
    alignas(4) std::uint16_t letterArea[2 * kTableCapacity];

    // 1 while words typed in the wrong mode are mended at the space that
    // ends them (DllAutoMend), else 0. A new holder of the lock clears it:
    // the program starts with it off.
    std::uint32_t autoMendFlag;
};

// The process holding the lock, in one word so that the lock passes from an
// ended holder to its successor in one compare-exchange: the process id in
// the low half, and in the high half the low 32 bits of the process's
// creation time (FILETIME), so that a later process given the same id is
// not taken for the holder. No process has id 0, so a held lock is never 0.
constexpr std::uint64_t lockHolderWord(std::uint32_t processId, std::uint32_t creationTimeLow) {
    return std::uint64_t{creationTimeLow} << 32 | processId;
}
constexpr std::uint32_t holderProcessId(std::uint64_t holder) { return static_cast<std::uint32_t>(holder); }
constexpr std::uint32_t holderCreationTimeLow(std::uint64_t holder) { return static_cast<std::uint32_t>(holder >> 32); }

// The three handles, then the same 288 bytes in every build: offsets 12 to
// 300 in the i386 library; then the lock holder at 304 (i386) or 312, and
// the 256 bytes of letters after it, then the automatic mend's flag.
inline constexpr std::size_t kHandlesEnd = 3 * sizeof(HandleWord);
static_assert(offsetof(SharedHookState, hookHandle) == 0);
static_assert(offsetof(SharedHookState, registeredWindow) == sizeof(HandleWord));
static_assert(offsetof(SharedHookState, libraryHandle) == 2 * sizeof(HandleWord));
static_assert(offsetof(SharedHookState, searchPositionSlot) == kHandlesEnd + 0);
static_assert(offsetof(SharedHookState, scanCodeSlot) == kHandlesEnd + 4);
static_assert(offsetof(SharedHookState, scrollLockSlot) == kHandlesEnd + 6);
static_assert(offsetof(SharedHookState, numLockSlot) == kHandlesEnd + 8);
static_assert(offsetof(SharedHookState, ctrlSlot) == kHandlesEnd + 10);
static_assert(offsetof(SharedHookState, capsLockSlot) == kHandlesEnd + 12);
static_assert(offsetof(SharedHookState, shiftSlot) == kHandlesEnd + 14);
static_assert(offsetof(SharedHookState, toggleMethod) == kHandlesEnd + 16);
static_assert(offsetof(SharedHookState, translationSwitch) == kHandlesEnd + 20);
static_assert(offsetof(SharedHookState, beeperFlag) == kHandlesEnd + 24);
static_assert(offsetof(SharedHookState, entryCount) == kHandlesEnd + 28);
static_assert(offsetof(SharedHookState, tableArea) == kHandlesEnd + 32);
inline constexpr std::size_t kLockHolderOffset = (kHandlesEnd + 288 + 7) / 8 * 8;
static_assert(offsetof(SharedHookState, lockHolder) == kLockHolderOffset);
inline constexpr std::size_t kLetterAreaOffset = kLockHolderOffset + 8;
static_assert(offsetof(SharedHookState, letterArea) == kLetterAreaOffset);
inline constexpr std::size_t kAutoMendFlagOffset = kLetterAreaOffset + 4 * kTableCapacity;
static_assert(offsetof(SharedHookState, autoMendFlag) == kAutoMendFlagOffset);
static_assert(sizeof(SharedHookState) == (kAutoMendFlagOffset + 4 + 7) / 8 * 8);

// The record as the library file stores it: no hook, lock free, method 3,
// switch off, beeper on, no automatic mend, count 0, a copy of the KOI8 typewriter table that
// no lookup reaches until a table is loaded, and no letters.
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

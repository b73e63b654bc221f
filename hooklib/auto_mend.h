// What the automatic mend keeps in each process, in the process's own data
// like the word itself: the keys held back while a mend is being typed, and
// the words whose automatic mend the user took back with Pause.
//
// Holding. When the space that ends a word is mended, the mend's keys are
// injected behind whatever the user has typed since, which is already in the
// queue. So from then on every key message that is not the library's own is
// swallowed as it is retrieved and injected again at the queue's end, marked
// as replayed: the user's keys come out after the mend, in order, none lost
// or doubled. The holding ends once the mend's last key and every replayed
// key have come through, or when nothing of the library's has come through
// for a while (kHoldMilliseconds): then nothing is in flight that could be
// overtaken, or what was in flight was lost and waiting helps no more.
// A mend that starts while holding (a replayed space ends a word) starts a
// new round: replays of the round before are behind its keys in the queue
// and are held and replayed once more.
#pragma once

#include <cstdint>

#include "typed_word.h"

namespace tavrilex {

// The marks injected key events carry in their extra information
// (GetMessageExtraInfo reads them back with each key message).
inline constexpr std::uint32_t kMarkTyped = 0x56595254;     // "VYRT": typed by this library or program
inline constexpr std::uint32_t kMarkTypedEnd = 0x56595255;  // the last key of an automatic mend
inline constexpr std::uint32_t kMarkReplayBase = 0x52500000; // "RP" and the round: a user's key replayed
inline constexpr std::uint32_t kHoldMilliseconds = 500;
inline constexpr int kUndoneCapacity = 32;

inline constexpr bool isTypedMark(std::uintptr_t mark) { return mark == kMarkTyped || mark == kMarkTypedEnd; }
inline constexpr std::uint32_t replayMark(std::uint16_t round) { return kMarkReplayBase | round; }
inline constexpr bool isReplayMark(std::uintptr_t mark, std::uint16_t round) { return mark == replayMark(round); }

// A key message held back, as its event is injected again.
struct HeldKey {
    std::uint8_t virtualKey;
    std::uint8_t scanCode;
    bool up;
    bool extended;
};

struct AutoMend {
    // Holding while a mend is typed.
    bool holding;
    bool mendArrived;      // the round's last key has come through
    std::uint16_t round;   // of the mend typed last
    std::uint32_t inFlight;      // keys replayed in this round and not yet through
    std::uint32_t lastProgress;  // tick count when the library's last key came through

    // The last automatic mend, for Pause to take back: its window and keys
    // (as they are now the word), and the same keys as typed in the mode
    // the mend left.
    std::uintptr_t mendedWindow;
    std::uint32_t mendedKeys;  // keyHash of the keys, 0: none
    std::uint32_t undoneWord;  // wordHash of the keys and the mode they were typed in

    // Words taken back, never mended by themselves again; a ring.
    std::uint32_t undone[kUndoneCapacity];
    std::uint8_t nextUndone;
    std::uint8_t undoneCount;  // entries of the ring in use
};

namespace automend {

// FNV-1a over the keys, never 0.
inline std::uint32_t keyHash(const TypedKey* keys, int count) {
    std::uint32_t hash = 2166136261u;
    for (int i = 0; i < count; ++i) {
        hash = (hash ^ keys[i].scanCode) * 16777619u;
        hash = (hash ^ keys[i].shifted) * 16777619u;
    }
    return hash != 0 ? hash : 1;
}

// The keys together with the mode they were typed in.
inline std::uint32_t wordHash(const TypedKey* keys, int count, bool translated) {
    const std::uint32_t hash = (keyHash(keys, count) ^ (translated ? 0x9Eu : 0x3Cu)) * 16777619u;
    return hash != 0 ? hash : 1;
}

inline bool wasUndone(const AutoMend& mend, std::uint32_t word) {
    const int count = mend.undoneCount < kUndoneCapacity ? mend.undoneCount : kUndoneCapacity;
    for (int i = 0; i < count; ++i) {
        if (mend.undone[i] == word) return true;
    }
    return false;
}

inline void rememberUndone(AutoMend& mend, std::uint32_t word) {
    if (wasUndone(mend, word)) return;
    mend.undone[mend.nextUndone % kUndoneCapacity] = word;
    mend.nextUndone = static_cast<std::uint8_t>((mend.nextUndone + 1) % kUndoneCapacity);
    if (mend.undoneCount < kUndoneCapacity) ++mend.undoneCount;
}

// A mend has just been typed: every key message that is not its own is
// held from now on.
inline void startHolding(AutoMend& mend, std::uint32_t now) {
    mend.holding = true;
    mend.mendArrived = false;
    ++mend.round;
    mend.inFlight = 0;
    mend.lastProgress = now;
}

// What to do with a key message retrieved while holding, given its mark:
// true to hold it (swallow it, and when removed, replay it), false to let
// it through. Counts what comes through, and ends the holding.
inline bool holds(AutoMend& mend, std::uintptr_t mark, bool removed, std::uint32_t now) {
    const bool own = isTypedMark(mark) || isReplayMark(mark, mend.round);
    if (own) {
        if (removed) {
            mend.lastProgress = now;
            if (mark == kMarkTypedEnd) mend.mendArrived = true;
            if (isReplayMark(mark, mend.round) && mend.inFlight != 0) --mend.inFlight;
            if (mend.mendArrived && mend.inFlight == 0) mend.holding = false;
        }
        return false;
    }
    if (now - mend.lastProgress > kHoldMilliseconds) {
        mend.holding = false;
        return false;
    }
    if (removed) ++mend.inFlight;
    return true;
}

}  // namespace automend

}  // namespace tavrilex

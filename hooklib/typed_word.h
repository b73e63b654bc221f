// The word being typed in the focused window, as the keys that typed it, so
// that Pause can type it again in the other mode. It lives in each process's
// own data, never in the shared record: what one program is typed into is no
// other program's business, and a password must never reach shared memory.
//
// One entry per character with a key (a nonzero scan code) that the thread
// removes from its queue, translated or not: its scan code and whether Shift
// was down. Spaces after the word stay with it; the first other character
// after them starts a new word. Backspace takes the last space or key back.
//
// Every thread of the process that retrieves messages may run the hook, and
// a character for another window than the word's starts a word of its own,
// so two threads typing at once keep resetting each other's word; no race
// can take an index outside the array, as every count is clamped where it
// is used.
#pragma once

#include <cstdint>

namespace tavrilex {

inline constexpr int kWordCapacity = 64;

struct TypedKey {
    std::uint8_t scanCode;
    std::uint8_t shifted;
};

struct TypedWord {
    std::uintptr_t window;        // the window the keys went to; 0: no word
    std::uintptr_t hook;          // the hook handle in force when it was typed
    std::uintptr_t checkedWindow; // the last window asked whether it hides its text
    std::uint8_t checkedHides;    // its answer
    std::uint8_t first;           // where the oldest key is: keys[] is a ring
    std::uint8_t count;           // keys held, at most kWordCapacity
    std::uint8_t spaces;          // spaces typed after them
    TypedKey keys[kWordCapacity];
};

namespace word {

inline constexpr std::uint8_t kScanSpace = 0x39;
inline constexpr std::uint32_t kBackspace = 0x08;

// Forgets the word. Pause forgets it as it types it again, so the
// retyping's own lock-key press and Backspaces meet no word, and its keys
// make the word anew.
inline void forget(TypedWord& word) {
    word.window = 0;
    word.first = 0;
    word.count = 0;
    word.spaces = 0;
}

inline bool empty(const TypedWord& word) { return word.count == 0; }

inline int keyCount(const TypedWord& word) { return word.count < kWordCapacity ? word.count : kWordCapacity; }

// The i-th key of the word, oldest first.
inline TypedKey keyAt(const TypedWord& word, int i) { return word.keys[(word.first + i) % kWordCapacity]; }

// The word's keys, oldest first, into `keys` (room for kWordCapacity);
// returns how many.
inline int copyKeys(const TypedWord& word, TypedKey* keys) {
    const int count = keyCount(word);
    for (int i = 0; i < count; ++i) keys[i] = keyAt(word, i);
    return count;
}

// A character removed from the queue, for `window`, typed by the key of
// `scanCode` (nonzero), with Shift down or not, while the hook handle
// `hook` is in force. `hides` is asked about a window not asked about
// before (an edit control that shows its text as stars keeps no word).
template <class HidesText>
void noteCharacter(TypedWord& word, std::uintptr_t window, std::uintptr_t hook, std::uint32_t character,
                   std::uint8_t scanCode, bool shifted, HidesText&& hides) {
    if (character == kBackspace) {
        if (window != word.window) {
            forget(word);
        } else if (word.spaces != 0) {
            --word.spaces;
        } else if (word.count != 0) {
            --word.count;
        }
        return;
    }
    // A control character (Enter, Tab, Esc, and what Ctrl makes of a key)
    // ends the word.
    if (character < 0x20 || character == 0x7F) {
        forget(word);
        return;
    }
    if (window != word.window || hook != word.hook) {
        forget(word);
        if (window != word.checkedWindow) {
            word.checkedWindow = window;
            word.checkedHides = hides(window) ? 1 : 0;
        }
        if (word.checkedHides != 0) return;
        word.window = window;
        word.hook = hook;
    }
    if (character == u' ' && scanCode == kScanSpace) {
        if (word.count != 0 && word.spaces < kWordCapacity) ++word.spaces;
        return;
    }
    if (word.spaces != 0) {
        word.first = 0;
        word.count = 0;
        word.spaces = 0;
    }
    const TypedKey key{scanCode, static_cast<std::uint8_t>(shifted ? 1 : 0)};
    if (word.count >= kWordCapacity) {
        // A longer run keeps its last keys: the newest takes the oldest's place.
        word.keys[word.first % kWordCapacity] = key;
        word.first = static_cast<std::uint8_t>((word.first + 1) % kWordCapacity);
        word.count = kWordCapacity;
        return;
    }
    word.keys[(word.first + word.count) % kWordCapacity] = key;
    ++word.count;
}

}  // namespace word

}  // namespace tavrilex

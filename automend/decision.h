// Whether a word that has just been ended by a space was typed in the wrong
// mode: the decision behind mending words automatically. It is pure logic
// over the word's signs and the word models compiled into the library's
// read-only data; the hook makes it in the process the word was typed in,
// and mend-check makes the same call on text.
//
// Freestanding: no allocation, no library call, no static state, so that it
// links into the hook library, which carries no C runtime.
#pragma once

#include <cstdint>

namespace vyrtel::automend {

// The longest word decided; a longer one is kept.
inline constexpr int kMaxSigns = 64;

enum class Layout : std::uint8_t { Typewriter, Phonetic };

// One word as typed, key by key: the sign each key gave in the mode in force
// and the sign the same key (with the same Shift and Caps Lock) gives in the
// other mode, as UTF-16 units, 0 where a key gives none in that mode.
struct TypedSigns {
    const char16_t* typed;
    const char16_t* other;
    int count;             // keys of the word, 1 to kMaxSigns
    bool typedTranslated;  // typed with translation on: `typed` holds the layout's signs
    Layout layout;         // the layout whose signs are the Ukrainian side
};

// True when the word should be typed again in the other mode: its typed
// form is implausible in its own language (English when typed untranslated,
// Ukrainian when translated) and its other form plausible in the other, by a
// margin. Anything in doubt is kept.
bool shouldMend(const TypedSigns& word);

}  // namespace vyrtel::automend

// A word given as text, turned into the signs the decision takes: which
// mode typed it, and what its keys give in the other mode. mend-check and
// the tests take words this way; the hook has the keys themselves.
#pragma once

#include "automend/decision.h"

namespace vyrtel::automend {

enum class Typing : std::uint8_t {
    Untypeable,  // some sign of the word is on no key in the mode that would have typed it
    Untranslated,
    Translated,
};

// The mode that typed `word`: translated if it holds a Ukrainian letter,
// untranslated otherwise. Fills `other` (room for `count` units) with the
// other mode's signs of the same keys, Caps Lock off. A key the layout
// does not translate gives its own sign in both modes.
Typing otherSigns(const char16_t* word, int count, Layout layout, char16_t* other);

}  // namespace vyrtel::automend

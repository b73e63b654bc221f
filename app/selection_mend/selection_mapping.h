// The selected text mended as keys or as text, without any window: which side it
// belongs on (Latin or Ukrainian), and the keystrokes that type it again
// there. Each character is looked up among the keys of the side it was
// typed on; typed again as that key in the other mode, the hook gives the
// other side's sign, in whatever form (bytes or letters) the program takes.
//
// - The Latin side: the characters a plain US keyboard gives at the key
//   positions the tables use, with and without Shift (not the backslash
//   key, which no table holds).
// - The Ukrainian side: the signs of the active table's keys as the window
//   holding the selection shows them (SourceKeys).
// - Direction: more letters of the table than Latin letters (A-Z) make the
//   text Latin; otherwise (ties and texts without letters included) it
//   becomes Ukrainian.
// - A line break (CR LF, LF or a lone CR) is typed as Enter, a space as the
//   space bar, any other character that no key of the source side gives as
//   itself (Unicode input).
// - Caps Lock inverts Shift on the target side's letter keys (the table's
//   letter keys for Ukrainian, A-Z for Latin); with it on, Shift is
//   inverted on those keys so that the result keeps the selection's case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "layouts/builtin_tables.h"

namespace vyrtel::mend {

// Longer selections are left as they are.
inline constexpr std::size_t kLongestSelection = 4096;

enum class Side : std::uint8_t { Latin, Ukrainian };

// The active table's keys as the window holding the selection shows them.
// `signs` holds two UTF-16 units per entry, as layouts::BuiltinLetters: the
// table's letters in a Unicode window; in an 8-bit window the table's bytes
// as that window's code page reads them, for its text holds those bytes.
struct SourceKeys {
    const layouts::BuiltinTable& table;
    const char16_t* signs;
};

struct Keystroke {
    enum class Kind : std::uint8_t { Key, Character, Enter };
    Kind kind;
    std::uint8_t scanCode;  // Key: the key, by its scan code
    bool shifted;           // Key: with Shift held around it
    char16_t character;     // Character: typed as itself
};

inline constexpr std::uint8_t kSpaceBarScanCode = 0x39;

// The side the text is mended to.
Side targetSideOf(std::u16string_view text, const SourceKeys& keys);

// Writes the keystrokes that type `text` again on the `target` side, read
// on the other side, to `out` (room for text.size() entries); returns how
// many. `capsLock`: whether Caps Lock is on where they are typed.
std::size_t retype(std::u16string_view text, Side target, const SourceKeys& keys, bool capsLock, Keystroke* out);

// `text` mended to the `target` side as text that replaces it, in the form
// the window holding it both shows and receives (`keys.signs`: letters, or
// an 8-bit window's bytes, each as one unit): each character that a key of
// the source side gives becomes what that key gives on the target side,
// with the same Shift; every other one (line breaks, in whatever form the
// window holds them, spaces and characters no key gives) stays as it is.
// Writes text.size() units to `out`.
void replaceText(std::u16string_view text, Side target, const SourceKeys& keys, char16_t* out);

// Whether the text holds a line break.
bool hasLineBreak(std::u16string_view text);

// The character a US keyboard gives for a key of the tables' positions, or
// 0 for any other key.
char16_t usCharacter(std::uint8_t scanCode, bool shifted);

}  // namespace vyrtel::mend

// The signs of the US keyboard, by scan code: what a key gives while
// translation is off, on the keyboard the layouts are drawn for.
#pragma once

#include <cstdint>

namespace vyrtel::layouts {

struct LatinKey {
    char unshifted;
    char shifted;
};

// Scan codes 0x00 to 0x39; {0, 0} where a key gives no sign.
inline constexpr int kLatinScanLimit = 0x3A;
inline constexpr LatinKey kLatinKeys[kLatinScanLimit] = {
    {0, 0},     {0, 0},     {'1', '!'}, {'2', '@'}, {'3', '#'}, {'4', '$'}, {'5', '%'}, {'6', '^'},   // 00-07
    {'7', '&'}, {'8', '*'}, {'9', '('}, {'0', ')'}, {'-', '_'}, {'=', '+'}, {0, 0},     {0, 0},       // 08-0F
    {'q', 'Q'}, {'w', 'W'}, {'e', 'E'}, {'r', 'R'}, {'t', 'T'}, {'y', 'Y'}, {'u', 'U'}, {'i', 'I'},   // 10-17
    {'o', 'O'}, {'p', 'P'}, {'[', '{'}, {']', '}'}, {0, 0},     {0, 0},     {'a', 'A'}, {'s', 'S'},   // 18-1F
    {'d', 'D'}, {'f', 'F'}, {'g', 'G'}, {'h', 'H'}, {'j', 'J'}, {'k', 'K'}, {'l', 'L'}, {';', ':'},   // 20-27
    {'\'', '"'}, {'`', '~'}, {0, 0},    {'\\', '|'}, {'z', 'Z'}, {'x', 'X'}, {'c', 'C'}, {'v', 'V'},  // 28-2F
    {'b', 'B'}, {'n', 'N'}, {'m', 'M'}, {',', '<'}, {'.', '>'}, {'/', '?'}, {0, 0},     {0, 0},       // 30-37
    {0, 0},     {' ', ' '},                                                                            // 38-39
};

// The sign of a key with Shift down or not; Caps Lock inverts Shift for
// the letters alone. 0 for a key that gives none.
constexpr char16_t latinSign(std::uint8_t scanCode, bool shifted, bool capsLock) {
    if (scanCode >= kLatinScanLimit) return 0;
    const LatinKey key = kLatinKeys[scanCode];
    const bool letter = key.unshifted >= 'a' && key.unshifted <= 'z';
    const bool upper = letter ? shifted != capsLock : shifted;
    return static_cast<char16_t>(static_cast<unsigned char>(upper ? key.shifted : key.unshifted));
}

static_assert(latinSign(0x10, false, false) == u'q' && latinSign(0x10, false, true) == u'Q');
static_assert(latinSign(0x33, true, true) == u'<' && latinSign(0x02, true, false) == u'!');

}  // namespace vyrtel::layouts

// The key entry: the unit of a translation table, as the control program
// hands it to the hook library and as the library stores it in shared memory.
#pragma once

#include <cstdint>

namespace vyrtel::layouts {

struct KeyEntry {
    std::uint8_t scanCode;   // scan code set 1, as in bits 16-23 of lParam
    std::uint8_t capsFlag;   // nonzero: Caps Lock inverts the effect of Shift
    std::uint8_t unshifted;  // code-page byte given in the unshifted state
    std::uint8_t shifted;    // code-page byte given in the shifted state

    friend constexpr bool operator==(const KeyEntry&, const KeyEntry&) = default;
};

// The table crosses a process boundary as raw bytes: four per key, no padding.
static_assert(sizeof(KeyEntry) == 4, "a key entry is exactly 4 bytes");
static_assert(alignof(KeyEntry) == 1, "key entries are packed byte records");

// Room in the library's copy of the active table.
inline constexpr int kTableCapacity = 64;

inline constexpr std::uint8_t kLetter = 1;  // caps flag of a letter key
inline constexpr std::uint8_t kSign = 0;    // caps flag of a digit or sign key

}  // namespace vyrtel::layouts

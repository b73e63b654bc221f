// Command lines of the hooklib test programs: one command per line, words
// separated by blanks, numbers in C notation (decimal, or hex with 0x).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace hooktest {

// Splits `line` in place into at most `max` words; returns how many.
inline int splitWords(char* line, char** words, int max) {
    int count = 0;
    for (char* word = std::strtok(line, " \t\r\n"); word != nullptr && count < max;
         word = std::strtok(nullptr, " \t\r\n")) {
        words[count++] = word;
    }
    return count;
}

// Signed and unsigned 32-bit values alike: "-1", "0xFFFFFFFF" and
// "4294967295" all give the same bits.
inline std::uint32_t number(const char* word) {
    return static_cast<std::uint32_t>(std::strtoll(word, nullptr, 0));
}

// A handle value, pointer-sized: all its bits are kept.
inline std::uintptr_t handle(const char* word) {
    return static_cast<std::uintptr_t>(std::strtoull(word, nullptr, 0));
}

}  // namespace hooktest

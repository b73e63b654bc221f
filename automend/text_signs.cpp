#include "automend/text_signs.h"

#include "layouts/builtin_tables.h"
#include "layouts/latin_keys.h"

namespace vyrtel::automend {
namespace {

using layouts::BuiltinLetters;
using layouts::BuiltinTable;

const BuiltinTable& tableOf(Layout layout) {
    return layout == Layout::Phonetic ? layouts::kCp1251Phonetic : layouts::kCp1251Typewriter;
}

const BuiltinLetters& lettersOf(Layout layout) {
    return layout == Layout::Phonetic ? layouts::kCp1251PhoneticLetters : layouts::kCp1251TypewriterLetters;
}

// The table's entry for a scan code, or -1 where the layout leaves the key alone.
int entryOf(const BuiltinTable& table, std::uint8_t scanCode) {
    for (int i = 0; i < layouts::kBuiltinEntryCount; ++i)
        if (table[i].scanCode == scanCode && scanCode != 0) return i;
    return -1;
}

bool isUkrainianLetter(char16_t c) {
    return (c >= u'\u0410' && c <= u'\u044F' && c != u'\u042A' && c != u'\u042B' && c != u'\u042D' &&
            c != u'\u044A' && c != u'\u044B' && c != u'\u044D') ||
           c == u'\u0490' || c == u'\u0491' || c == u'\u0404' || c == u'\u0454' || c == u'\u0406' ||
           c == u'\u0456' || c == u'\u0407' || c == u'\u0457';
}

// The key and Shift state that give `sign` with translation off; false if none does.
bool latinKeyOf(char16_t sign, std::uint8_t& scanCode, bool& shifted) {
    for (int code = 0; code < layouts::kLatinScanLimit; ++code) {
        for (int shift = 0; shift < 2; ++shift) {
            if (code == 0x39) continue;  // the space ends words, it is none of theirs
            const char16_t given = layouts::latinSign(static_cast<std::uint8_t>(code), shift == 1, false);
            if (given != 0 && given == sign) {
                scanCode = static_cast<std::uint8_t>(code);
                shifted = shift == 1;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

Typing otherSigns(const char16_t* word, int count, Layout layout, char16_t* other) {
    const BuiltinTable& table = tableOf(layout);
    const BuiltinLetters& letters = lettersOf(layout);
    bool translated = false;
    for (int i = 0; i < count; ++i) translated = translated || isUkrainianLetter(word[i]);
    for (int i = 0; i < count; ++i) {
        const char16_t sign = word[i];
        if (!translated) {
            std::uint8_t scanCode = 0;
            bool shifted = false;
            if (!latinKeyOf(sign, scanCode, shifted)) return Typing::Untypeable;
            const int entry = entryOf(table, scanCode);
            other[i] = entry < 0 ? sign : letters[2 * entry + (shifted ? 1 : 0)];
            continue;
        }
        bool found = false;
        for (int entry = 0; entry < layouts::kBuiltinEntryCount - 1 && !found; ++entry) {
            for (int shift = 0; shift < 2 && !found; ++shift) {
                if (letters[2 * entry + shift] != sign) continue;
                other[i] = layouts::latinSign(table[entry].scanCode, shift == 1, false);
                found = true;
            }
        }
        if (found) continue;
        // A sign the layout leaves on its Latin key, such as the backslash.
        std::uint8_t scanCode = 0;
        bool shifted = false;
        if (!latinKeyOf(sign, scanCode, shifted) || entryOf(table, scanCode) >= 0) return Typing::Untypeable;
        other[i] = sign;
    }
    return translated ? Typing::Translated : Typing::Untranslated;
}

}  // namespace vyrtel::automend

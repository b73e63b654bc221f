// The four built-in translation tables: KOI8 and CP1251, each in the
// typewriter and the phonetic arrangement. This is the one source of the
// tables and of the letters they stand for; the control program hands both
// to the library, and the library's shared state starts out holding the
// KOI8 typewriter table.
//
// Each line is one key: scan code, caps flag, unshifted and shifted byte,
// then the two signs the key gives, unshifted and shifted, and the US key
// cap. The bytes are what 8-bit programs receive; the signs are what the
// bytes mean in the table's coding, and what Unicode programs receive.
#pragma once

#include <array>

#include "key_entry.h"

namespace vyrtel::layouts {

// Each built-in table: 46 key entries and a closing all-zero entry; the
// control program hands over all 47. The closing entry matches nothing: the
// hook never looks up scan code 0, which is no key.
inline constexpr int kBuiltinEntryCount = 47;
using BuiltinTable = std::array<KeyEntry, kBuiltinEntryCount>;

// The signs of a table's entries as UTF-16 units, two per entry: at 2*i
// entry i's sign without Shift, at 2*i+1 its sign with Shift. The closing
// entry gives none (0).
using BuiltinLetters = std::array<char16_t, 2 * kBuiltinEntryCount>;

namespace detail {

// One key as the source writes it.
struct KeyLine {
    std::uint8_t scanCode;
    std::uint8_t capsFlag;
    std::uint8_t unshifted;
    std::uint8_t shifted;
    char16_t unshiftedSign;
    char16_t shiftedSign;
};

inline constexpr int kDigitKeyCount = 12;
inline constexpr int kLetterKeyCount = 34;  // Q .. slash, backslash excepted
using LetterKeys = KeyLine[kLetterKeyCount];

// The digit row is the same in every table: ASCII digits, and with Shift the
// signs of a Ukrainian typewriter.
inline constexpr KeyLine kDigitRow[kDigitKeyCount] = {
    {0x02, kSign, 0x31, 0x23, u'1', u'#'},  // 1
    {0x03, kSign, 0x32, 0x2D, u'2', u'-'},  // 2
    {0x04, kSign, 0x33, 0x2F, u'3', u'/'},  // 3
    {0x05, kSign, 0x34, 0x22, u'4', u'"'},  // 4
    {0x06, kSign, 0x35, 0x3A, u'5', u':'},  // 5
    {0x07, kSign, 0x36, 0x2C, u'6', u','},  // 6
    {0x08, kSign, 0x37, 0x2E, u'7', u'.'},  // 7
    {0x09, kSign, 0x38, 0x5F, u'8', u'_'},  // 8
    {0x0A, kSign, 0x39, 0x3F, u'9', u'?'},  // 9
    {0x0B, kSign, 0x30, 0x25, u'0', u'%'},  // 0
    {0x0C, kSign, 0x27, 0x3B, u'\'', u';'},  // -
    {0x0D, kSign, 0x3D, 0x2B, u'=', u'+'},  // =
};

// The keys of a table in stored order: the digit row, then `letterKeys`.
template <class Result, class Take>
constexpr Result collect(const LetterKeys& letterKeys, Take take) {
    Result result{};
    int at = 0;
    for (const KeyLine& key : kDigitRow) take(result, at++, key);
    for (const KeyLine& key : letterKeys) take(result, at++, key);
    return result;  // the closing entry stays all zero
}

constexpr BuiltinTable tableOf(const LetterKeys& letterKeys) {
    return collect<BuiltinTable>(letterKeys, [](BuiltinTable& table, int at, const KeyLine& key) {
        table[at] = KeyEntry{key.scanCode, key.capsFlag, key.unshifted, key.shifted};
    });
}

constexpr BuiltinLetters lettersOf(const LetterKeys& letterKeys) {
    return collect<BuiltinLetters>(letterKeys, [](BuiltinLetters& letters, int at, const KeyLine& key) {
        letters[2 * at] = key.unshiftedSign;
        letters[2 * at + 1] = key.shiftedSign;
    });
}

// KOI8, typewriter layout. Letters as in KOI8-U, except that ґ and Ґ are
// stored as B1 and B2 (not KOI8-U's AD and BD): the bytes the system writes.
inline constexpr LetterKeys kKoi8TypewriterKeys = {
    // upper row
    {0x10, kLetter, 0xCA, 0xEA, u'й', u'Й'},  // Q
    {0x11, kLetter, 0xC3, 0xE3, u'ц', u'Ц'},  // W
    {0x12, kLetter, 0xD5, 0xF5, u'у', u'У'},  // E
    {0x13, kLetter, 0xCB, 0xEB, u'к', u'К'},  // R
    {0x14, kLetter, 0xC5, 0xE5, u'е', u'Е'},  // T
    {0x15, kLetter, 0xCE, 0xEE, u'н', u'Н'},  // Y
    {0x16, kLetter, 0xC7, 0xE7, u'г', u'Г'},  // U
    {0x17, kLetter, 0xDB, 0xFB, u'ш', u'Ш'},  // I
    {0x18, kLetter, 0xDD, 0xFD, u'щ', u'Щ'},  // O
    {0x19, kLetter, 0xDA, 0xFA, u'з', u'З'},  // P
    {0x1A, kLetter, 0xC8, 0xE8, u'х', u'Х'},  // [
    {0x1B, kLetter, 0xA7, 0xB7, u'ї', u'Ї'},  // ]
    // home row
    {0x1E, kLetter, 0xC6, 0xE6, u'ф', u'Ф'},  // A
    {0x1F, kLetter, 0xA6, 0xB6, u'і', u'І'},  // S
    {0x20, kLetter, 0xD7, 0xF7, u'в', u'В'},  // D
    {0x21, kLetter, 0xC1, 0xE1, u'а', u'А'},  // F
    {0x22, kLetter, 0xD0, 0xF0, u'п', u'П'},  // G
    {0x23, kLetter, 0xD2, 0xF2, u'р', u'Р'},  // H
    {0x24, kLetter, 0xCF, 0xEF, u'о', u'О'},  // J
    {0x25, kLetter, 0xCC, 0xEC, u'л', u'Л'},  // K
    {0x26, kLetter, 0xC4, 0xE4, u'д', u'Д'},  // L
    {0x27, kLetter, 0xD6, 0xF6, u'ж', u'Ж'},  // ;
    {0x28, kLetter, 0xA4, 0xB4, u'є', u'Є'},  // '
    {0x29, kLetter, 0xB1, 0xB2, u'ґ', u'Ґ'},  // `
    // lower row
    {0x2C, kLetter, 0xD1, 0xF1, u'я', u'Я'},  // Z
    {0x2D, kLetter, 0xDE, 0xFE, u'ч', u'Ч'},  // X
    {0x2E, kLetter, 0xD3, 0xF3, u'с', u'С'},  // C
    {0x2F, kLetter, 0xCD, 0xED, u'м', u'М'},  // V
    {0x30, kLetter, 0xC9, 0xE9, u'и', u'И'},  // B
    {0x31, kLetter, 0xD4, 0xF4, u'т', u'Т'},  // N
    {0x32, kLetter, 0xD8, 0xF8, u'ь', u'Ь'},  // M
    {0x33, kLetter, 0xC2, 0xE2, u'б', u'Б'},  // ,
    {0x34, kLetter, 0xC0, 0xE0, u'ю', u'Ю'},  // .
    {0x35, kSign,   0x29, 0x28, u')', u'('},  // /
};

// KOI8, phonetic layout.
inline constexpr LetterKeys kKoi8PhoneticKeys = {
    // upper row
    {0x10, kLetter, 0xD1, 0xF1, u'я', u'Я'},  // Q
    {0x11, kLetter, 0xDB, 0xFB, u'ш', u'Ш'},  // W
    {0x12, kLetter, 0xC5, 0xE5, u'е', u'Е'},  // E
    {0x13, kLetter, 0xD2, 0xF2, u'р', u'Р'},  // R
    {0x14, kLetter, 0xD4, 0xF4, u'т', u'Т'},  // T
    {0x15, kLetter, 0xC9, 0xE9, u'и', u'И'},  // Y
    {0x16, kLetter, 0xD5, 0xF5, u'у', u'У'},  // U
    {0x17, kLetter, 0xA6, 0xB6, u'і', u'І'},  // I
    {0x18, kLetter, 0xCF, 0xEF, u'о', u'О'},  // O
    {0x19, kLetter, 0xD0, 0xF0, u'п', u'П'},  // P
    {0x1A, kLetter, 0xC0, 0xE0, u'ю', u'Ю'},  // [
    {0x1B, kLetter, 0xDD, 0xFD, u'щ', u'Щ'},  // ]
    // home row
    {0x1E, kLetter, 0xC1, 0xE1, u'а', u'А'},  // A
    {0x1F, kLetter, 0xD3, 0xF3, u'с', u'С'},  // S
    {0x20, kLetter, 0xC4, 0xE4, u'д', u'Д'},  // D
    {0x21, kLetter, 0xC6, 0xE6, u'ф', u'Ф'},  // F
    {0x22, kLetter, 0xB1, 0xB2, u'ґ', u'Ґ'},  // G
    {0x23, kLetter, 0xC7, 0xE7, u'г', u'Г'},  // H
    {0x24, kLetter, 0xCA, 0xEA, u'й', u'Й'},  // J
    {0x25, kLetter, 0xCB, 0xEB, u'к', u'К'},  // K
    {0x26, kLetter, 0xCC, 0xEC, u'л', u'Л'},  // L
    {0x27, kLetter, 0xD8, 0xF8, u'ь', u'Ь'},  // ;
    {0x28, kLetter, 0xD6, 0xF6, u'ж', u'Ж'},  // '
    {0x29, kSign,   0x29, 0x28, u')', u'('},  // `
    // lower row
    {0x2C, kLetter, 0xDA, 0xFA, u'з', u'З'},  // Z
    {0x2D, kLetter, 0xC8, 0xE8, u'х', u'Х'},  // X
    {0x2E, kLetter, 0xC3, 0xE3, u'ц', u'Ц'},  // C
    {0x2F, kLetter, 0xD7, 0xF7, u'в', u'В'},  // V
    {0x30, kLetter, 0xC2, 0xE2, u'б', u'Б'},  // B
    {0x31, kLetter, 0xCE, 0xEE, u'н', u'Н'},  // N
    {0x32, kLetter, 0xCD, 0xED, u'м', u'М'},  // M
    {0x33, kLetter, 0xDE, 0xFE, u'ч', u'Ч'},  // ,
    {0x34, kLetter, 0xA4, 0xB4, u'є', u'Є'},  // .
    {0x35, kLetter, 0xA7, 0xB7, u'ї', u'Ї'},  // /
};

// Windows code page 1251, typewriter layout.
inline constexpr LetterKeys kCp1251TypewriterKeys = {
    // upper row
    {0x10, kLetter, 0xE9, 0xC9, u'й', u'Й'},  // Q
    {0x11, kLetter, 0xF6, 0xD6, u'ц', u'Ц'},  // W
    {0x12, kLetter, 0xF3, 0xD3, u'у', u'У'},  // E
    {0x13, kLetter, 0xEA, 0xCA, u'к', u'К'},  // R
    {0x14, kLetter, 0xE5, 0xC5, u'е', u'Е'},  // T
    {0x15, kLetter, 0xED, 0xCD, u'н', u'Н'},  // Y
    {0x16, kLetter, 0xE3, 0xC3, u'г', u'Г'},  // U
    {0x17, kLetter, 0xF8, 0xD8, u'ш', u'Ш'},  // I
    {0x18, kLetter, 0xF9, 0xD9, u'щ', u'Щ'},  // O
    {0x19, kLetter, 0xE7, 0xC7, u'з', u'З'},  // P
    {0x1A, kLetter, 0xF5, 0xD5, u'х', u'Х'},  // [
    {0x1B, kLetter, 0xBF, 0xAF, u'ї', u'Ї'},  // ]
    // home row
    {0x1E, kLetter, 0xF4, 0xD4, u'ф', u'Ф'},  // A
    {0x1F, kLetter, 0xB3, 0xB2, u'і', u'І'},  // S
    {0x20, kLetter, 0xE2, 0xC2, u'в', u'В'},  // D
    {0x21, kLetter, 0xE0, 0xC0, u'а', u'А'},  // F
    {0x22, kLetter, 0xEF, 0xCF, u'п', u'П'},  // G
    {0x23, kLetter, 0xF0, 0xD0, u'р', u'Р'},  // H
    {0x24, kLetter, 0xEE, 0xCE, u'о', u'О'},  // J
    {0x25, kLetter, 0xEB, 0xCB, u'л', u'Л'},  // K
    {0x26, kLetter, 0xE4, 0xC4, u'д', u'Д'},  // L
    {0x27, kLetter, 0xE6, 0xC6, u'ж', u'Ж'},  // ;
    {0x28, kLetter, 0xBA, 0xAA, u'є', u'Є'},  // '
    {0x29, kLetter, 0xB4, 0xA5, u'ґ', u'Ґ'},  // `
    // lower row
    {0x2C, kLetter, 0xFF, 0xDF, u'я', u'Я'},  // Z
    {0x2D, kLetter, 0xF7, 0xD7, u'ч', u'Ч'},  // X
    {0x2E, kLetter, 0xF1, 0xD1, u'с', u'С'},  // C
    {0x2F, kLetter, 0xEC, 0xCC, u'м', u'М'},  // V
    {0x30, kLetter, 0xE8, 0xC8, u'и', u'И'},  // B
    {0x31, kLetter, 0xF2, 0xD2, u'т', u'Т'},  // N
    {0x32, kLetter, 0xFC, 0xDC, u'ь', u'Ь'},  // M
    {0x33, kLetter, 0xE1, 0xC1, u'б', u'Б'},  // ,
    {0x34, kLetter, 0xFE, 0xDE, u'ю', u'Ю'},  // .
    {0x35, kSign,   0x29, 0x28, u')', u'('},  // /
};

// Windows code page 1251, phonetic layout.
inline constexpr LetterKeys kCp1251PhoneticKeys = {
    // upper row
    {0x10, kLetter, 0xFF, 0xDF, u'я', u'Я'},  // Q
    {0x11, kLetter, 0xF8, 0xD8, u'ш', u'Ш'},  // W
    {0x12, kLetter, 0xE5, 0xC5, u'е', u'Е'},  // E
    {0x13, kLetter, 0xF0, 0xD0, u'р', u'Р'},  // R
    {0x14, kLetter, 0xF2, 0xD2, u'т', u'Т'},  // T
    {0x15, kLetter, 0xE8, 0xC8, u'и', u'И'},  // Y
    {0x16, kLetter, 0xF3, 0xD3, u'у', u'У'},  // U
    {0x17, kLetter, 0xB3, 0xB2, u'і', u'І'},  // I
    {0x18, kLetter, 0xEE, 0xCE, u'о', u'О'},  // O
    {0x19, kLetter, 0xEF, 0xCF, u'п', u'П'},  // P
    {0x1A, kLetter, 0xFE, 0xDE, u'ю', u'Ю'},  // [
    {0x1B, kLetter, 0xF9, 0xD9, u'щ', u'Щ'},  // ]
    // home row
    {0x1E, kLetter, 0xE0, 0xC0, u'а', u'А'},  // A
    {0x1F, kLetter, 0xF1, 0xD1, u'с', u'С'},  // S
    {0x20, kLetter, 0xE4, 0xC4, u'д', u'Д'},  // D
    {0x21, kLetter, 0xF4, 0xD4, u'ф', u'Ф'},  // F
    {0x22, kLetter, 0xB4, 0xA5, u'ґ', u'Ґ'},  // G
    {0x23, kLetter, 0xE3, 0xC3, u'г', u'Г'},  // H
    {0x24, kLetter, 0xE9, 0xC9, u'й', u'Й'},  // J
    {0x25, kLetter, 0xEA, 0xCA, u'к', u'К'},  // K
    {0x26, kLetter, 0xEB, 0xCB, u'л', u'Л'},  // L
    {0x27, kLetter, 0xFC, 0xDC, u'ь', u'Ь'},  // ;
    {0x28, kLetter, 0xE6, 0xC6, u'ж', u'Ж'},  // '
    {0x29, kSign,   0x29, 0x28, u')', u'('},  // `
    // lower row
    {0x2C, kLetter, 0xE7, 0xC7, u'з', u'З'},  // Z
    {0x2D, kLetter, 0xF5, 0xD5, u'х', u'Х'},  // X
    {0x2E, kLetter, 0xF6, 0xD6, u'ц', u'Ц'},  // C
    {0x2F, kLetter, 0xE2, 0xC2, u'в', u'В'},  // V
    {0x30, kLetter, 0xE1, 0xC1, u'б', u'Б'},  // B
    {0x31, kLetter, 0xED, 0xCD, u'н', u'Н'},  // N
    {0x32, kLetter, 0xEC, 0xCC, u'м', u'М'},  // M
    {0x33, kLetter, 0xF7, 0xD7, u'ч', u'Ч'},  // ,
    {0x34, kLetter, 0xBA, 0xAA, u'є', u'Є'},  // .
    {0x35, kLetter, 0xBF, 0xAF, u'ї', u'Ї'},  // /
};

}  // namespace detail

inline constexpr BuiltinTable kKoi8Typewriter = detail::tableOf(detail::kKoi8TypewriterKeys);
inline constexpr BuiltinTable kKoi8Phonetic = detail::tableOf(detail::kKoi8PhoneticKeys);
inline constexpr BuiltinTable kCp1251Typewriter = detail::tableOf(detail::kCp1251TypewriterKeys);
inline constexpr BuiltinTable kCp1251Phonetic = detail::tableOf(detail::kCp1251PhoneticKeys);

inline constexpr BuiltinLetters kKoi8TypewriterLetters = detail::lettersOf(detail::kKoi8TypewriterKeys);
inline constexpr BuiltinLetters kKoi8PhoneticLetters = detail::lettersOf(detail::kKoi8PhoneticKeys);
inline constexpr BuiltinLetters kCp1251TypewriterLetters = detail::lettersOf(detail::kCp1251TypewriterKeys);
inline constexpr BuiltinLetters kCp1251PhoneticLetters = detail::lettersOf(detail::kCp1251PhoneticKeys);

}  // namespace vyrtel::layouts

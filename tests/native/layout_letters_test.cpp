// Cross-checks every byte of the four tables against an independent source:
// the layouts written out as Ukrainian text, key by key, and encoded with the
// C library's iconv into KOI8-U and Windows-1251. The one deliberate
// departure: the KOI8 tables store ґ/Ґ as B1/B2, not KOI8-U's AD/BD.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

#include "layouts/builtin_tables.h"

namespace {

using vyrtel::layouts::BuiltinTable;

// Keys of the letter rows in table order: Q..], A..', `, Z.., /.
const char* const kTypewriterSmall[] = {
    "й", "ц", "у", "к", "е", "н", "г", "ш", "щ", "з", "х", "ї",
    "ф", "і", "в", "а", "п", "р", "о", "л", "д", "ж", "є", "ґ",
    "я", "ч", "с", "м", "и", "т", "ь", "б", "ю", ")"};
const char* const kTypewriterCapital[] = {
    "Й", "Ц", "У", "К", "Е", "Н", "Г", "Ш", "Щ", "З", "Х", "Ї",
    "Ф", "І", "В", "А", "П", "Р", "О", "Л", "Д", "Ж", "Є", "Ґ",
    "Я", "Ч", "С", "М", "И", "Т", "Ь", "Б", "Ю", "("};
const char* const kPhoneticSmall[] = {
    "я", "ш", "е", "р", "т", "и", "у", "і", "о", "п", "ю", "щ",
    "а", "с", "д", "ф", "ґ", "г", "й", "к", "л", "ь", "ж", ")",
    "з", "х", "ц", "в", "б", "н", "м", "ч", "є", "ї"};
const char* const kPhoneticCapital[] = {
    "Я", "Ш", "Е", "Р", "Т", "И", "У", "І", "О", "П", "Ю", "Щ",
    "А", "С", "Д", "Ф", "Ґ", "Г", "Й", "К", "Л", "Ь", "Ж", "(",
    "З", "Х", "Ц", "В", "Б", "Н", "М", "Ч", "Є", "Ї"};
// Digit row: the same in every layout.
const char kDigitSmall[] = "1234567890'=";
const char kDigitCapital[] = "#-/\":,._?%;+";

std::uint8_t encode(const std::string& utf8, const char* charset) {
    iconv_t cd = iconv_open(charset, "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << charset << ": " << errno;
    std::string in = utf8;
    char out[8] = {};
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out;
    std::size_t outLeft = sizeof out;
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    EXPECT_NE(rc, static_cast<std::size_t>(-1)) << utf8 << " in " << charset;
    EXPECT_EQ(sizeof out - outLeft, 1u) << utf8 << " in " << charset;
    return static_cast<std::uint8_t>(out[0]);
}

std::uint8_t koi8Byte(const std::string& sign) {
    if (sign == "ґ") return 0xB1;
    if (sign == "Ґ") return 0xB2;
    return encode(sign, "KOI8-U");
}

std::uint8_t cp1251Byte(const std::string& sign) { return encode(sign, "CP1251"); }

void expectTableSpells(const BuiltinTable& table, const char* const (&small)[34],
                       const char* const (&capital)[34], std::uint8_t (*toByte)(const std::string&)) {
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(table[i].unshifted, std::uint8_t(kDigitSmall[i])) << "digit key " << i;
        EXPECT_EQ(table[i].shifted, std::uint8_t(kDigitCapital[i])) << "digit key " << i;
        EXPECT_EQ(table[i].capsFlag, 0) << "digit key " << i;
    }
    for (int k = 0; k < 34; ++k) {
        const auto& e = table[12 + k];
        const bool letter = std::string(small[k]) != ")";
        EXPECT_EQ(e.unshifted, toByte(small[k])) << small[k];
        EXPECT_EQ(e.shifted, toByte(capital[k])) << capital[k];
        EXPECT_EQ(e.capsFlag, letter ? 1 : 0) << small[k];
    }
}

TEST(LayoutLetters, Koi8TypewriterEncodesItsLettersInKoi8U) {
    expectTableSpells(vyrtel::layouts::kKoi8Typewriter, kTypewriterSmall, kTypewriterCapital, koi8Byte);
}

TEST(LayoutLetters, Koi8PhoneticEncodesItsLettersInKoi8U) {
    expectTableSpells(vyrtel::layouts::kKoi8Phonetic, kPhoneticSmall, kPhoneticCapital, koi8Byte);
}

TEST(LayoutLetters, Cp1251TypewriterEncodesItsLettersInWindows1251) {
    expectTableSpells(vyrtel::layouts::kCp1251Typewriter, kTypewriterSmall, kTypewriterCapital, cp1251Byte);
}

TEST(LayoutLetters, Cp1251PhoneticEncodesItsLettersInWindows1251) {
    expectTableSpells(vyrtel::layouts::kCp1251Phonetic, kPhoneticSmall, kPhoneticCapital, cp1251Byte);
}

TEST(LayoutLetters, EachLayoutCarriesThe33LettersOfTheUkrainianAlphabetOnce) {
    const std::string alphabet = "абвгґдеєжзиіїйклмнопрстуфхцчшщьюя";
    for (const auto* small : {&kTypewriterSmall, &kPhoneticSmall}) {
        std::vector<std::string> seen;
        for (const char* s : *small) {
            if (std::string(s) != ")") seen.push_back(s);
        }
        ASSERT_EQ(seen.size(), 33u);
        for (const auto& letter : seen) {
            EXPECT_NE(alphabet.find(letter), std::string::npos) << letter;
            EXPECT_EQ(std::count(seen.begin(), seen.end(), letter), 1) << letter;
        }
    }
}

TEST(LayoutLetters, Koi8UItselfPutsGheWithUpturnAtADAndBD) {
    // KOI8-U itself puts ґ/Ґ at AD/BD; the tables deliberately hold B1/B2.
    EXPECT_EQ(encode("ґ", "KOI8-U"), 0xAD);
    EXPECT_EQ(encode("Ґ", "KOI8-U"), 0xBD);
}

}  // namespace

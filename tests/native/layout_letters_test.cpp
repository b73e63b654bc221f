// The letters beside the bytes. Every entry of the four tables carries the
// two signs its key gives; these tests prove that signs and bytes agree
// through the C library's own iconv (Windows-1251 for the CP1251 tables,
// KOI8-U for the KOI8 ones, but for the one deliberate departure: ґ/Ґ stored
// as B1/B2, not KOI8-U's AD/BD), and check the signs once more against the
// layouts written out as Ukrainian text, key by key.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "layouts/builtin_tables.h"

namespace {

using vyrtel::layouts::BuiltinLetters;
using vyrtel::layouts::BuiltinTable;

struct Coded {
    const char* name;
    const BuiltinTable& table;
    const BuiltinLetters& letters;
    const char* charset;
    bool typewriter;
};

const Coded kTables[] = {
    {"KOI8 typewriter", vyrtel::layouts::kKoi8Typewriter, vyrtel::layouts::kKoi8TypewriterLetters, "KOI8-U", true},
    {"KOI8 phonetic", vyrtel::layouts::kKoi8Phonetic, vyrtel::layouts::kKoi8PhoneticLetters, "KOI8-U", false},
    {"CP1251 typewriter", vyrtel::layouts::kCp1251Typewriter, vyrtel::layouts::kCp1251TypewriterLetters, "CP1251",
     true},
    {"CP1251 phonetic", vyrtel::layouts::kCp1251Phonetic, vyrtel::layouts::kCp1251PhoneticLetters, "CP1251", false},
};

// One byte of a code page as the UTF-16 unit it stands for; 0 when the code
// page has no character there.
char16_t decode(std::uint8_t byte, const char* charset) {
    iconv_t cd = iconv_open("UTF-16LE", charset);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << charset << ": " << errno;
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[8] = {};
    char* inPtr = in;
    std::size_t inLeft = 1;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || sizeof out - outLeft != 2) return 0;
    return static_cast<char16_t>(out[0] | out[1] << 8);
}

char16_t meaning(std::uint8_t byte, const char* charset) {
    if (std::string(charset) == "KOI8-U") {
        if (byte == 0xB1) return u'ґ';
        if (byte == 0xB2) return u'Ґ';
    }
    return decode(byte, charset);
}

TEST(LayoutLetters, EveryByteDecodesToItsLetterInTheTablesCoding) {
    for (const Coded& coded : kTables) {
        for (int i = 0; i < 46; ++i) {
            const auto& entry = coded.table[i];
            EXPECT_EQ(meaning(entry.unshifted, coded.charset), coded.letters[2 * i]) << coded.name << " entry " << i;
            EXPECT_EQ(meaning(entry.shifted, coded.charset), coded.letters[2 * i + 1]) << coded.name << " entry " << i;
            EXPECT_NE(coded.letters[2 * i], 0) << coded.name << " entry " << i;
        }
        EXPECT_EQ(coded.letters[92], 0) << coded.name << ": the closing entry gives no letter";
        EXPECT_EQ(coded.letters[93], 0) << coded.name;
    }
}

TEST(LayoutLetters, KoiAndCp1251TwinsGiveTheSameLettersOnEveryKey) {
    EXPECT_EQ(vyrtel::layouts::kKoi8TypewriterLetters, vyrtel::layouts::kCp1251TypewriterLetters);
    EXPECT_EQ(vyrtel::layouts::kKoi8PhoneticLetters, vyrtel::layouts::kCp1251PhoneticLetters);
}

TEST(LayoutLetters, Koi8UItselfPutsGheWithUpturnAtADAndBD) {
    // KOI8-U puts ґ/Ґ at AD/BD; the tables deliberately hold B1/B2, which
    // KOI8-U gives to other signs.
    EXPECT_EQ(decode(0xAD, "KOI8-U"), u'ґ');
    EXPECT_EQ(decode(0xBD, "KOI8-U"), u'Ґ');
    EXPECT_NE(decode(0xB1, "KOI8-U"), u'ґ');
}

// The layouts as a typist reads them, row by row: keys Q..], A..', `, Z..,
// /, small letter then capital; written independently of the tables.
const char16_t kTypewriterSmall[] = u"йцукенгшщзхїфівапролджєґячсмитьбю)";
const char16_t kTypewriterCapital[] = u"ЙЦУКЕНГШЩЗХЇФІВАПРОЛДЖЄҐЯЧСМИТЬБЮ(";
const char16_t kPhoneticSmall[] = u"яшертиуіопющасдфґгйкльж)зхцвбнмчєї";
const char16_t kPhoneticCapital[] = u"ЯШЕРТИУІОПЮЩАСДФҐГЙКЛЬЖ(ЗХЦВБНМЧЄЇ";
const char16_t kDigitSmall[] = u"1234567890'=";
const char16_t kDigitCapital[] = u"#-/\":,._?%;+";

TEST(LayoutLetters, EachTableSpellsItsLayoutRowByRow) {
    for (const Coded& coded : kTables) {
        const char16_t* small = coded.typewriter ? kTypewriterSmall : kPhoneticSmall;
        const char16_t* capital = coded.typewriter ? kTypewriterCapital : kPhoneticCapital;
        for (int i = 0; i < 46; ++i) {
            const char16_t plain = i < 12 ? kDigitSmall[i] : small[i - 12];
            const char16_t shifted = i < 12 ? kDigitCapital[i] : capital[i - 12];
            EXPECT_EQ(coded.letters[2 * i], plain) << coded.name << " entry " << i;
            EXPECT_EQ(coded.letters[2 * i + 1], shifted) << coded.name << " entry " << i;
            const bool letter = plain != u')' && i >= 12;
            EXPECT_EQ(coded.table[i].capsFlag, letter ? 1 : 0) << coded.name << " entry " << i;
        }
    }
}

TEST(LayoutLetters, EachLayoutCarriesThe33LettersOfTheUkrainianAlphabetOnce) {
    const std::u16string alphabet = u"абвгґдеєжзиіїйклмнопрстуфхцчшщьюя";
    for (const BuiltinLetters* letters : {&vyrtel::layouts::kKoi8TypewriterLetters,
                                          &vyrtel::layouts::kKoi8PhoneticLetters}) {
        std::vector<char16_t> seen;
        for (int i = 12; i < 46; ++i) {
            if ((*letters)[2 * i] != u')') seen.push_back((*letters)[2 * i]);
        }
        ASSERT_EQ(seen.size(), 33u);
        for (char16_t letter : seen) {
            EXPECT_NE(alphabet.find(letter), std::u16string::npos) << int(letter);
            EXPECT_EQ(std::count(seen.begin(), seen.end(), letter), 1) << int(letter);
        }
    }
}

}  // namespace

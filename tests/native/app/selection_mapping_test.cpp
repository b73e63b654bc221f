// The selection mended as keys: the direction rule, and the keystrokes for
// every key of the four tables both ways, phrases, line breaks, characters
// no key gives, Caps Lock, and an 8-bit window's bytes. The keystrokes are
// checked by what a keyboard in the target mode makes of them: the table's
// letters when translating, a US keyboard's characters when not (written
// out here, apart from the code under test).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/selection_mend/selection_mapping.h"
#include "layouts/builtin_tables.h"

namespace {

using namespace vyrtel::layouts;
using vyrtel::mend::Keystroke;
using vyrtel::mend::Side;
using vyrtel::mend::SourceKeys;

struct Table {
    const char* name;
    const BuiltinTable& table;
    const BuiltinLetters& letters;
};
const Table kTables[] = {
    {"KOI8 typewriter", kKoi8Typewriter, kKoi8TypewriterLetters},
    {"KOI8 phonetic", kKoi8Phonetic, kKoi8PhoneticLetters},
    {"CP1251 typewriter", kCp1251Typewriter, kCp1251TypewriterLetters},
    {"CP1251 phonetic", kCp1251Phonetic, kCp1251PhoneticLetters},
};
const Table& kTypewriter = kTables[0];
const Table& kPhonetic = kTables[3];

SourceKeys sourceOf(const Table& t) { return {t.table, t.letters.data()}; }

// A US keyboard, by scan code: each row's characters without and with Shift.
std::u16string usKeys(std::uint8_t scan, bool shifted) {
    struct Row {
        std::uint8_t first;
        const char16_t* plain;
        const char16_t* shift;
    };
    static const Row rows[] = {{0x02, u"1234567890-=", u"!@#$%^&*()_+"},
                               {0x10, u"qwertyuiop[]", u"QWERTYUIOP{}"},
                               {0x1E, u"asdfghjkl;'`", u"ASDFGHJKL:\"~"},
                               {0x2C, u"zxcvbnm,./", u"ZXCVBNM<>?"},
                               {0x39, u" ", u" "}};
    for (const Row& row : rows) {
        const std::u16string plain = row.plain;
        if (scan >= row.first && scan < row.first + plain.size()) {
            return std::u16string(1, (shifted ? row.shift : row.plain)[scan - row.first]);
        }
    }
    return u"<no key>";
}

// What the keystrokes type in a window while typing is in `mode`: with the
// table's letters when Ukrainian, as a US keyboard when Latin; Caps Lock
// inverts Shift on letter keys, as the hook and the system apply it.
std::u16string typed(const std::vector<Keystroke>& strokes, Side mode, const Table& t, bool capsLock) {
    std::u16string text;
    for (const Keystroke& s : strokes) {
        if (s.kind == Keystroke::Kind::Enter) {
            text += u"\r\n";
        } else if (s.kind == Keystroke::Kind::Character) {
            text += s.character;
        } else if (s.scanCode == vyrtel::mend::kSpaceBarScanCode) {
            text += u' ';
        } else {
            int entry = 0;
            while (entry < kBuiltinEntryCount - 1 && t.table[entry].scanCode != s.scanCode) ++entry;
            if (mode == Side::Ukrainian && entry < kBuiltinEntryCount - 1) {
                const bool shift = s.shifted != (capsLock && t.table[entry].capsFlag == kLetter);
                text += t.letters[2 * entry + (shift ? 1 : 0)];
            } else {
                const std::u16string plain = usKeys(s.scanCode, false);
                const bool letter = plain[0] >= u'a' && plain[0] <= u'z';
                text += usKeys(s.scanCode, s.shifted != (capsLock && letter));
            }
        }
    }
    return text;
}

std::vector<Keystroke> retype(std::u16string_view text, Side target, const SourceKeys& keys, bool capsLock = false) {
    std::vector<Keystroke> strokes(text.size());
    strokes.resize(vyrtel::mend::retype(text, target, keys, capsLock, strokes.data()));
    return strokes;
}

// The selection mended as the program mends it: direction, then keys typed
// in the target mode.
std::u16string mended(std::u16string_view text, const Table& t, bool capsLock = false) {
    const SourceKeys keys = sourceOf(t);
    const Side target = vyrtel::mend::targetSideOf(text, keys);
    return typed(retype(text, target, keys, capsLock), target, t, capsLock);
}

std::string utf8(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

#define EXPECT_TEXT(actual, expected) EXPECT_EQ(utf8(actual), utf8(expected))

TEST(SelectionMapping, EveryKeyOfEveryTableGoesBothWaysAsThatKeyWithItsShift) {
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.name);
        const SourceKeys keys = sourceOf(t);
        for (int i = 0; i < kBuiltinEntryCount - 1; ++i) {
            const std::uint8_t scan = t.table[i].scanCode;
            for (bool shift : {false, true}) {
                SCOPED_TRACE(testing::Message() << "scan " << int(scan) << " shift " << shift);
                const std::u16string latin = usKeys(scan, shift);
                const std::u16string letter(1, t.letters[2 * i + (shift ? 1 : 0)]);
                for (const auto& [text, target] : {std::pair{latin, Side::Ukrainian}, std::pair{letter, Side::Latin}}) {
                    const std::vector<Keystroke> strokes = retype(text, target, keys);
                    ASSERT_EQ(strokes.size(), 1u);
                    EXPECT_EQ(strokes[0].kind, Keystroke::Kind::Key);
                    EXPECT_EQ(strokes[0].scanCode, scan);
                    EXPECT_EQ(strokes[0].shifted, shift);
                }
                EXPECT_TEXT(typed(retype(latin, Side::Ukrainian, keys), Side::Ukrainian, t, false), letter);
                EXPECT_TEXT(typed(retype(letter, Side::Latin, keys), Side::Latin, t, false), latin);
            }
        }
    }
}

TEST(SelectionMapping, PhrasesInEachLayoutGoBothWays) {
    EXPECT_TEXT(mended(u"Ghbdsn cdsnt", kTypewriter), u"Привіт світе");
    EXPECT_TEXT(mended(u"Привіт світе", kTypewriter), u"Ghbdsn cdsnt");
    EXPECT_TEXT(mended(u"Pryvit svite", kPhonetic), u"Привіт світе");
    EXPECT_TEXT(mended(u"Привіт світе", kPhonetic), u"Pryvit svite");
    // Signs go by their keys too: the typewriter's comma is Shift+6, its
    // Shift+1 gives #; no Ukrainian key gives !, which stays.
    EXPECT_TEXT(mended(u"Ghbdsn^ zr cghfdb? Ufhfpl!", kTypewriter), u"Привіт, як справи( Гаразд#");
    EXPECT_TEXT(mended(u"Привіт, як справи( Гаразд!", kTypewriter), u"Ghbdsn^ zr cghfdb? Ufhfpl!");
    // Digits, the apostrophe, ґ, ї and є on their keys.
    EXPECT_TEXT(mended(u"v-zcj 12 ]ukf 'ktvtyn `fyjr", kTypewriter), u"м'ясо 12 їгла єлемент ґанок");
}

TEST(SelectionMapping, MendingTwiceGivesTheTextBack) {
    const std::u16string texts[] = {u"Ghbdsn cdsnt", u"Друг, 3 дні; \"Ок\"?", u"Hello, world!\r\nHow are you?",
                                    u"x `~ [{ ]} ;: '\" ,< .> /? -_ =+ 1! 2@"};
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.name);
        for (const std::u16string& text : texts) {
            const std::u16string once = mended(text, t);
            EXPECT_NE(utf8(once), utf8(text));
            EXPECT_TEXT(mended(once, t), text);
        }
    }
}

TEST(SelectionMapping, TheSideWithMoreLettersDecidesAndATieOrNoLetterGoesUkrainian) {
    const SourceKeys keys = sourceOf(kTypewriter);
    EXPECT_EQ(vyrtel::mend::targetSideOf(u"Ghbdsn", keys), Side::Ukrainian);
    EXPECT_EQ(vyrtel::mend::targetSideOf(u"Привіт", keys), Side::Latin);
    EXPECT_EQ(vyrtel::mend::targetSideOf(u"ab вгд", keys), Side::Latin);
    EXPECT_EQ(vyrtel::mend::targetSideOf(u"abc вгд", keys), Side::Ukrainian);
    EXPECT_EQ(vyrtel::mend::targetSideOf(u"12, 34.", keys), Side::Ukrainian);
    EXPECT_EQ(vyrtel::mend::targetSideOf(u"", keys), Side::Ukrainian);
    // Only the table's letters count: signs of its keys, Russian letters
    // it lacks and other scripts do not.
    EXPECT_EQ(vyrtel::mend::targetSideOf(u"ab ъыэё ((", keys), Side::Ukrainian);
    EXPECT_EQ(vyrtel::mend::targetSideOf(u"a їє", keys), Side::Latin);
}

TEST(SelectionMapping, LineBreaksAreEnterAndSpacesTheSpaceBar) {
    const std::vector<Keystroke> strokes = retype(u"a\r\nb\nc\rd \r\n\r\n", Side::Ukrainian, sourceOf(kTypewriter));
    std::vector<Keystroke::Kind> kinds;
    for (const Keystroke& s : strokes) kinds.push_back(s.kind);
    using K = Keystroke::Kind;
    EXPECT_EQ(kinds, (std::vector<K>{K::Key, K::Enter, K::Key, K::Enter, K::Key, K::Enter, K::Key, K::Key, K::Enter,
                                     K::Enter}));
    EXPECT_EQ(strokes[7].scanCode, vyrtel::mend::kSpaceBarScanCode);
    EXPECT_TEXT(mended(u"Ghbdsn\nlheu\r\n\r\ncdsnt", kTypewriter), u"Привіт\r\nдруг\r\n\r\nсвіте");
}

TEST(SelectionMapping, CharactersNoKeyOfTheSourceSideGivesAreTypedAsThemselves) {
    const SourceKeys keys = sourceOf(kTypewriter);
    // Toward Ukrainian: the backslash key is no table's; other scripts.
    for (std::u16string_view text : {u"\\|\t€日é", u"ъыэё"}) {
        for (const Keystroke& s : retype(text, Side::Ukrainian, keys)) {
            EXPECT_EQ(s.kind, Keystroke::Kind::Character);
        }
    }
    // Toward Latin: signs the layout lacks, Latin letters left in the text.
    for (const Keystroke& s : retype(u"ъыэ!@ab\\", Side::Latin, keys)) {
        EXPECT_EQ(s.kind, Keystroke::Kind::Character);
    }
    EXPECT_TEXT(mended(u"Ghbdsn 日本 ъ \\ €", kTypewriter), u"Привіт 日本 ъ \\ €");
    EXPECT_TEXT(mended(u"Привіт wiki ъ!", kTypewriter), u"Ghbdsn wiki ъ!");
}

TEST(SelectionMapping, UnderCapsLockTheResultKeepsTheSelectionsCase) {
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.name);
        const SourceKeys keys = sourceOf(t);
        for (std::u16string_view text : {u"Ghbdsn CDSNT; 1!", u"Привіт СВІТЕ; 1!"}) {
            const Side target = vyrtel::mend::targetSideOf(text, keys);
            EXPECT_TEXT(typed(retype(text, target, keys, true), target, t, true),
                        typed(retype(text, target, keys, false), target, t, false));
        }
    }
    // The semicolon key is a letter in Ukrainian (ж) and a sign in Latin:
    // Caps Lock inverts Shift on it toward Ukrainian only.
    const SourceKeys keys = sourceOf(kTypewriter);
    EXPECT_TRUE(retype(u";", Side::Ukrainian, keys, true)[0].shifted);
    EXPECT_FALSE(retype(u"ж", Side::Latin, keys, true)[0].shifted);
    EXPECT_TRUE(retype(u"ф", Side::Latin, keys, true)[0].shifted);
}

TEST(SelectionMapping, AnEightBitWindowsTextIsReadAsTheTablesBytes) {
    // A KOI8 window under code page 1252: its text holds KOI8 bytes, which
    // that code page reads as Latin-1 letters (every byte of the table is
    // either ASCII or at A0 and above, where 1252 is Latin-1).
    char16_t signs[2 * kBuiltinEntryCount] = {};
    for (int i = 0; i < kBuiltinEntryCount - 1; ++i) {
        signs[2 * i] = kKoi8Typewriter[i].unshifted;
        signs[2 * i + 1] = kKoi8Typewriter[i].shifted;
    }
    const SourceKeys keys{kKoi8Typewriter, signs};
    std::u16string shown;
    for (unsigned char byte : std::string("\xF0\xD2\xC9\xD7\xA6\xD4 \xD3\xD7\xA6\xD4\xC5")) shown += char16_t(byte);
    ASSERT_EQ(vyrtel::mend::targetSideOf(shown, keys), Side::Latin);
    EXPECT_TEXT(typed(retype(shown, Side::Latin, keys), Side::Latin, kTables[0], false), u"Ghbdsn cdsnt");
    // The other way the keys are the same as in a Unicode window.
    const std::vector<Keystroke> strokes = retype(u"Ghbdsn", Side::Ukrainian, keys);
    const std::vector<Keystroke> unicode = retype(u"Ghbdsn", Side::Ukrainian, sourceOf(kTables[0]));
    ASSERT_EQ(strokes.size(), unicode.size());
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        EXPECT_EQ(strokes[i].scanCode, unicode[i].scanCode);
        EXPECT_EQ(strokes[i].shifted, unicode[i].shifted);
    }
}

std::u16string replaced(std::u16string_view text, const SourceKeys& keys) {
    std::u16string out(text.size(), u'?');
    vyrtel::mend::replaceText(text, vyrtel::mend::targetSideOf(text, keys), keys, out.data());
    return out;
}

TEST(SelectionReplacement, GivesWhatTheKeysTypeAndKeepsEveryLineBreakAsItIs) {
    const std::u16string texts[] = {u"Ghbdsn cdsnt", u"Привіт, як справи( Гаразд!", u"Друг, 3 дні; \"Ок\"?",
                                    u"Ghbdsn 日本 ъ \\ €", u"x `~ [{ ]} ;: '\" ,< .> /? -_ =+ 1! 2@", u"Привіт wiki ъ!"};
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.name);
        for (const std::u16string& text : texts) EXPECT_TEXT(replaced(text, sourceOf(t)), mended(text, t));
    }
    // An edit's "\r\n", a rich edit's "\r", a lone "\n": as they were.
    EXPECT_TEXT(replaced(u"Ghbdsn\r\nlheu\rCDSNT\n\r\n", sourceOf(kTypewriter)), u"Привіт\r\nдруг\rСВІТЕ\n\r\n");
    EXPECT_TEXT(replaced(u"Привіт\rСВІТЕ\r\n", sourceOf(kTypewriter)), u"Ghbdsn\rCDSNT\r\n");
    EXPECT_TRUE(vyrtel::mend::hasLineBreak(u"a\rb"));
    EXPECT_TRUE(vyrtel::mend::hasLineBreak(u"a\n"));
    EXPECT_FALSE(vyrtel::mend::hasLineBreak(u"a b\t"));
}

TEST(SelectionReplacement, AnEightBitWindowGetsTheTablesBytesAndKeepsItsOtherBytes) {
    // The text as bytes, one unit each; the table's bytes as its signs.
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.name);
        char16_t bytes[2 * kBuiltinEntryCount] = {};
        for (int i = 0; i < kBuiltinEntryCount - 1; ++i) {
            bytes[2 * i] = t.table[i].unshifted;
            bytes[2 * i + 1] = t.table[i].shifted;
        }
        const SourceKeys keys{t.table, bytes};
        std::u16string latin, coded;
        for (int i = 0; i < kBuiltinEntryCount - 1; ++i) {
            for (int shift = 0; shift < 2; ++shift) {
                latin += usKeys(t.table[i].scanCode, shift == 1);
                coded += bytes[2 * i + shift];
            }
        }
        EXPECT_EQ(replaced(latin, keys), coded);
        EXPECT_EQ(replaced(coded, keys), latin);
        // A byte no key of the table gives stays, whatever it is.
        const std::u16string other = u"\x81\xFF\\\r\n";
        EXPECT_EQ(replaced(u"Ghbdsn" + other, keys).substr(6), other);
    }
}

}  // namespace

// The automatic mend's decision on chosen words, both layouts and both
// directions, and the words-as-text conversion that mend-check and these
// cases share.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "automend/decision.h"
#include "automend/text_signs.h"
#include "tools/text_words.h"

namespace {

using vyrtel::automend::Layout;
using vyrtel::automend::Typing;

struct Decided {
    Typing typing;
    bool mend;
    std::u16string other;
};

Decided decide(const std::u16string& word, Layout layout) {
    char16_t other[vyrtel::automend::kMaxSigns] = {};
    const int count = static_cast<int>(word.size());
    const Typing typing = vyrtel::automend::otherSigns(word.data(), count, layout, other);
    if (typing == Typing::Untypeable) return {typing, false, {}};
    const bool mend = vyrtel::automend::shouldMend({word.data(), other, count, typing == Typing::Translated, layout});
    return {typing, mend, std::u16string(other, count)};
}

// The word in UTF-8, for naming a failing case.
std::string narrow(const char16_t* word) {
    return vyrtel::automend::encode(word, static_cast<int>(std::char_traits<char16_t>::length(word)));
}

struct OtherCase {
    const char16_t* word;
    Layout layout;
    Typing typing;
    const char16_t* other;
};

// Named by the word, a backslash spelt out: ctest's list of the cases would
// take it for an escape and lose a case.
void PrintTo(const OtherCase& c, std::ostream* out) {
    for (const char ch : narrow(c.word)) {
        if (ch == '\\') *out << "(backslash)";
        else *out << ch;
    }
}

class OtherSigns : public testing::TestWithParam<OtherCase> {};

TEST_P(OtherSigns, GivesTheSameKeysInTheOtherMode) {
    const OtherCase& c = GetParam();
    const Decided d = decide(c.word, c.layout);
    EXPECT_EQ(d.typing, c.typing);
    if (c.typing != Typing::Untypeable) {
        EXPECT_EQ(d.other, std::u16string(c.other));
    }
}

INSTANTIATE_TEST_SUITE_P(Words, OtherSigns, testing::Values(
    OtherCase{u"ghbdsn", Layout::Typewriter, Typing::Untranslated, u"привіт"},
    OtherCase{u"Ghbdsn^", Layout::Typewriter, Typing::Untranslated, u"Привіт,"},
    OtherCase{u"руддщ", Layout::Typewriter, Typing::Translated, u"hello"},
    OtherCase{u"б'ю", Layout::Typewriter, Typing::Translated, u",-."},
    OtherCase{u"a\\b", Layout::Typewriter, Typing::Untranslated, u"ф\\и"},  // the backslash key is left alone
    OtherCase{u"ї\\", Layout::Typewriter, Typing::Translated, u"]\\"},
    OtherCase{u"pryvit", Layout::Phonetic, Typing::Untranslated, u"привіт"},
    OtherCase{u"ґ(", Layout::Phonetic, Typing::Translated, u"g~"},
    OtherCase{u"ыы", Layout::Typewriter, Typing::Untypeable, u""},      // no key types a Russian letter
    OtherCase{u"прblah", Layout::Typewriter, Typing::Untypeable, u""},  // nor a Latin one with translation on
    OtherCase{u"x[y", Layout::Phonetic, Typing::Untranslated, u"хюи"},
    OtherCase{u"при[", Layout::Typewriter, Typing::Untypeable, u""}));

struct MendCase {
    const char16_t* word;
    Layout layout;
    bool mend;
};

void PrintTo(const MendCase& c, std::ostream* out) { *out << narrow(c.word); }

class Decision : public testing::TestWithParam<MendCase> {};

TEST_P(Decision, MendsOnlyWhatWasTypedInTheWrongMode) {
    const MendCase& c = GetParam();
    const Decided d = decide(c.word, c.layout);
    ASSERT_NE(d.typing, Typing::Untypeable);
    EXPECT_EQ(d.mend, c.mend);
}

INSTANTIATE_TEST_SUITE_P(Typewriter, Decision, testing::Values(
    // Ukrainian typed with translation off, and English typed with it on.
    MendCase{u"ghbdsn", Layout::Typewriter, true},
    MendCase{u"cdsnt", Layout::Typewriter, true},
    MendCase{u"Ghbdsn^", Layout::Typewriter, true},     // the Ukrainian comma is Shift+6
    MendCase{u"ckjdf", Layout::Typewriter, true},       // слова
    MendCase{u"gjxfnre", Layout::Typewriter, true},     // початку
    MendCase{u"руддщ", Layout::Typewriter, true},
    MendCase{u"цщкдв", Layout::Typewriter, true},       // world
    MendCase{u"ЦШТВЩЦ", Layout::Typewriter, true},      // WINDOW, all capitals
    MendCase{u"ШІЩ", Layout::Typewriter, true},         // ISO: an abbreviation typed with translation on
    MendCase{u"ЕСЗ", Layout::Typewriter, true},         // TCP
    MendCase{u"пдшис", Layout::Typewriter, true},       // glibc, which no list knows
    MendCase{u"СЗГі", Layout::Typewriter, true},        // CPUs: an abbreviation's plural counts as capitals
    // Right words stay in both modes.
    MendCase{u"hello", Layout::Typewriter, false},
    MendCase{u"hello,", Layout::Typewriter, false},     // the comma key is б, but the comma belongs here
    MendCase{u"привіт", Layout::Typewriter, false},
    MendCase{u"слова", Layout::Typewriter, false},
    // What switchers are blamed for.
    MendCase{u"gpg", Layout::Typewriter, false},
    MendCase{u"CSV", Layout::Typewriter, false},
    MendCase{u"LBD", Layout::Typewriter, false},        // ДИВ, but into Ukrainian few capitals stay
    MendCase{u"США", Layout::Typewriter, false},        // an abbreviation the Ukrainian list holds
    MendCase{u"ДНК", Layout::Typewriter, false},
    MendCase{u"iPhone", Layout::Typewriter, false},     // a capital inside
    MendCase{u"PIDs", Layout::Typewriter, false},       // ЗШВі: a Ukrainian word has no such plural
    MendCase{u"=>", Layout::Typewriter, false},
    MendCase{u"a.out", Layout::Typewriter, false},
    MendCase{u"cd", Layout::Typewriter, false},         // too short to tell
    MendCase{u"ds", Layout::Typewriter, false},         // ві, short too
    MendCase{u"ghbdsn2", Layout::Typewriter, false},    // a digit
    MendCase{u"user@host", Layout::Typewriter, false},
    MendCase{u"/usr/bin", Layout::Typewriter, false},
    MendCase{u"--help", Layout::Typewriter, false},     // an option: the `-` key is the Ukrainian apostrophe
    // A closed-class word against a form that is a word too.
    MendCase{u"еру", Layout::Typewriter, true},         // a rare Ukrainian form; `the` was meant
    MendCase{u"руку", Layout::Typewriter, false}));     // `here`, but `руку` is as likely

INSTANTIATE_TEST_SUITE_P(Phonetic, Decision, testing::Values(
    MendCase{u"pryvit", Layout::Phonetic, true},
    MendCase{u"рудло", Layout::Phonetic, false},
    MendCase{u"шорлд", Layout::Phonetic, true},         // world
    MendCase{u"hello", Layout::Phonetic, false},
    MendCase{u"tak", Layout::Phonetic, true},           // так: no English word, and a closed-class Ukrainian one
    MendCase{u"dim", Layout::Phonetic, false},          // дім, but an English word too: a tie stays
    MendCase{u"pan", Layout::Phonetic, false},
    MendCase{u"анд", Layout::Phonetic, true},           // the list has only the name Анд
    MendCase{u"-name", Layout::Phonetic, false},
    MendCase{u"ЛАТІН", Layout::Phonetic, true},         // LATIN: both forms known, the English far likelier
    MendCase{u"латін", Layout::Phonetic, false},        // ...but in small letters a known form stays
    MendCase{u"ІСО", Layout::Phonetic, true},           // ISO
    MendCase{u"ІДс", Layout::Phonetic, true},           // IDs
    MendCase{u"США", Layout::Phonetic, false},
    MendCase{u"DYV", Layout::Phonetic, true},           // ДИВ, a word of the list
    MendCase{u"CPU", Layout::Phonetic, false},          // ЦПУ, which the list does not hold
    MendCase{u"привіт", Layout::Phonetic, false}));

TEST(Decision, KeepsWhatNoModeCouldTellApart) {
    const char16_t typed[] = u"ghbdsn";
    const char16_t other[] = u"привіт";
    EXPECT_FALSE(vyrtel::automend::shouldMend({typed, other, 0, false, Layout::Typewriter}));
    EXPECT_FALSE(vyrtel::automend::shouldMend({typed, other, vyrtel::automend::kMaxSigns + 1, false, Layout::Typewriter}));
    const char16_t none[] = {u'п', 0, u'и', u'в', u'і', u'т'};  // a key that gives nothing on the other side
    EXPECT_FALSE(vyrtel::automend::shouldMend({typed, none, 6, false, Layout::Typewriter}));
}

}  // namespace

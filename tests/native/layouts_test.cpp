// The shape of the four built-in tables: which keys they hold, in which
// order, and what they share. The letters themselves are checked against an
// independent source in layout_letters_test.cpp.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "layouts/builtin_tables.h"

namespace {

using vyrtel::layouts::BuiltinTable;
using vyrtel::layouts::KeyEntry;
using vyrtel::layouts::kBuiltinEntryCount;

struct NamedTable {
    const char* name;
    const BuiltinTable* table;
};

const NamedTable kAllTables[] = {
    {"KOI8 typewriter", &vyrtel::layouts::kKoi8Typewriter},
    {"KOI8 phonetic", &vyrtel::layouts::kKoi8Phonetic},
    {"CP1251 typewriter", &vyrtel::layouts::kCp1251Typewriter},
    {"CP1251 phonetic", &vyrtel::layouts::kCp1251Phonetic},
};

std::vector<std::uint8_t> expectedScanCodes() {
    std::vector<std::uint8_t> codes;
    for (int c = 0x02; c <= 0x0D; ++c) codes.push_back(c);  // 1 .. =
    for (int c = 0x10; c <= 0x1B; ++c) codes.push_back(c);  // Q .. ]
    for (int c = 0x1E; c <= 0x29; ++c) codes.push_back(c);  // A .. `
    for (int c = 0x2C; c <= 0x35; ++c) codes.push_back(c);  // Z .. /
    return codes;
}

const KeyEntry& entryFor(const BuiltinTable& table, std::uint8_t scanCode) {
    for (const KeyEntry& e : table) {
        if (e.scanCode == scanCode) return e;
    }
    ADD_FAILURE() << "no entry for scan code " << int(scanCode);
    return table.back();
}

TEST(BuiltinTables, HoldTheSame46KeysInAscendingScanOrderThenTheZeroEntry) {
    const auto codes = expectedScanCodes();
    ASSERT_EQ(codes.size(), 46u);
    for (const auto& t : kAllTables) {
        SCOPED_TRACE(t.name);
        ASSERT_EQ(t.table->size(), std::size_t(kBuiltinEntryCount));
        for (std::size_t i = 0; i < codes.size(); ++i) EXPECT_EQ((*t.table)[i].scanCode, codes[i]) << i;
        EXPECT_EQ((*t.table)[46], (KeyEntry{0, 0, 0, 0}));
    }
}

TEST(BuiltinTables, HaveNoEntryForBackslashSpaceTabEnterOrBackspace) {
    for (const auto& t : kAllTables) {
        for (const KeyEntry& e : *t.table) {
            EXPECT_NE(e.scanCode, 0x2B) << t.name;  // backslash
            EXPECT_NE(e.scanCode, 0x39) << t.name;  // space
            EXPECT_NE(e.scanCode, 0x0F) << t.name;  // tab
            EXPECT_NE(e.scanCode, 0x1C) << t.name;  // enter
            EXPECT_NE(e.scanCode, 0x0E) << t.name;  // backspace
        }
    }
}

TEST(BuiltinTables, ShareTheDigitRowAndTheZeroEntry) {
    const BuiltinTable& reference = vyrtel::layouts::kKoi8Typewriter;
    for (const auto& t : kAllTables) {
        for (int i = 0; i < 12; ++i) EXPECT_EQ((*t.table)[i], reference[i]) << t.name << " entry " << i + 1;
        EXPECT_EQ((*t.table)[46], reference[46]) << t.name;
    }
    // Spot checks of the digit row itself.
    EXPECT_EQ(reference[0], (KeyEntry{0x02, 0, 0x31, 0x23}));   // 1 #
    EXPECT_EQ(reference[10], (KeyEntry{0x0C, 0, 0x27, 0x3B}));  // ' ;
    EXPECT_EQ(reference[11], (KeyEntry{0x0D, 0, 0x3D, 0x2B}));  // = +
}

TEST(BuiltinTables, TypewriterAndPhoneticDifferOnEveryLetterRowKey) {
    using namespace vyrtel::layouts;
    for (int i = 12; i < 46; ++i) {
        EXPECT_NE(kKoi8Typewriter[i].unshifted, kKoi8Phonetic[i].unshifted) << i + 1;
        EXPECT_NE(kCp1251Typewriter[i].unshifted, kCp1251Phonetic[i].unshifted) << i + 1;
    }
}

TEST(BuiltinTables, KoiAndCp1251TwinsHaveTheSameCapsFlags) {
    using namespace vyrtel::layouts;
    for (int i = 0; i < kBuiltinEntryCount; ++i) {
        EXPECT_EQ(kKoi8Typewriter[i].capsFlag, kCp1251Typewriter[i].capsFlag) << i + 1;
        EXPECT_EQ(kKoi8Phonetic[i].capsFlag, kCp1251Phonetic[i].capsFlag) << i + 1;
    }
}

TEST(BuiltinTables, Have33LetterKeysWithDistinctLettersAndOneParenthesisKey) {
    for (const auto& t : kAllTables) {
        SCOPED_TRACE(t.name);
        std::set<std::uint8_t> smallLetters;
        std::set<std::uint8_t> capitals;
        int parenthesisKeys = 0;
        for (int i = 12; i < 46; ++i) {
            const KeyEntry& e = (*t.table)[i];
            if (e.capsFlag == 1) {
                smallLetters.insert(e.unshifted);
                capitals.insert(e.shifted);
            } else {
                EXPECT_EQ(e.capsFlag, 0);
                EXPECT_EQ(e.unshifted, ')');
                EXPECT_EQ(e.shifted, '(');
                ++parenthesisKeys;
            }
        }
        EXPECT_EQ(smallLetters.size(), 33u);
        EXPECT_EQ(capitals.size(), 33u);
        EXPECT_EQ(parenthesisKeys, 1);
    }
}

TEST(BuiltinTables, PutShortIGheWithUpturnYiAndTheParenthesesOnTheirKeysInEachCoding) {
    using namespace vyrtel::layouts;
    EXPECT_EQ(entryFor(kKoi8Typewriter, 0x10), (KeyEntry{0x10, 1, 0xCA, 0xEA}));    // Q: й Й
    EXPECT_EQ(entryFor(kKoi8Typewriter, 0x29), (KeyEntry{0x29, 1, 0xB1, 0xB2}));    // `: ґ Ґ
    EXPECT_EQ(entryFor(kCp1251Typewriter, 0x29), (KeyEntry{0x29, 1, 0xB4, 0xA5}));  // `: ґ Ґ
    EXPECT_EQ(entryFor(kKoi8Phonetic, 0x29), (KeyEntry{0x29, 0, 0x29, 0x28}));      // `: ) (
    EXPECT_EQ(entryFor(kCp1251Phonetic, 0x29), (KeyEntry{0x29, 0, 0x29, 0x28}));
    EXPECT_EQ(entryFor(kKoi8Typewriter, 0x35), (KeyEntry{0x35, 0, 0x29, 0x28}));    // /: ) (
    EXPECT_EQ(entryFor(kCp1251Typewriter, 0x35), (KeyEntry{0x35, 0, 0x29, 0x28}));
    EXPECT_EQ(entryFor(kKoi8Phonetic, 0x35), (KeyEntry{0x35, 1, 0xA7, 0xB7}));      // /: ї Ї
    EXPECT_EQ(entryFor(kCp1251Phonetic, 0x35), (KeyEntry{0x35, 1, 0xBF, 0xAF}));
    EXPECT_EQ(entryFor(kKoi8Phonetic, 0x22), (KeyEntry{0x22, 1, 0xB1, 0xB2}));      // G: ґ Ґ
    EXPECT_EQ(entryFor(kCp1251Phonetic, 0x22), (KeyEntry{0x22, 1, 0xB4, 0xA5}));
}

}  // namespace

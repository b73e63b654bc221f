#include "app/layout_grid.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "layouts/builtin_tables.h"

namespace vyrtel {
namespace {

using layouts::BuiltinLetters;
using layouts::BuiltinTable;

struct Table {
    Coding coding;
    Layout layout;
    const BuiltinTable& table;
    const BuiltinLetters& letters;
};

const Table kTables[] = {
    {Coding::Koi8, Layout::Typewriter, layouts::kKoi8Typewriter, layouts::kKoi8TypewriterLetters},
    {Coding::Koi8, Layout::Phonetic, layouts::kKoi8Phonetic, layouts::kKoi8PhoneticLetters},
    {Coding::Cp1251, Layout::Typewriter, layouts::kCp1251Typewriter, layouts::kCp1251TypewriterLetters},
    {Coding::Cp1251, Layout::Phonetic, layouts::kCp1251Phonetic, layouts::kCp1251PhoneticLetters},
};

Choices choices(Coding coding, Layout layout) { return Choices{coding, layout, 3}; }

std::vector<const GridKey*> keysOfRow(int row) {
    std::vector<const GridKey*> keys;
    for (int i = 0; i < gridKeyCount(); ++i) {
        if (gridKeys()[i].row == row) keys.push_back(&gridKeys()[i]);
    }
    return keys;
}

const GridKey* keyOfScanCode(std::uint8_t scanCode) {
    for (int i = 0; i < gridKeyCount(); ++i) {
        const GridKey& key = gridKeys()[i];
        if (key.action == KeyAction::Types && key.code == scanCode) return &key;
    }
    return nullptr;
}

// The signs of a row's typing keys, lower then upper, as one UTF-16 string each.
std::pair<std::u16string, std::u16string> rowSigns(const LayoutView& view, int row) {
    std::u16string lower, upper;
    for (const GridKey* key : keysOfRow(row)) {
        if (key->action != KeyAction::Types) continue;
        const KeySigns signs = view.SignsOf(*key);
        lower += signs.lower;
        upper += signs.upper;
    }
    return {lower, upper};
}

TEST(LayoutGridTest, RowsAreTheKeyboardsRowsEachFifteenKeysWideWithoutOverlap) {
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        int next = 0;
        for (const GridKey* key : keysOfRow(row)) {
            EXPECT_EQ(key->left, next) << "keys follow each other without a hole";
            next = key->left + key->width;
        }
        EXPECT_EQ(next, kGridRowQuarters);
    }
    const std::vector<const GridKey*> bottom = keysOfRow(4);
    ASSERT_EQ(bottom.size(), 1u);
    EXPECT_EQ(bottom[0]->code, 0x39) << "the space bar";
    EXPECT_GT(bottom[0]->width, 20);
    EXPECT_EQ(keysOfRow(0).size(), 14u);
    EXPECT_EQ(keysOfRow(1).size(), 14u);
    EXPECT_EQ(keysOfRow(2).size(), 13u);
    EXPECT_EQ(keysOfRow(3).size(), 12u);
}

TEST(LayoutGridTest, EveryTableKeyIsOnTheGridOnceAndOnlyBackslashAndSpaceBesides) {
    for (const Table& t : kTables) {
        std::set<int> tableCodes;
        for (const auto& entry : t.table) {
            if (entry.scanCode != 0) tableCodes.insert(entry.scanCode);
        }
        EXPECT_EQ(tableCodes.size(), 46u);
        std::multiset<int> gridCodes;
        for (int i = 0; i < gridKeyCount(); ++i) {
            if (gridKeys()[i].action == KeyAction::Types) gridCodes.insert(gridKeys()[i].code);
        }
        for (int code : tableCodes) EXPECT_EQ(gridCodes.count(code), 1u) << std::hex << code;
        std::set<int> rest;
        for (int code : gridCodes) {
            if (!tableCodes.count(code)) rest.insert(code);
        }
        EXPECT_EQ(rest, (std::set<int>{0x2B, 0x39}));
    }
}

TEST(LayoutGridTest, UkrainianKeysShowTheLettersTheLibraryIsHandedForEveryTable) {
    for (const Table& t : kTables) {
        const LayoutView view(choices(t.coding, t.layout), true);
        ASSERT_EQ(view.Mode(), TypingMode::Ukrainian);
        for (int i = 0; i < layouts::kBuiltinEntryCount - 1; ++i) {
            const GridKey* key = keyOfScanCode(t.table[i].scanCode);
            ASSERT_NE(key, nullptr);
            EXPECT_TRUE(view.Translates(*key));
            EXPECT_EQ(view.SignsOf(*key), (KeySigns{t.letters[2 * i], t.letters[2 * i + 1]}))
                << "scan code " << int(t.table[i].scanCode);
        }
        const GridKey* backslash = keyOfScanCode(0x2B);
        EXPECT_FALSE(view.Translates(*backslash));
        EXPECT_EQ(view.SignsOf(*backslash), (KeySigns{u'\\', u'|'}));
    }
}

TEST(LayoutGridTest, BothCodingsShowTheSameSignsAndTheRowsReadAsTheLayouts) {
    const LayoutView koi8(choices(Coding::Koi8, Layout::Typewriter), true);
    const LayoutView cp1251(choices(Coding::Cp1251, Layout::Typewriter), true);
    const LayoutView phonetic(choices(Coding::Koi8, Layout::Phonetic), true);
    for (int row = 0; row < kGridRows; ++row) EXPECT_EQ(rowSigns(koi8, row), rowSigns(cp1251, row));
    for (int row = 0; row < kGridRows; ++row) {
        EXPECT_EQ(rowSigns(phonetic, row), rowSigns(LayoutView(choices(Coding::Cp1251, Layout::Phonetic), true), row));
    }

    EXPECT_EQ(rowSigns(koi8, 0), std::make_pair(std::u16string(u"ґ1234567890'="), std::u16string(u"Ґ#-/\":,._?%;+")));
    EXPECT_EQ(rowSigns(koi8, 1).first, u"йцукенгшщзхї\\");
    EXPECT_EQ(rowSigns(koi8, 2), std::make_pair(std::u16string(u"фівапролджє"), std::u16string(u"ФІВАПРОЛДЖЄ")));
    EXPECT_EQ(rowSigns(koi8, 3).first, u"ячсмитьбю)");
    EXPECT_EQ(rowSigns(koi8, 4), std::make_pair(std::u16string(u" "), std::u16string(u" ")));

    EXPECT_EQ(rowSigns(phonetic, 0).first, u")1234567890'=");
    EXPECT_EQ(rowSigns(phonetic, 1), std::make_pair(std::u16string(u"яшертиуіопющ\\"), std::u16string(u"ЯШЕРТИУІОПЮЩ|")));
    EXPECT_EQ(rowSigns(phonetic, 2).first, u"асдфґгйкльж");
    EXPECT_EQ(rowSigns(phonetic, 3), std::make_pair(std::u16string(u"зхцвбнмчєї"), std::u16string(u"ЗХЦВБНМЧЄЇ")));
}

TEST(LayoutGridTest, WithoutTranslationEveryKeyShowsItsUsLatinSignsWhateverTheTable) {
    const std::pair<std::u16string, std::u16string> rows[] = {
        {u"`1234567890-=", u"~!@#$%^&*()_+"},
        {u"qwertyuiop[]\\", u"QWERTYUIOP{}|"},
        {u"asdfghjkl;'", u"ASDFGHJKL:\""},
        {u"zxcvbnm,./", u"ZXCVBNM<>?"},
        {u" ", u" "},
    };
    for (const Table& t : kTables) {
        for (bool translated : {false, true}) {
            for (Coding coding : {t.coding, Coding::Disabled}) {
                if (translated && coding != Coding::Disabled) continue;  // that is Ukrainian
                const LayoutView view(choices(coding, t.layout), translated);
                EXPECT_NE(view.Mode(), TypingMode::Ukrainian);
                for (int row = 0; row < kGridRows; ++row) EXPECT_EQ(rowSigns(view, row), rows[row]) << row;
                for (int i = 0; i < gridKeyCount(); ++i) EXPECT_FALSE(view.Translates(gridKeys()[i]));
            }
        }
    }
}

TEST(LayoutGridTest, ClickableKeysAndLabels) {
    std::vector<std::string> pressedNames, labels;
    for (int i = 0; i < gridKeyCount(); ++i) {
        const GridKey& key = gridKeys()[i];
        if (key.action == KeyAction::Presses) pressedNames.push_back(key.name);
        if (key.action == KeyAction::Label) labels.push_back(key.name);
        const KeySigns signs = LayoutView(choices(Coding::Koi8, Layout::Phonetic), true).SignsOf(key);
        if (key.action != KeyAction::Types) {
            EXPECT_EQ(signs, (KeySigns{0, 0})) << key.name;
        }
    }
    EXPECT_EQ(pressedNames, (std::vector<std::string>{"Backspace", "Tab", "Enter"}));
    EXPECT_EQ(labels, (std::vector<std::string>{"Caps Lock", "Shift", "Shift"}));
}

TEST(LayoutGridTest, TitleNamesTheCodingAndLayoutOrWhyNothingIsTranslated) {
    EXPECT_STREQ(LayoutView(choices(Coding::Cp1251, Layout::Typewriter), true).Title(),
                 "Vyrtel layout: Ukrainian, CP1251, typewriter");
    EXPECT_STREQ(LayoutView(choices(Coding::Koi8, Layout::Phonetic), true).Title(),
                 "Vyrtel layout: Ukrainian, KOI8, phonetic");
    EXPECT_STREQ(LayoutView(choices(Coding::Koi8, Layout::Phonetic), false).Title(),
                 "Vyrtel layout: Latin, translation is off (KOI8, phonetic)");
    for (bool translated : {false, true}) {
        EXPECT_STREQ(LayoutView(choices(Coding::Disabled, Layout::Phonetic), translated).Title(),
                     "Vyrtel layout: Latin, Disable: nothing is translated");
    }
}

TEST(LayoutGridTest, ViewsDifferExactlyWhenTheWindowWouldLookDifferent) {
    const LayoutView base(choices(Coding::Koi8, Layout::Typewriter), true);
    EXPECT_FALSE(base == LayoutView(choices(Coding::Koi8, Layout::Phonetic), true));
    EXPECT_FALSE(base == LayoutView(choices(Coding::Cp1251, Layout::Typewriter), true));
    EXPECT_FALSE(base == LayoutView(choices(Coding::Koi8, Layout::Typewriter), false));
    EXPECT_FALSE(LayoutView(choices(Coding::Koi8, Layout::Typewriter), false) ==
                 LayoutView(choices(Coding::Cp1251, Layout::Typewriter), false))
        << "the titles name the codings";
    EXPECT_TRUE(base == LayoutView(choices(Coding::Koi8, Layout::Typewriter), true));
    EXPECT_TRUE(LayoutView(choices(Coding::Disabled, Layout::Typewriter), true) ==
                LayoutView(choices(Coding::Disabled, Layout::Phonetic), false));
}

TEST(LayoutGridTest, EveryKeyIsFoundAtItsOwnBoxAndTheGapsHitNothing) {
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const GridMetrics m = metricsFor(dpi);
        EXPECT_EQ(m.unit, 40 * dpi / 96);
        for (int i = 0; i < gridKeyCount(); ++i) {
            const KeyBox box = boxOf(m, gridKeys()[i]);
            EXPECT_GT(box.right - box.left, m.unit / 2);
            EXPECT_GE(box.left, m.margin);
            EXPECT_LE(box.right, m.ClientWidth() - m.margin);
            EXPECT_LE(box.bottom, m.ClientHeight() - m.margin);
            EXPECT_EQ(keyAt(m, (box.left + box.right) / 2, (box.top + box.bottom) / 2), i);
            EXPECT_EQ(keyAt(m, box.left, box.top), i);
            EXPECT_EQ(keyAt(m, box.right - 1, box.bottom - 1), i);
            EXPECT_EQ(keyAt(m, box.right, box.top), -1) << "the gap after a key";
        }
        EXPECT_EQ(keyAt(m, 0, 0), -1);
        EXPECT_EQ(keyAt(m, m.margin + 2, m.margin + 4 * m.unit + m.unit / 2), -1) << "beside the space bar";
    }
}

}  // namespace
}  // namespace vyrtel

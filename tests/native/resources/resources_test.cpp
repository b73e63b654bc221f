// The resources of the program file: exactly the ones the program and the
// platform use, language-neutral, with the pictures, the two dialog
// templates and the version record as the program's users see them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "pe_resources.h"

namespace {

constexpr std::uint16_t kRtBitmap = 2, kRtIcon = 3, kRtDialog = 5, kRtGroupIcon = 14, kRtVersion = 16;

class ProgramResources : public ::testing::Test {
protected:
    // The program file of the Windows build under test, as ctest names it.
    // Read once; a file that cannot be read fails every test (a throw in
    // SetUpTestSuite would only mark them skipped).
    static void SetUpTestSuite() {
        const char* file = std::getenv("VYRTEL_PROGRAM_FILE");
        try {
            if (file == nullptr) throw std::runtime_error("VYRTEL_PROGRAM_FILE names no program file");
            all = new std::vector<peres::Resource>(peres::readResources(file));
        } catch (const std::exception& e) {
            *readError = e.what();
        }
    }
    void SetUp() override { ASSERT_TRUE(all != nullptr) << *readError; }
    static void TearDownTestSuite() {
        delete all;
        all = nullptr;
    }

    static const peres::Resource& get(std::uint16_t type, std::uint16_t id) {
        const peres::Resource* r = peres::find(*all, type, id);
        if (!r) throw std::runtime_error("missing resource " + std::to_string(type) + "/" + std::to_string(id));
        return *r;
    }
    static std::uint32_t u32(const std::vector<std::uint8_t>& d, std::size_t at) {
        return d.at(at) | d.at(at + 1) << 8 | d.at(at + 2) << 16 | std::uint32_t(d.at(at + 3)) << 24;
    }
    static std::uint16_t u16(const std::vector<std::uint8_t>& d, std::size_t at) {
        return std::uint16_t(d.at(at) | d.at(at + 1) << 8);
    }

    static std::vector<peres::Resource>* all;
    static std::string* readError;
};

std::vector<peres::Resource>* ProgramResources::all = nullptr;
std::string* ProgramResources::readError = new std::string;

TEST_F(ProgramResources, AreExactlyTheIconPicturesDialogsAndVersionAllLanguageNeutral) {
    std::set<std::pair<int, int>> found;
    for (const auto& r : *all) {
        found.emplace(r.type, r.id);
        EXPECT_EQ(r.language, 0) << r.type << "/" << r.id;
    }
    const std::set<std::pair<int, int>> expected = {
        {kRtIcon, 1}, {kRtIcon, 2}, {kRtIcon, 3}, {kRtGroupIcon, 1001}, {kRtBitmap, 1},
        {kRtBitmap, 2}, {kRtDialog, 2000}, {kRtDialog, 2001}, {kRtVersion, 1},
    };
    EXPECT_EQ(found, expected);
    EXPECT_EQ(all->size(), expected.size()) << "one language each";
}

// ---- Icon and pictures ----

TEST_F(ProgramResources, IconGroupHoldsThreeImagesInOrderWithTheirSizesAndDepths) {
    const auto& group = get(kRtGroupIcon, 1001).data;
    ASSERT_EQ(u16(group, 2), 1);  // icons, not cursors
    ASSERT_EQ(u16(group, 4), 3);
    struct Expected { int width, height, colours, bits, bytes, id; };
    const Expected images[] = {{32, 32, 16, 4, 744, 1}, {32, 32, 2, 1, 304, 2}, {16, 16, 16, 4, 296, 3}};
    for (int i = 0; i < 3; ++i) {
        const std::size_t e = 6 + 14 * i;
        const Expected& want = images[i];
        EXPECT_EQ(group.at(e), want.width) << i;
        EXPECT_EQ(group.at(e + 1), want.height) << i;
        EXPECT_EQ(group.at(e + 2), want.colours) << i;
        EXPECT_EQ(u16(group, e + 6), want.bits) << i;
        EXPECT_EQ(u32(group, e + 8), std::uint32_t(want.bytes)) << i;
        EXPECT_EQ(u16(group, e + 12), want.id) << i;
        const auto& image = get(kRtIcon, want.id).data;
        EXPECT_EQ(image.size(), std::size_t(want.bytes)) << i;
        EXPECT_EQ(u32(image, 4), std::uint32_t(want.width)) << i;
        EXPECT_EQ(u32(image, 8), std::uint32_t(want.height * 2)) << "colour and mask halves, image " << i;
        EXPECT_EQ(u16(image, 14), want.bits) << i;
    }
}

// Colour of pixel (x, y), top row 0, of a DIB with a palette.
std::tuple<int, int, int> pixel(const std::vector<std::uint8_t>& dib, int x, int y) {
    const int width = int(dib.at(4) | dib.at(5) << 8);
    const int height = int(dib.at(8) | dib.at(9) << 8);
    const int bits = dib.at(14);
    const int rows = height == 2 * width ? height / 2 : height;  // icons store the mask below
    const std::size_t palette = 40;
    const std::size_t pixels = palette + 4 * (std::size_t(1) << bits);
    const std::size_t stride = (width * bits + 31) / 32 * 4;
    const std::size_t row = pixels + stride * (rows - 1 - y);
    const int bitOffset = x * bits;
    const int index = (dib.at(row + bitOffset / 8) >> (8 - bits - bitOffset % 8)) & ((1 << bits) - 1);
    const std::size_t p = palette + 4 * index;
    return {dib.at(p + 2), dib.at(p + 1), dib.at(p)};
}

bool blueish(std::tuple<int, int, int> c) { return std::get<2>(c) > 100 && std::get<2>(c) > std::get<0>(c) + 60; }
bool yellowish(std::tuple<int, int, int> c) { return std::get<0>(c) > 180 && std::get<1>(c) > 140 && std::get<2>(c) < 90; }

TEST_F(ProgramResources, IconShowsAGreyKeyboardOverBlueAboveAndYellowBelow) {
    const auto& icon = get(kRtIcon, 1).data;
    EXPECT_TRUE(blueish(pixel(icon, 2, 2)));
    EXPECT_TRUE(yellowish(pixel(icon, 29, 29)));
    int grey = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) grey += pixel(icon, x, y) == std::make_tuple(192, 192, 192);
    }
    EXPECT_GT(grey, 60) << "light-grey keys";
    const auto& small = get(kRtIcon, 3).data;
    EXPECT_TRUE(blueish(pixel(small, 2, 2)));
    EXPECT_TRUE(yellowish(pixel(small, 14, 14)));
}

TEST_F(ProgramResources, EmblemIs45By62In256ColoursWithAYellowTridentOnBlue) {
    const auto& emblem = get(kRtBitmap, 1).data;
    EXPECT_EQ(u32(emblem, 4), 45u);
    EXPECT_EQ(u32(emblem, 8), 62u);
    EXPECT_EQ(u16(emblem, 14), 8);
    EXPECT_TRUE(yellowish(pixel(emblem, 22, 30))) << "the trident's middle prong";
    EXPECT_TRUE(blueish(pixel(emblem, 8, 20))) << "the shield";
    const auto corner = pixel(emblem, 0, 61);
    EXPECT_LT(std::get<0>(corner) + std::get<1>(corner) + std::get<2>(corner), 250) << "dark background";
}

TEST_F(ProgramResources, TitleIs195By32In16ColoursLetteredYellowOnBlue) {
    const auto& title = get(kRtBitmap, 2).data;
    EXPECT_EQ(u32(title, 4), 195u);
    EXPECT_EQ(u32(title, 8), 32u);
    EXPECT_EQ(u16(title, 14), 4);
    int yellow = 0, blue = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 195; ++x) {
            yellow += yellowish(pixel(title, x, y));
            blue += blueish(pixel(title, x, y));
        }
    }
    EXPECT_GT(yellow, 600);
    EXPECT_GT(blue, 3000);
    EXPECT_TRUE(blueish(pixel(title, 2, 2)));
}

// ---- Dialog templates ----

using Box = std::array<int, 4>;  // x, y, width, height in dialog units

Box boxOf(const peres::Dialog& d) { return {d.x, d.y, d.cx, d.cy}; }
Box boxOf(const peres::DialogItem& i) { return {i.x, i.y, i.cx, i.cy}; }

struct Item {
    int id;
    const char* windowClass;  // nullptr: the standard class `atom`
    int atom;
    const char* text;
    int x, y, cx, cy;
    std::uint32_t style;
};

void expectItems(const peres::Dialog& dialog, const std::vector<Item>& expected) {
    ASSERT_EQ(dialog.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const peres::DialogItem& got = dialog.items[i];
        const Item& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        EXPECT_EQ(got.id, std::uint16_t(want.id));
        if (want.windowClass) {
            EXPECT_FALSE(got.windowClass.isOrdinal);
            EXPECT_EQ(got.windowClass.text, want.windowClass);
        } else {
            EXPECT_TRUE(got.windowClass.isOrdinal);
            EXPECT_EQ(got.windowClass.ordinal, want.atom);
        }
        EXPECT_FALSE(got.text.isOrdinal);
        EXPECT_EQ(got.text.text, want.text);
        EXPECT_EQ(boxOf(got), (Box{want.x, want.y, want.cx, want.cy}));
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, 0u);
    }
}

constexpr int kButtonAtom = 0x80, kStaticAtom = 0x82;

TEST_F(ProgramResources, ControlDialogTemplateIsExactlyAsDesigned) {
    const peres::Dialog d = peres::parseDialog(get(kRtDialog, 2000).data);
    EXPECT_EQ(d.style, 0x40C00044u);
    EXPECT_EQ(d.exStyle, 0x00010000u);
    EXPECT_EQ(boxOf(d), (Box{6, 15, 181, 122}));
    EXPECT_TRUE(!d.menu.isOrdinal && d.menu.text.empty()) << "no menu";
    EXPECT_EQ(d.windowClass.text, "BorDlg_Gray");
    EXPECT_EQ(d.caption, "Dialog Client");
    EXPECT_EQ(d.pointSize, 10);
    EXPECT_EQ(d.face, "Arial");
    expectItems(d, {
        {108, nullptr, kButtonAtom, "", 124, 16, 27, 31, 0x5000030B},
        {1, "BorBtn", 0, "Minimize", 140, 96, 37, 21, 0x50010001},
        {2, "BorBtn", 0, "Exit", 100, 96, 37, 21, 0x50010000},
        {65535, "BorShade", 0, "About", 119, 3, 37, 48, 0x50008101},
        {110, nullptr, kStaticAtom, "#1", 124, 16, 27, 31, 0x50000B0E},
        {201, "BorShade", 0, "Coding", 4, 3, 92, 48, 0x50028101},
        {101, "BorRadio", 0, "Ukrainian - KOI8", 8, 16, 80, 12, 0x50010004},
        {102, "BorRadio", 0, "Ukrainian - CP1251", 8, 27, 80, 12, 0x50010004},
        {103, "BorRadio", 0, "Disable", 8, 37, 80, 12, 0x50010004},
        {202, "BorShade", 0, "Toggle", 4, 57, 92, 60, 0x50028101},
        {104, "BorRadio", 0, "Ctrl+Shift (Left/Right)", 8, 69, 84, 12, 0x50010004},
        {105, "BorRadio", 0, "Scroll Lock", 8, 80, 84, 12, 0x50010004},
        {106, "BorRadio", 0, "Num Lock", 8, 91, 84, 12, 0x50010004},
        {107, "BorRadio", 0, "Ctrl+Shift (Cycled)", 8, 101, 84, 12, 0x50010004},
        {111, "BorRadio", 0, "Typewriter", 113, 68, 48, 12, 0x50010004},
        {112, "BorRadio", 0, "Phonetic", 113, 79, 48, 12, 0x50010004},
        {109, "BorShade", 0, "Layout", 109, 56, 56, 36, 0x50028101},
    });
}

TEST_F(ProgramResources, AboutBoxTemplateIsExactlyAsDesigned) {
    const peres::Dialog d = peres::parseDialog(get(kRtDialog, 2001).data);
    EXPECT_EQ(d.style, 0x90C008C4u);
    EXPECT_EQ(d.style & 0x00080000u, 0u) << "no system menu, hence no close box";
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(boxOf(d), (Box{-6, 0, 143, 93}));
    EXPECT_EQ(d.windowClass.text, "BorDlg_Gray");
    EXPECT_EQ(d.caption, "About Vyrtel");
    EXPECT_EQ(d.pointSize, 10);
    EXPECT_EQ(d.face, "MS Sans Serif");
    ASSERT_EQ(d.items.size(), 6u);
    const std::string text = d.items[1].text.text;
    EXPECT_EQ(text.substr(0, text.find('\n')), "Version 0.6");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << "three lines";
    EXPECT_EQ(text.find('\r'), std::string::npos) << "separated by line feeds alone";
    expectItems(d, {
        {1, "BorBtn", 0, "", 56, 68, 33, 21, 0x50010001},
        {101, "BorStatic", 0, text.c_str(), 60, 28, 48, 28, 0x50000000},
        {65535, nullptr, kStaticAtom, "#1", 4, 8, 23, 31, 0x5000080E},
        {65535, nullptr, kStaticAtom, "#2", 36, 8, 98, 16, 0x5000080E},
        {102, "BorShade", 0, "", 32, 4, 106, 56, 0x50000101},
        {103, "BorShade", 0, "", 4, 64, 136, 1, 0x50000002},
    });
}

// ---- Version record ----

TEST_F(ProgramResources, VersionRecordCarriesTheFixedNumbersAndTheNineStringsInOrder) {
    const peres::VersionRecord v = peres::parseVersion(get(kRtVersion, 1).data);
    EXPECT_EQ(v.fileVersionMS, 0x00000005u);   // 0.5
    EXPECT_EQ(v.fileVersionLS, 0x00010000u);   // .1.0
    EXPECT_EQ(v.productVersionMS, 0x00000005u);
    EXPECT_EQ(v.productVersionLS, 0x00010000u);
    EXPECT_EQ(v.flagsMask, 0u);
    EXPECT_EQ(v.flags, 0x3Fu);
    EXPECT_EQ(v.os, 4u);    // VOS__WINDOWS32
    EXPECT_EQ(v.type, 1u);  // VFT_APP
    EXPECT_EQ(v.subtype, 0u);
    EXPECT_EQ(v.dateMS, 0u);
    EXPECT_EQ(v.dateLS, 0u);
    EXPECT_EQ(v.stringTable, "040904E4");
    const std::vector<std::string> keys = {"CompanyName", "FileDescription", "FileVersion", "InternalName",
                                           "LegalCopyright", "LegalTrademarks", "OriginalFilename",
                                           "ProductName", "ProductVersion"};
    ASSERT_EQ(v.strings.size(), keys.size());
    std::map<std::string, std::string> values;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(v.strings[i].first, keys[i]);
        values[v.strings[i].first] = v.strings[i].second;
    }
    EXPECT_FALSE(values["CompanyName"].empty());
    EXPECT_FALSE(values["LegalCopyright"].empty());
    EXPECT_EQ(values["FileDescription"], "Vyrtel for Windows NT/95");
    EXPECT_EQ(values["FileVersion"], "0.51");
    EXPECT_EQ(values["InternalName"], "Vyrtel");
    EXPECT_EQ(values["LegalTrademarks"], "Windows(TM) is a trademark of Microsoft Corporation");
    EXPECT_EQ(values["OriginalFilename"], "Vyrtel.exe");
    EXPECT_EQ(values["ProductName"], "Vyrtel");
    EXPECT_EQ(values["ProductVersion"], "0.51");
    EXPECT_EQ(v.translation, (std::vector<std::uint16_t>{0x0409, 1252}));
}

}  // namespace

#include "app/layout_grid.h"

namespace vyrtel {

namespace {

// The platform's virtual keys of the keys that type themselves.
constexpr std::uint8_t kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D;

constexpr GridKey sign(int row, int left, std::uint8_t scanCode, char lower, char upper, int width = 4) {
    return GridKey{static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(width),
                   KeyAction::Types, scanCode, lower, upper, nullptr};
}

constexpr GridKey pressed(int row, int left, int width, std::uint8_t virtualKey, const char* name) {
    return GridKey{static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(width),
                   KeyAction::Presses, virtualKey, 0, 0, name};
}

constexpr GridKey label(int row, int left, int width, const char* name) {
    return GridKey{static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(width),
                   KeyAction::Label, 0, 0, 0, name};
}

// A run of one-wide keys with consecutive scan codes, as the US keyboard's
// rows have them.
struct Run {
    int row, left;
    std::uint8_t firstScanCode;
    const char* lower;
    const char* upper;
};

constexpr Run kRuns[] = {
    {0, 4, 0x02, "1234567890-=", "!@#$%^&*()_+"},
    {1, 6, 0x10, "qwertyuiop[]", "QWERTYUIOP{}"},
    {2, 7, 0x1E, "asdfghjkl;'", "ASDFGHJKL:\""},
    {3, 9, 0x2C, "zxcvbnm,./", "ZXCVBNM<>?"},
};

constexpr int length(const char* text) {
    int n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

constexpr int kKeyCount = 1 + 12 + 1 + 1 + 12 + 1 + 1 + 11 + 1 + 1 + 10 + 1 + 1;

struct Grid {
    GridKey keys[kKeyCount];
};

constexpr Grid makeGrid() {
    Grid grid{};
    int at = 0;
    auto runOf = [&](const Run& run) {
        for (int i = 0; i < length(run.lower); ++i) {
            grid.keys[at++] = sign(run.row, run.left + 4 * i, static_cast<std::uint8_t>(run.firstScanCode + i),
                                   run.lower[i], run.upper[i]);
        }
    };
    grid.keys[at++] = sign(0, 0, 0x29, '`', '~');
    runOf(kRuns[0]);
    grid.keys[at++] = pressed(0, 52, 8, kVkBack, "Backspace");
    grid.keys[at++] = pressed(1, 0, 6, kVkTab, "Tab");
    runOf(kRuns[1]);
    grid.keys[at++] = sign(1, 54, 0x2B, '\\', '|', 6);
    grid.keys[at++] = label(2, 0, 7, "Caps Lock");
    runOf(kRuns[2]);
    grid.keys[at++] = pressed(2, 51, 9, kVkReturn, "Enter");
    grid.keys[at++] = label(3, 0, 9, "Shift");
    runOf(kRuns[3]);
    grid.keys[at++] = label(3, 49, 11, "Shift");
    grid.keys[at++] = sign(4, 15, 0x39, ' ', ' ', 28);
    return grid;
}

constexpr Grid kGrid = makeGrid();

// Appends `part` to the title at `length`, never past its end.
int append(char* title, int size, int at, const char* part) {
    while (*part != '\0' && at + 1 < size) title[at++] = *part++;
    title[at] = '\0';
    return at;
}

const char* codingName(Coding coding) { return coding == Coding::Koi8 ? "KOI8" : "CP1251"; }
const char* layoutName(Layout layout) { return layout == Layout::Phonetic ? "phonetic" : "typewriter"; }

}  // namespace

const GridKey* gridKeys() { return kGrid.keys; }
int gridKeyCount() { return kKeyCount; }

LayoutView::LayoutView(const Choices& choices, bool translated)
    : mode_(typingModeOf(choices.coding, translated)), title_{} {
    constexpr int size = sizeof title_;
    int at = append(title_, size, 0, "Vyrtel layout: ");
    switch (mode_) {
        case TypingMode::Ukrainian: {
            const Builtin builtin = builtinOf(choices.coding, choices.layout);
            table_ = &builtin.table;
            letters_ = &builtin.letters;
            at = append(title_, size, at, "Ukrainian, ");
            at = append(title_, size, at, codingName(choices.coding));
            at = append(title_, size, at, ", ");
            append(title_, size, at, layoutName(choices.layout));
            break;
        }
        case TypingMode::Latin:
            at = append(title_, size, at, "Latin, translation is off (");
            at = append(title_, size, at, codingName(choices.coding));
            at = append(title_, size, at, ", ");
            at = append(title_, size, at, layoutName(choices.layout));
            append(title_, size, at, ")");
            break;
        case TypingMode::Off:
            append(title_, size, at, "Latin, Disable: nothing is translated");
            break;
    }
}

bool operator==(const LayoutView& a, const LayoutView& b) {
    if (a.mode_ != b.mode_ || a.table_ != b.table_) return false;
    const char* x = a.title_;
    const char* y = b.title_;
    while (*x != '\0' && *x == *y) ++x, ++y;
    return *x == *y;
}

int LayoutView::EntryOf(std::uint8_t scanCode) const {
    if (table_ == nullptr || scanCode == 0) return -1;
    for (int i = 0; i < layouts::kBuiltinEntryCount; ++i) {
        if ((*table_)[i].scanCode == scanCode) return i;
    }
    return -1;
}

bool LayoutView::Translates(const GridKey& key) const {
    return key.action == KeyAction::Types && EntryOf(key.code) >= 0;
}

KeySigns LayoutView::SignsOf(const GridKey& key) const {
    if (key.action != KeyAction::Types) return KeySigns{0, 0};
    if (const int entry = EntryOf(key.code); entry >= 0) {
        return KeySigns{(*letters_)[2 * entry], (*letters_)[2 * entry + 1]};
    }
    return KeySigns{static_cast<char16_t>(key.latinLower), static_cast<char16_t>(key.latinUpper)};
}

GridMetrics metricsFor(int dpi) {
    if (dpi <= 0) dpi = 96;
    const int unit = (40 * dpi + 48) / 96;
    const int gap = unit / 12 > 2 ? unit / 12 : 2;
    return GridMetrics{unit, unit / 4, gap};
}

KeyBox boxOf(const GridMetrics& m, const GridKey& key) {
    const int left = m.margin + key.left * m.unit / 4;
    const int top = m.margin + key.row * m.unit;
    const int right = m.margin + (key.left + key.width) * m.unit / 4;
    const int half = m.gap / 2;
    return KeyBox{left + half, top + half, right - (m.gap - half), top + m.unit - (m.gap - half)};
}

int keyAt(const GridMetrics& m, int x, int y) {
    for (int i = 0; i < kKeyCount; ++i) {
        const KeyBox box = boxOf(m, kGrid.keys[i]);
        if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) return i;
    }
    return -1;
}

}  // namespace vyrtel

// The keyboard the layout window draws, without any window: which keys it
// shows and where, in quarters of a key's width, what each key gives in the
// typing mode in force, and what the window's title says.
//
// - The digit row, the three letter rows and the space bar, as on a US
//   keyboard; Backspace, Tab and Enter type themselves, Caps Lock and the
//   Shift keys are only labels.
// - A key's signs are what a Unicode program receives for it: while typing
//   is Ukrainian, the letters of the table in force (the same tables and
//   letters the library gets); otherwise, and for keys no table holds
//   (backslash, space), the US Latin signs.
#pragma once

#include <cstdint>

#include "app/control_model.h"
#include "app/typing_mode.h"

namespace vyrtel {

// What a click on a key does.
enum class KeyAction : std::uint8_t {
    Types,    // its scan code as a key (the hook translates it)
    Presses,  // its virtual key (Backspace, Tab, Enter)
    Label,    // nothing (Caps Lock, Shift)
};

struct GridKey {
    std::uint8_t row;       // 0: the digit row .. 4: the space bar
    std::uint8_t left;      // quarters of a key width from the row's start
    std::uint8_t width;     // in quarters
    KeyAction action;
    std::uint8_t code;      // scan code (Types) or virtual key (Presses)
    char latinLower;        // the US key cap's signs (Types)
    char latinUpper;
    const char* name;       // the printed name of a Presses or Label key
};

inline constexpr int kGridRows = 5;
inline constexpr int kGridRowQuarters = 60;  // every row is 15 keys wide

// The keys, row by row, each row from the left.
const GridKey* gridKeys();
int gridKeyCount();

// What a key gives without and with Shift (0: nothing to show).
struct KeySigns {
    char16_t lower;
    char16_t upper;

    friend bool operator==(const KeySigns&, const KeySigns&) = default;
};

// The window's picture of the model.
class LayoutView {
public:
    LayoutView(const Choices& choices, bool translated);

    TypingMode Mode() const { return mode_; }
    const char* Title() const { return title_; }
    KeySigns SignsOf(const GridKey& key) const;
    // Whether a key's signs come from the table in force.
    bool Translates(const GridKey& key) const;

    // Equal views look the same: the same keys and the same title.
    friend bool operator==(const LayoutView& a, const LayoutView& b);

private:
    // The table's entry of a scan code, or -1.
    int EntryOf(std::uint8_t scanCode) const;

    TypingMode mode_;
    // The table in force and its letters while typing is Ukrainian, else null.
    const layouts::BuiltinTable* table_ = nullptr;
    const layouts::BuiltinLetters* letters_ = nullptr;
    char title_[80];
};

// Pixel geometry at a given unit (one key's width and height).
struct GridMetrics {
    int unit;
    int margin;
    int gap;  // between neighbouring keys

    int ClientWidth() const { return 2 * margin + kGridRowQuarters * unit / 4; }
    int ClientHeight() const { return 2 * margin + kGridRows * unit; }
};

// A key of 40 pixels at 96 dots per inch, scaled to `dpi`.
GridMetrics metricsFor(int dpi);

struct KeyBox {
    int left, top, right, bottom;
};
KeyBox boxOf(const GridMetrics& metrics, const GridKey& key);

// The index of the key under a client point, or -1 (a gap, the margin).
int keyAt(const GridMetrics& metrics, int x, int y);

}  // namespace vyrtel

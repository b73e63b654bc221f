#include "app/selection_mend/selection_mapping.h"

namespace vyrtel::mend {

namespace {

using layouts::kBuiltinEntryCount;

// The US keyboard by rows of scan codes: each row's first scan code, its
// characters without Shift and with Shift, key by key.
struct UsRow {
    std::uint8_t firstScanCode;
    std::u16string_view plain;
    std::u16string_view shifted;
};
constexpr UsRow kUsRows[] = {
    {0x02, u"1234567890-=", u"!@#$%^&*()_+"},
    {0x10, u"qwertyuiop[]", u"QWERTYUIOP{}"},
    {0x1E, u"asdfghjkl;'`", u"ASDFGHJKL:\"~"},
    {0x2C, u"zxcvbnm,./", u"ZXCVBNM<>?"},
};

bool isLatinLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The table's entries that hold a key (the closing one holds none).
constexpr int kKeyEntries = kBuiltinEntryCount - 1;

struct Found {
    int entry = -1;
    bool shifted = false;
};

Found onLatinSide(char16_t c, const SourceKeys& keys) {
    for (int i = 0; i < kKeyEntries; ++i) {
        const std::uint8_t scan = keys.table[i].scanCode;
        if (usCharacter(scan, false) == c) return {i, false};
        if (usCharacter(scan, true) == c) return {i, true};
    }
    return {};
}

Found onUkrainianSide(char16_t c, const SourceKeys& keys) {
    for (int i = 0; i < kKeyEntries; ++i) {
        if (keys.signs[2 * i] == c) return {i, false};
        if (keys.signs[2 * i + 1] == c) return {i, true};
    }
    return {};
}

// Whether Caps Lock inverts Shift on this key where the keystroke lands.
bool capsAffects(int entry, Side target, const SourceKeys& keys) {
    if (target == Side::Ukrainian) return keys.table[entry].capsFlag == layouts::kLetter;
    return isLatinLetter(usCharacter(keys.table[entry].scanCode, false));
}

}  // namespace

char16_t usCharacter(std::uint8_t scanCode, bool shifted) {
    for (const UsRow& row : kUsRows) {
        if (scanCode >= row.firstScanCode && scanCode < row.firstScanCode + row.plain.size()) {
            return (shifted ? row.shifted : row.plain)[scanCode - row.firstScanCode];
        }
    }
    return 0;
}

Side targetSideOf(std::u16string_view text, const SourceKeys& keys) {
    std::size_t tableLetters = 0;
    std::size_t latinLetters = 0;
    for (char16_t c : text) {
        if (isLatinLetter(c)) {
            ++latinLetters;
        } else if (const Found found = onUkrainianSide(c, keys);
                   found.entry >= 0 && keys.table[found.entry].capsFlag == layouts::kLetter) {
            ++tableLetters;
        }
    }
    return tableLetters > latinLetters ? Side::Latin : Side::Ukrainian;
}

std::size_t retype(std::u16string_view text, Side target, const SourceKeys& keys, bool capsLock, Keystroke* out) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t c = text[at];
        Keystroke& stroke = out[count++];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') ++at;
            stroke = {Keystroke::Kind::Enter, 0, false, 0};
            continue;
        }
        if (c == u' ') {
            stroke = {Keystroke::Kind::Key, kSpaceBarScanCode, false, 0};
            continue;
        }
        const Found found = target == Side::Ukrainian ? onLatinSide(c, keys) : onUkrainianSide(c, keys);
        if (found.entry < 0) {
            stroke = {Keystroke::Kind::Character, 0, false, c};
            continue;
        }
        const bool inverted = capsLock && capsAffects(found.entry, target, keys);
        stroke = {Keystroke::Kind::Key, keys.table[found.entry].scanCode, found.shifted != inverted, 0};
    }
    return count;
}

void replaceText(std::u16string_view text, Side target, const SourceKeys& keys, char16_t* out) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t c = text[at];
        const Found found = target == Side::Ukrainian ? onLatinSide(c, keys) : onUkrainianSide(c, keys);
        const char16_t sign = found.entry < 0 || target == Side::Latin
                                  ? 0
                                  : keys.signs[2 * found.entry + (found.shifted ? 1 : 0)];
        if (found.entry < 0 || (target == Side::Ukrainian && sign == 0)) {
            out[at] = c;
        } else if (target == Side::Ukrainian) {
            out[at] = sign;
        } else {
            out[at] = usCharacter(keys.table[found.entry].scanCode, found.shifted);
        }
    }
}

bool hasLineBreak(std::u16string_view text) {
    return text.find(u'\r') != std::u16string_view::npos || text.find(u'\n') != std::u16string_view::npos;
}

}  // namespace vyrtel::mend

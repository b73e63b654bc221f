#include "app/typing_mode.h"

namespace vyrtel {

namespace {

// Appends `part` to the text at `length`, never past the capacity.
std::size_t append(Tooltip& tip, std::size_t length, const char* part) {
    while (*part != '\0' && length + 1 < kTooltipCapacity) tip.text[length++] = *part++;
    tip.text[length] = '\0';
    return length;
}

}  // namespace

TypingMode typingModeOf(Coding coding, bool translated) {
    if (coding == Coding::Disabled) return TypingMode::Off;
    return translated ? TypingMode::Ukrainian : TypingMode::Latin;
}

Tooltip tooltipOf(TypingMode mode, const Choices& choices) {
    Tooltip tip{};
    std::size_t length = append(tip, 0, "Vyrtel: ");
    switch (mode) {
        case TypingMode::Off:
            append(tip, length, "off");
            break;
        case TypingMode::Latin:
            append(tip, length, "Latin");
            break;
        case TypingMode::Ukrainian:
            length = append(tip, length, "Ukrainian, ");
            length = append(tip, length, choices.coding == Coding::Koi8 ? "KOI8" : "CP1251");
            append(tip, length, choices.layout == Layout::Phonetic ? ", phonetic" : ", typewriter");
            break;
    }
    return tip;
}

}  // namespace vyrtel

// Words of UTF-8 text for the tools that feed the automatic mend's decision.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "automend/decision.h"

namespace vyrtel::automend {

// UTF-16 of a UTF-8 word; false if it is not valid UTF-8 or holds a sign
// beyond the basic plane (which no key types).
inline bool decode(std::string_view text, std::u16string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size() + (extra == 0 ? 1 : 0)) return false;
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (code < kLeast[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
        if (code > 0xFFFF) return false;
        out.push_back(static_cast<char16_t>(code));
        i += 1 + extra;
    }
    return true;
}

inline std::string encode(const char16_t* units, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        const char16_t c = units[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// The layout an option names, or false if it names none.
inline bool layoutNamed(std::string_view name, Layout& layout) {
    if (name == "typewriter") layout = Layout::Typewriter;
    else if (name == "phonetic") layout = Layout::Phonetic;
    else return false;
    return true;
}

// Parses [--layout typewriter|phonetic]; false on anything else.
inline bool layoutOption(int argc, char** argv, Layout& layout) {
    layout = Layout::Typewriter;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.rfind("--layout=", 0) == 0) {
            if (!layoutNamed(arg.substr(9), layout)) return false;
        } else if (arg == "--layout" && i + 1 < argc) {
            if (!layoutNamed(argv[++i], layout)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// Calls take(word) for each white-space-separated word of the line, and
// between(gap) for the white space around them.
template <class Take, class Between>
void eachWord(std::string_view line, Take take, Between between) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
    std::size_t at = 0;
    while (at < line.size()) {
        std::size_t end = at;
        while (end < line.size() && blank(line[end])) ++end;
        if (end > at) between(line.substr(at, end - at));
        at = end;
        while (end < line.size() && !blank(line[end])) ++end;
        if (end > at) take(line.substr(at, end - at));
        at = end;
    }
}

}  // namespace vyrtel::automend

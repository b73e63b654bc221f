// Draws a keyboard diagram of one built-in layout as SVG, straight from the
// tables and letters the program hands to the library: every key shows its
// Latin legend and the two signs it gives (unshifted below, shifted above).
// With --text, writes the same as plain lines of text instead.
//
//   layout_svg typewriter|phonetic [--text] > diagram.svg
#include <cstdio>
#include <cstring>
#include <string>

#include "layouts/builtin_tables.h"

namespace {

using vyrtel::layouts::BuiltinLetters;
using vyrtel::layouts::BuiltinTable;
using vyrtel::layouts::KeyEntry;

// One sign as UTF-8 (the signs are all in the Basic Multilingual Plane).
std::string utf8(char16_t sign) {
    std::string out;
    if (sign < 0x80) {
        out += char(sign);
    } else if (sign < 0x800) {
        out += char(0xC0 | sign >> 6);
        out += char(0x80 | (sign & 0x3F));
    } else {
        out += char(0xE0 | sign >> 12);
        out += char(0x80 | (sign >> 6 & 0x3F));
        out += char(0x80 | (sign & 0x3F));
    }
    return out;
}

// A layout as the program hands it over: a table and the letters of its
// entries. The KOI8 and CP1251 tables of a layout give the same signs.
struct Layout {
    const BuiltinTable& table;
    const BuiltinLetters& letters;
};

// What a key gives, as the letters of its entry say.
struct Signs {
    bool found = false;
    bool letter = false;  // Caps Lock acts on it
    std::string plain, shifted;
};

Signs signsFor(const Layout& layout, std::uint8_t scanCode) {
    for (std::size_t i = 0; i < layout.table.size(); ++i) {
        const KeyEntry& e = layout.table[i];
        if (e.scanCode == scanCode && scanCode != 0) {
            return Signs{true, e.capsFlag != 0, utf8(layout.letters[2 * i]), utf8(layout.letters[2 * i + 1])};
        }
    }
    return Signs{};
}

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

struct Key {
    const char* legend;   // as printed on a US keyboard
    std::uint8_t scanCode;
    double width = 1.0;   // in key widths
};

constexpr double kUnit = 54.0;
constexpr double kGap = 4.0;

void drawKey(std::string& svg, const Layout& layout, const Key& key, double x, double y) {
    const double w = key.width * kUnit - kGap;
    const double h = kUnit - kGap;
    const Signs signs = signsFor(layout, key.scanCode);
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "  <rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" rx=\"5\" class=\"%s\"/>\n",
                  x, y, w, h, signs.found ? "key" : "idle");
    svg += buf;
    std::snprintf(buf, sizeof buf, "  <text x=\"%.1f\" y=\"%.1f\" class=\"legend\">%s</text>\n", x + 5, y + 14,
                  escape(key.legend).c_str());
    svg += buf;
    if (!signs.found) return;
    std::snprintf(buf, sizeof buf, "  <text x=\"%.1f\" y=\"%.1f\" class=\"shifted\">%s</text>\n", x + w - 6, y + 19,
                  escape(signs.shifted).c_str());
    svg += buf;
    std::snprintf(buf, sizeof buf, "  <text x=\"%.1f\" y=\"%.1f\" class=\"%s\">%s</text>\n", x + w / 2, y + h - 9,
                  signs.letter ? "letter" : "sign", escape(signs.plain).c_str());
    svg += buf;
}

std::string diagram(const Layout& layout, const char* title) {
    const Key rows[4][15] = {
        {{"`", 0x29}, {"1", 0x02}, {"2", 0x03}, {"3", 0x04}, {"4", 0x05}, {"5", 0x06}, {"6", 0x07},
         {"7", 0x08}, {"8", 0x09}, {"9", 0x0A}, {"0", 0x0B}, {"-", 0x0C}, {"=", 0x0D}, {"Backspace", 0, 2.0}},
        {{"Tab", 0, 1.5}, {"Q", 0x10}, {"W", 0x11}, {"E", 0x12}, {"R", 0x13}, {"T", 0x14}, {"Y", 0x15},
         {"U", 0x16}, {"I", 0x17}, {"O", 0x18}, {"P", 0x19}, {"[", 0x1A}, {"]", 0x1B}, {"\\", 0x2B, 1.5}},
        {{"Caps Lock", 0, 1.75}, {"A", 0x1E}, {"S", 0x1F}, {"D", 0x20}, {"F", 0x21}, {"G", 0x22}, {"H", 0x23},
         {"J", 0x24}, {"K", 0x25}, {"L", 0x26}, {";", 0x27}, {"'", 0x28}, {"Enter", 0, 2.25}},
        {{"Shift", 0, 2.25}, {"Z", 0x2C}, {"X", 0x2D}, {"C", 0x2E}, {"V", 0x2F}, {"B", 0x30}, {"N", 0x31},
         {"M", 0x32}, {",", 0x33}, {".", 0x34}, {"/", 0x35}, {"Shift", 0, 2.75}},
    };
    const double width = 15 * kUnit + 2 * kGap, height = 4 * kUnit + 40;
    std::string svg;
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
                  "viewBox=\"0 0 %.0f %.0f\">\n",
                  width, height, width, height);
    svg += buf;
    svg +=
        "  <style>\n"
        "    text { font-family: 'DejaVu Sans', Arial, sans-serif; }\n"
        "    .key { fill: #f4f4f0; stroke: #7a7a7a; }\n"
        "    .idle { fill: #d4d4d0; stroke: #9a9a9a; }\n"
        "    .legend { font-size: 11px; fill: #8a8a8a; }\n"
        "    .shifted { font-size: 14px; fill: #1f4f9a; text-anchor: end; }\n"
        "    .letter { font-size: 22px; fill: #111111; text-anchor: middle; }\n"
        "    .sign { font-size: 18px; fill: #111111; text-anchor: middle; }\n"
        "    .title { font-size: 15px; font-weight: bold; fill: #222222; }\n"
        "  </style>\n"
        "  <rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    std::snprintf(buf, sizeof buf, "  <text x=\"%.1f\" y=\"22\" class=\"title\">%s</text>\n", kGap, title);
    svg += buf;
    for (int r = 0; r < 4; ++r) {
        double x = kGap;
        const double y = 34 + r * kUnit;
        for (const Key& key : rows[r]) {
            if (!key.legend) break;
            drawKey(svg, layout, key, x, y);
            x += key.width * kUnit;
        }
    }
    svg += "</svg>\n";
    return svg;
}

// Each row of keys as two lines: the Latin legends, then what they give.
std::string text(const Layout& layout) {
    static const char* const rows[] = {"`1234567890-=", "QWERTYUIOP[]", "ASDFGHJKL;'", "ZXCVBNM,./"};
    static const std::uint8_t scans[][13] = {
        {0x29, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D},
        {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B},
        {0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28},
        {0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35},
    };
    std::string out;
    for (int r = 0; r < 4; ++r) {
        std::string keys = "  key:       ", plain = "  plain:     ", shifted = "  Shift:     ";
        for (std::size_t k = 0; rows[r][k]; ++k) {
            const Signs signs = signsFor(layout, scans[r][k]);
            keys += std::string(1, rows[r][k]) + "  ";
            plain += (signs.found ? signs.plain : std::string(" ")) + "  ";
            shifted += (signs.found ? signs.shifted : std::string(" ")) + "  ";
        }
        for (std::string* line : {&keys, &plain, &shifted}) line->resize(line->size() - 2);
        out += keys + "\n" + plain + "\n" + shifted + "\n\n";
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const bool asText = argc == 3 && std::strcmp(argv[2], "--text") == 0;
    if ((argc != 2 && !asText) || (std::strcmp(argv[1], "typewriter") != 0 && std::strcmp(argv[1], "phonetic") != 0)) {
        std::fprintf(stderr, "usage: %s typewriter|phonetic [--text] > diagram.svg\n", argv[0]);
        return 2;
    }
    const bool typewriter = std::strcmp(argv[1], "typewriter") == 0;
    using namespace vyrtel::layouts;
    const Layout layout = typewriter ? Layout{kCp1251Typewriter, kCp1251TypewriterLetters}
                                     : Layout{kCp1251Phonetic, kCp1251PhoneticLetters};
    if (asText) {
        std::fputs(text(layout).c_str(), stdout);
        return 0;
    }
    const std::string svg =
        diagram(layout, typewriter ? "Vyrtel: typewriter layout (lower sign plain, upper sign with Shift)"
                                   : "Vyrtel: phonetic layout (lower sign plain, upper sign with Shift)");
    std::fputs(svg.c_str(), stdout);
    return 0;
}

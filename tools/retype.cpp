// retype: text as it comes out when typed in the wrong mode. Each word of
// standard input is replaced by what its keys give in the other mode (a
// word with a Ukrainian letter was typed translated, any other not); words
// no key types are copied as they are. For measuring the automatic mend.
//     retype [--layout typewriter|phonetic] < text
#include <cstdio>
#include <iostream>
#include <string>

#include "automend/text_signs.h"
#include "text_words.h"

int main(int argc, char** argv) {
    using namespace vyrtel::automend;
    Layout layout;
    if (!layoutOption(argc, argv, layout)) {
        std::fputs("usage: retype [--layout typewriter|phonetic] < text\n", stderr);
        return 2;
    }
    std::ios::sync_with_stdio(false);
    std::string line;
    std::string out;
    std::u16string signs;
    char16_t other[kMaxSigns];
    while (std::getline(std::cin, line)) {
        eachWord(
            line,
            [&](std::string_view word) {
                if (decode(word, signs) && signs.size() <= static_cast<std::size_t>(kMaxSigns) &&
                    otherSigns(signs.data(), static_cast<int>(signs.size()), layout, other) != Typing::Untypeable) {
                    out += encode(other, static_cast<int>(signs.size()));
                } else {
                    out.append(word);
                }
            },
            [&](std::string_view gap) { out.append(gap); });
        out.push_back('\n');
        if (out.size() > 1 << 16) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

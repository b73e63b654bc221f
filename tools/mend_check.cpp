// mend-check: the automatic mend's decision on text. Reads UTF-8 lines,
// takes each white-space-separated word as typed in one go, and prints for
// each whether the library would mend it:
//     mend<TAB>WORD<TAB>MENDED | keep<TAB>WORD | skip<TAB>WORD
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "automend/decision.h"
#include "automend/text_signs.h"
#include "text_words.h"

namespace {

using vyrtel::automend::decode;
using vyrtel::automend::encode;
using vyrtel::automend::Layout;
using vyrtel::automend::Typing;

void decide(std::string_view word, Layout layout, std::string& out) {
    std::u16string signs;
    char16_t other[vyrtel::automend::kMaxSigns];
    Typing typing = Typing::Untypeable;
    if (decode(word, signs) && !signs.empty()) {
        if (signs.size() > static_cast<std::size_t>(vyrtel::automend::kMaxSigns)) {
            out.append("keep\t").append(word).append("\n");
            return;
        }
        typing = vyrtel::automend::otherSigns(signs.data(), static_cast<int>(signs.size()), layout, other);
    }
    if (typing == Typing::Untypeable) {
        out.append("skip\t").append(word).append("\n");
        return;
    }
    const vyrtel::automend::TypedSigns typed{signs.data(), other, static_cast<int>(signs.size()),
                                             typing == Typing::Translated, layout};
    if (vyrtel::automend::shouldMend(typed)) {
        out.append("mend\t").append(word).append("\t").append(encode(other, static_cast<int>(signs.size()))).append("\n");
    } else {
        out.append("keep\t").append(word).append("\n");
    }
}

int usage() {
    std::fputs("usage: mend-check [--layout typewriter|phonetic] < text\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Layout layout;
    if (!vyrtel::automend::layoutOption(argc, argv, layout)) return usage();
    std::ios::sync_with_stdio(false);
    std::string line;
    std::string out;
    while (std::getline(std::cin, line)) {
        vyrtel::automend::eachWord(line, [&](std::string_view word) { decide(word, layout, out); },
                                   [](std::string_view) {});
        if (out.size() > 1 << 16) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

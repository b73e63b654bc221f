// Calls the automatic mend's decision on one ten-letter word N times. Run
// under
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect=vyrtel_bench_mend
// the collected instruction count divided by N is the cost of one decision.
//   0: `gfhfvtnhsd` typed untranslated, mended to `параметрів`
//   1: `ашдуініеуь` typed translated, mended to `filesystem`
//   2: `everything` typed untranslated, kept
//   3: `обчислення` typed translated, kept
#include <cstdio>
#include <cstdlib>
#include <string>

#include "automend/decision.h"
#include "automend/text_signs.h"

extern "C" __attribute__((noinline)) bool vyrtel_bench_mend(const vyrtel::automend::TypedSigns& word) {
    return vyrtel::automend::shouldMend(word);
}

int main(int argc, char** argv) {
    static const char16_t* const kWords[] = {u"gfhfvtnhsd", u"ашдуініеуь", u"everything", u"обчислення"};
    if (argc != 3 || std::atoi(argv[1]) < 0 || std::atoi(argv[1]) > 3) {
        std::fprintf(stderr, "usage: %s CASE(0-3) CALLS\n", argv[0]);
        return 2;
    }
    const std::u16string typed = kWords[std::atoi(argv[1])];
    char16_t other[vyrtel::automend::kMaxSigns];
    const int count = static_cast<int>(typed.size());
    const auto typing = vyrtel::automend::otherSigns(typed.data(), count, vyrtel::automend::Layout::Typewriter, other);
    const vyrtel::automend::TypedSigns word{typed.data(), other, count,
                                            typing == vyrtel::automend::Typing::Translated,
                                            vyrtel::automend::Layout::Typewriter};
    const long calls = std::atol(argv[2]);
    long mended = 0;
    for (long i = 0; i < calls; ++i) mended += vyrtel_bench_mend(word);
    std::printf("%ld of %ld mended\n", mended, calls);
    return 0;
}

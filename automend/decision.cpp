#include "automend/decision.h"

#include "automend/word_model.h"

namespace vyrtel::automend {
namespace {

using model::kEnglishSigns;
using model::kUkrainianSigns;
using model::kUnitsPerBit;

// Fewer letters than this are never mended: short words are too often
// both (`in`, `no`, `to` against `шт`, `тщ`, `ещ`), and too cheap to retype.
constexpr int kMinLetters = 3;
// A word of capitals alone is mended only from this length: shorter ones
// are mostly abbreviations (`CSV` is also `СІМ`).
constexpr int kMinCapitals = 4;
// What a sign that is no letter, apostrophe or hyphen costs inside a word,
// and what a punctuation mark costs at its edge.
constexpr int kForeignCost = 16 * kUnitsPerBit;
constexpr int kEdgeCost = 4 * kUnitsPerBit;
// The other form must be this much likelier than the typed one...
constexpr int kMargin = 4 * kUnitsPerBit;
// ...and plausible on its own: at most this much surprise per trigram,
// in eighths of a bit per sixteenth of a trigram.
constexpr int kPlausibleSixteenths = 5 * kUnitsPerBit * 16;

enum class Kind : std::uint8_t { Other, Letter, Apostrophe, Hyphen, Digit };

struct Sign {
    Kind kind;
    std::uint8_t code;  // the model's code of a letter or apostrophe
    bool upper;
};

// Codes of а to я in Unicode order; 0 for the Russian ъ ы э.
constexpr std::uint8_t kCyrillicCodes[32] = {
    1, 2, 3, 4, 6, 7, 9, 10, 11, 14, 15, 16, 17, 18, 19, 20,
    21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 0, 0, 31, 0, 32, 33,
};

Sign classify(char16_t c, bool ukrainian) {
    if (c == u'\'') return {Kind::Apostrophe, static_cast<std::uint8_t>(ukrainian ? kUkrainianSigns - 1 : kEnglishSigns - 1), false};
    if (c == u'-') return {Kind::Hyphen, 0, false};
    if (c >= u'0' && c <= u'9') return {Kind::Digit, 0, false};
    if (!ukrainian) {
        if (c >= u'a' && c <= u'z') return {Kind::Letter, static_cast<std::uint8_t>(c - u'a' + 1), false};
        if (c >= u'A' && c <= u'Z') return {Kind::Letter, static_cast<std::uint8_t>(c - u'A' + 1), true};
        return {Kind::Other, 0, false};
    }
    bool upper = false;
    if (c >= u'\u0410' && c <= u'\u042F') {
        c = static_cast<char16_t>(c + 0x20);
        upper = true;
    } else if (c == u'\u0490' || c == u'\u0404' || c == u'\u0406' || c == u'\u0407') {
        c = static_cast<char16_t>(c == u'\u0490' ? c + 1 : c + 0x50);
        upper = true;
    }
    std::uint8_t code = 0;
    if (c >= u'\u0430' && c <= u'\u044F') code = kCyrillicCodes[c - u'\u0430'];
    else if (c == u'\u0491') code = 5;   // ґ
    else if (c == u'\u0454') code = 8;   // є
    else if (c == u'\u0456') code = 12;  // і
    else if (c == u'\u0457') code = 13;  // ї
    if (code == 0) return {Kind::Other, 0, false};
    return {Kind::Letter, code, upper};
}

bool opensWord(char16_t c) {
    return c == u'(' || c == u'"' || c == u'\'' || c == u'\u00AB';
}

bool closesWord(char16_t c) {
    return c == u',' || c == u'.' || c == u';' || c == u':' || c == u'!' || c == u'?' || c == u')' ||
           c == u'"' || c == u'\'' || c == u'\u00BB';
}

// One form of the word read in one language.
struct Reading {
    bool word = true;  // letters, apostrophes and single hyphens inside; punctuation only at the edges
    bool digit = false;
    bool capitalInside = false;  // a capital after the first letter, the word not all capitals
    bool allCapitals = false;    // two letters or more, every one a capital
    int letters = 0;
    int cost = 0;  // -log2 P in model units
    int trigrams = 0;
};

class Scorer {
public:
    Scorer(bool ukrainian)
        : table_(ukrainian ? model::kUkrainianTrigrams : model::kEnglishTrigrams),
          size_(ukrainian ? kUkrainianSigns : kEnglishSigns) {}

    int step(int code) {
        const int cost = table_[(a_ * size_ + b_) * size_ + code];
        a_ = b_;
        b_ = code;
        return cost;
    }
    int close() {
        const int cost = step(0);
        a_ = b_ = 0;
        return cost;
    }

private:
    const unsigned char* table_;
    int size_;
    int a_ = 0;
    int b_ = 0;
};

Reading read(const char16_t* signs, int count, bool ukrainian) {
    Reading r;
    int first = -1;
    int last = -1;
    for (int i = 0; i < count; ++i) {
        const Sign s = classify(signs[i], ukrainian);
        if (s.kind == Kind::Digit) r.digit = true;
        if (s.kind == Kind::Letter) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0) {
        r.word = false;
        r.cost = count * kForeignCost;
        return r;
    }
    for (int i = 0; i < first; ++i) {
        const bool fits = opensWord(signs[i]);
        r.word = r.word && fits;
        r.cost += fits ? kEdgeCost : kForeignCost;
    }
    for (int i = last + 1; i < count; ++i) {
        const bool fits = closesWord(signs[i]);
        r.word = r.word && fits;
        r.cost += fits ? kEdgeCost : kForeignCost;
    }
    Scorer scorer(ukrainian);
    bool afterHyphen = false;
    int uppers = 0;
    bool laterUpper = false;
    for (int i = first; i <= last; ++i) {
        const Sign s = classify(signs[i], ukrainian);
        if (s.kind == Kind::Letter || s.kind == Kind::Apostrophe) {
            if (s.kind == Kind::Letter) {
                if (s.upper) {
                    ++uppers;
                    if (r.letters > 0) laterUpper = true;
                }
                ++r.letters;
            }
            r.cost += scorer.step(s.code);
            ++r.trigrams;
            afterHyphen = false;
        } else if (s.kind == Kind::Hyphen && !afterHyphen) {
            r.cost += scorer.close() + kEdgeCost;
            ++r.trigrams;
            afterHyphen = true;
        } else {
            r.word = false;
            r.cost += scorer.close() + kForeignCost;
            ++r.trigrams;
        }
    }
    r.cost += scorer.close();
    ++r.trigrams;
    r.allCapitals = r.letters >= 2 && uppers == r.letters;
    r.capitalInside = laterUpper && !r.allCapitals;
    return r;
}

}  // namespace

bool shouldMend(const TypedSigns& word) {
    if (word.count < 1 || word.count > kMaxSigns) return false;
    const Reading typed = read(word.typed, word.count, word.typedTranslated);
    const Reading other = read(word.other, word.count, !word.typedTranslated);
    if (!other.word || other.digit || other.letters < kMinLetters) return false;
    if (other.capitalInside || typed.capitalInside) return false;
    if (other.allCapitals && other.letters < kMinCapitals) return false;
    if (typed.cost - other.cost < kMargin) return false;
    return other.cost * 16 <= kPlausibleSixteenths * other.trigrams;
}

}  // namespace vyrtel::automend

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
// A word of capitals alone shorter than this is mostly an abbreviation
// (`CSV` is also `СІМ`): it has bars of its own.
constexpr int kMinCapitals = 4;
// What a sign that is no letter, apostrophe or hyphen costs inside a word,
// and what a punctuation mark costs at its edge.
constexpr int kForeignCost = 16 * kUnitsPerBit;
constexpr int kEdgeCost = 4 * kUnitsPerBit;

// How much likelier the other form must be than the typed one (the margin,
// in model units), and how plausible on its own (the most surprise per
// trigram, in model units), by what the dictionary says of the two forms.
struct Bar {
    int margin;
    int mostPerTrigram;
};
// A bar no form clears.
constexpr Bar kNever{1 << 20, 0};
struct Bars {
    Bar otherKnown;
    Bar neitherKnown;
    // Fewer capitals than kMinCapitals and nothing else (`ISO`, `ДИВ`):
    // mostly abbreviations, which a model of words reads badly.
    Bar fewCapitals;
    bool fewCapitalsOtherKnown;  // ...and only into a form the dictionary knows
    // All capitals, both forms known: the other likelier by this bar.
    Bar bothKnownCapitals;
};
// Each direction spends the other language's false mends: mending into
// English risks Ukrainian text, mending into Ukrainian English text.
// Ukrainian text holds few abbreviations in Cyrillic capitals, so an
// English one typed with translation on (`ШІЩ` for `ISO`) is mended, and
// English words unknown to the lists (`glibc`, `ssh`) need less margin
// than the Ukrainian ones would. The phonetic layout's wrong-mode forms
// read like transliterations, which the trigrams find less strange than
// the typewriter's: there an unknown form needs less margin, a known one a
// little more.
constexpr Bar kFewCapitalsIntoEnglish{-8 * kUnitsPerBit, 10 * kUnitsPerBit};
constexpr Bars kTypewriterIntoEnglish{{-8 * kUnitsPerBit, 8 * kUnitsPerBit},
                                      {8 * kUnitsPerBit, 8 * kUnitsPerBit},
                                      kFewCapitalsIntoEnglish, false, kNever};
constexpr Bars kTypewriterIntoUkrainian{{-8 * kUnitsPerBit, 8 * kUnitsPerBit},
                                        {20 * kUnitsPerBit, 6 * kUnitsPerBit},
                                        kNever, false, kNever};
// `ЛАТІН` is a word the filter knows, but `LATIN` was meant.
constexpr Bars kPhoneticIntoEnglish{{-8 * kUnitsPerBit, 9 * kUnitsPerBit},
                                    {11 * kUnitsPerBit, 8 * kUnitsPerBit},
                                    kFewCapitalsIntoEnglish, false,
                                    {6 * kUnitsPerBit, 8 * kUnitsPerBit}};
constexpr Bars kPhoneticIntoUkrainian{{-2 * kUnitsPerBit, 8 * kUnitsPerBit},
                                      {11 * kUnitsPerBit, 7 * kUnitsPerBit},
                                      {8 * kUnitsPerBit, 6 * kUnitsPerBit}, true, kNever};
// A closed-class word is mended into whatever the typed form looks like,
// unless the typed form is a word itself, when it must be the less likely
// by this margin.
constexpr Bar kOtherClosedClass{-64 * kUnitsPerBit, 32 * kUnitsPerBit};
constexpr int kOverKnownClosedClass = 3 * kUnitsPerBit;
// A typed form the dictionary knows counts as a word only if its letters
// are no more surprising than this per trigram: the filter knows a few
// forms it was never given.
constexpr int kMostPerKnownTrigram = 7 * kUnitsPerBit;

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

// Quotes and brackets a word may stand in. The Ukrainian layouts quote
// with `"`; an apostrophe before a Ukrainian word is an English `-`, the
// sign of a command's option.
bool opensWord(char16_t c, bool ukrainian) {
    return c == u'(' || c == u'"' || c == u'\u00AB' || (c == u'\'' && !ukrainian);
}

bool closesWord(char16_t c, bool ukrainian) {
    return c == u',' || c == u'.' || c == u';' || c == u':' || c == u'!' || c == u'?' || c == u')' ||
           c == u'"' || c == u'\u00BB' || (c == u'\'' && !ukrainian);
}

constexpr std::uint32_t hashStep(std::uint32_t h, int code) {
    return (h ^ static_cast<std::uint32_t>(code)) * 16777619u;
}

bool inDictionary(std::uint32_t h) {
    const std::uint32_t step = ((h * 0x85EBCA6Bu) ^ (h >> 15)) | 1u;
    constexpr std::uint32_t kMask = (1u << model::kDictionaryBitsLog2) - 1;
    for (int i = 0; i < model::kDictionaryProbes; ++i) {
        const std::uint32_t bit = (h + static_cast<std::uint32_t>(i) * step) & kMask;
        if ((model::kDictionary[bit >> 3] & (1u << (bit & 7))) == 0) return false;
    }
    return true;
}

bool inClosedClass(std::uint32_t h) {
    int low = 0;
    int high = model::kClosedClassRoom;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (model::kClosedClass[middle] < h) low = middle + 1;
        else high = middle;
    }
    return low < model::kClosedClassRoom && model::kClosedClass[low] == h;
}

// One form of the word read in one language.
struct Reading {
    bool word = true;  // letters, apostrophes and single hyphens inside; punctuation only at the edges
    bool digit = false;
    bool capitalInside = false;  // a capital after the first letter, the word not all capitals
    bool allCapitals = false;    // two letters or more, every one a capital (in English, but a plural's s)
    bool known = true;           // every hyphen-separated part is in the dictionary
    bool closed = false;         // a closed-class word of the language
    int letters = 0;
    int cost = 0;  // -log2 P in model units
    int trigrams = 0;
};

// Walks the letters of a form: the trigram costs, and the dictionary's
// verdict part by part.
class Walk {
public:
    explicit Walk(bool ukrainian)
        : table_(ukrainian ? model::kUkrainianTrigrams : model::kEnglishTrigrams),
          size_(ukrainian ? kUkrainianSigns : kEnglishSigns),
          salt_(ukrainian ? model::kUkrainianSalt : model::kEnglishSalt),
          closedSalt_(ukrainian ? model::kUkrainianClosedSalt : model::kEnglishClosedSalt),
          part_(salt_),
          whole_(closedSalt_) {}

    void sign(int code, bool upper, Reading& r) {
        if (length_ == 0) capital_ = upper;
        step(code, r);
        part_ = hashStep(part_, code);
        whole_ = hashStep(whole_, code);
        ++length_;
    }
    // A hyphen or a foreign sign: the word so far ends, the next part starts.
    void endPart(Reading& r) {
        step(0, r);
        a_ = b_ = 0;
        r.known = r.known && length_ > 0 && length_ <= model::kDictionaryLetters &&
                  (inDictionary(part_) || (capital_ && inDictionary(part_ ^ model::kNameMix)));
        ++parts_;
        part_ = salt_;
        length_ = 0;
    }
    void end(Reading& r) {
        endPart(r);
        r.closed = parts_ == 1 && inClosedClass(whole_);
    }

private:
    void step(int code, Reading& r) {
        r.cost += table_[(a_ * size_ + b_) * size_ + code];
        ++r.trigrams;
        a_ = b_;
        b_ = code;
    }

    const unsigned char* table_;
    int size_;
    std::uint32_t salt_;
    std::uint32_t closedSalt_;
    std::uint32_t part_;
    std::uint32_t whole_;
    int a_ = 0;
    int b_ = 0;
    int length_ = 0;
    int parts_ = 0;
    bool capital_ = false;
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
        r.known = false;
        r.cost = count * kForeignCost;
        return r;
    }
    for (int i = 0; i < first; ++i) {
        const bool fits = opensWord(signs[i], ukrainian);
        r.word = r.word && fits;
        r.cost += fits ? kEdgeCost : kForeignCost;
    }
    for (int i = last + 1; i < count; ++i) {
        const bool fits = closesWord(signs[i], ukrainian);
        r.word = r.word && fits;
        r.cost += fits ? kEdgeCost : kForeignCost;
    }
    Walk walk(ukrainian);
    bool afterHyphen = false;
    int capitals = 0;
    bool laterCapital = false;
    for (int i = first; i <= last; ++i) {
        const Sign s = classify(signs[i], ukrainian);
        if (s.kind == Kind::Letter || s.kind == Kind::Apostrophe) {
            if (s.kind == Kind::Letter) {
                if (s.upper) {
                    ++capitals;
                    if (r.letters > 0) laterCapital = true;
                }
                ++r.letters;
            }
            walk.sign(s.code, s.upper, r);
            afterHyphen = false;
        } else if (s.kind == Kind::Hyphen && !afterHyphen) {
            walk.endPart(r);
            r.cost += kEdgeCost;
            afterHyphen = true;
        } else {
            r.word = false;
            r.known = false;
            walk.endPart(r);
            r.cost += kForeignCost;
        }
    }
    walk.end(r);
    r.known = r.known && r.word;
    // An English abbreviation's plural (`IDs`, `CPUs`) counts as capitals.
    const bool plural = !ukrainian && signs[last] == u's' && r.letters >= 3 && capitals == r.letters - 1;
    r.allCapitals = r.letters >= 2 && (capitals == r.letters || plural);
    r.capitalInside = laterCapital && !r.allCapitals;
    return r;
}

bool clears(const Reading& typed, const Reading& other, Bar bar) {
    return typed.cost - other.cost >= bar.margin && other.cost <= bar.mostPerTrigram * other.trigrams;
}

}  // namespace

bool shouldMend(const TypedSigns& word) {
    if (word.count < 1 || word.count > kMaxSigns) return false;
    const Reading typed = read(word.typed, word.count, word.typedTranslated);
    const Reading other = read(word.other, word.count, !word.typedTranslated);
    if (!other.word || other.digit || other.letters < kMinLetters) return false;
    // The typed form's capitals are the other's but where a key gives a
    // sign on one side (`:` is Ж): the other form alone tells.
    if (other.capitalInside) return false;
    const bool intoEnglish = word.typedTranslated;
    const Bars& bars = word.layout == Layout::Phonetic ? (intoEnglish ? kPhoneticIntoEnglish : kPhoneticIntoUkrainian)
                                                       : (intoEnglish ? kTypewriterIntoEnglish : kTypewriterIntoUkrainian);
    const bool typedKnown = typed.known && typed.cost <= kMostPerKnownTrigram * typed.trigrams;
    if (other.allCapitals && other.letters < kMinCapitals) {
        // Whatever the trigrams say of an abbreviation the lists hold (`США`).
        if (typed.known || (bars.fewCapitalsOtherKnown && !other.known)) return false;
        return clears(typed, other, bars.fewCapitals);
    }
    // A closed-class word beats a rare form typed by chance: `еру` is a
    // Ukrainian word, but `the` is what was meant.
    if (other.closed && !typed.closed) {
        Bar bar = kOtherClosedClass;
        if (typedKnown) bar.margin = kOverKnownClosedClass;
        return clears(typed, other, bar);
    }
    if (typedKnown) return other.allCapitals && other.known && clears(typed, other, bars.bothKnownCapitals);
    return clears(typed, other, other.known ? bars.otherKnown : bars.neitherKnown);
}

}  // namespace vyrtel::automend

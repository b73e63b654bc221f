// The automatic mend as the engine drives it: when the space is mended and
// when not, the signs the decision is given, the keys held while a mend is
// typed, and Pause taking a mend back for good. The decision itself is
// faked (it mends the words a test lists); it has tests of its own.
#include <string>
#include <vector>

#include "hook_fakes.h"

namespace {

using namespace hooktest;
using vyrtel::automend::Layout;

constexpr std::uint8_t kScanSpace = 0x39;
// ghbdsn / привіт, and руддщ / hello, by key.
const std::vector<std::uint8_t> kPryvit = {0x22, 0x23, 0x30, 0x20, 0x1F, 0x31};
const std::vector<std::uint8_t> kHello = {0x23, 0x12, 0x26, 0x26, 0x18};

FakeMsg keyMsg(std::uint32_t message, std::uint32_t vk, std::uint8_t scan, std::uintptr_t window = kUnicodeWindow) {
    FakeMsg msg{message, vk, lParamFor(scan, message == kWmKeyUp ? kReleased | kRepeat : 0)};
    msg.hwnd = window;
    return msg;
}

class AutoMendTest : public HookLogic {
public:
    // Public, for the table of cases to arrange.
    using HookLogic::keys;
    using HookLogic::run;
    using HookLogic::state;
    using HookLogic::typed;
    void SetUp() override {
        activate();
        loadLetters(vyrtel::layouts::kKoi8TypewriterLetters);
        state.translationSwitch = 0;
        state.autoMendFlag = 1;
        state.registeredWindow = 0x99;
        keys.wrongWords = {u"ghbdsn", u"руддщ", u"Ghbdsn", u"GHBDSN"};
    }

    void typeKeys(const std::vector<std::uint8_t>& scans, std::uintptr_t window = kUnicodeWindow,
                  std::vector<bool> shifted = {}) {
        for (std::size_t i = 0; i < scans.size(); ++i) {
            keys.states[kVkShift] = i < shifted.size() && shifted[i] ? kDown : 0;
            FakeMsg msg = charMsg(scans[i]);
            msg.hwnd = window;
            run(msg);
        }
        keys.states[kVkShift] = 0;
    }
    // The space's key-down, and its character when the program gets the
    // key-down; returns what the program is given.
    std::uint32_t space(std::uintptr_t window = kUnicodeWindow) {
        FakeMsg msg = keyMsg(kWmKeyDown, kVkSpace, kScanSpace, window);
        run(msg);
        if (msg.message == kWmKeyDown) typed(kScanSpace, ' ', 0, window);
        return msg.message;
    }
    // A key message with a mark, retrieved (removed) or peeked.
    std::uint32_t key(std::uint32_t message, std::uint32_t vk, std::uint8_t scan, std::uintptr_t mark,
                      std::uintptr_t removeFlag = 1) {
        FakeMsg msg = keyMsg(message, vk, scan);
        keys.mark = mark;
        hookProcedure<FakeMsg>(state, 0, removeFlag, reinterpret_cast<std::intptr_t>(&msg), keys);
        keys.mark = 0;
        return msg.message;
    }
    // The mend's last key comes through, nothing of the user's held.
    void mendArrives() { key(kWmKeyUp, ' ', kScanSpace, kMarkTypedEnd); }
    static std::vector<std::pair<std::uint8_t, bool>> unshifted(const std::vector<std::uint8_t>& scans) {
        std::vector<std::pair<std::uint8_t, bool>> result;
        for (std::uint8_t s : scans) result.emplace_back(s, false);
        return result;
    }
};

TEST_F(AutoMendTest, AWrongWordIsTypedAgainInTheOtherModeAtItsSpaceWhichTheProgramNeverSees) {
    typeKeys(kPryvit);
    EXPECT_EQ(space(), kWmNull);
    ASSERT_EQ(keys.decided.size(), 1u);
    EXPECT_EQ(keys.decided[0].typed, u"ghbdsn");
    EXPECT_EQ(keys.decided[0].other, u"привіт");
    EXPECT_FALSE(keys.decided[0].typedTranslated);
    EXPECT_EQ(keys.decided[0].layout, Layout::Typewriter);
    ASSERT_EQ(keys.mendings.size(), 1u);
    EXPECT_EQ(keys.mendings[0], (FakePlatform::Mending{unshifted(kPryvit), false}));
    EXPECT_EQ(state.translationSwitch, 1u) << "the mode flips as Pause flips it";
    EXPECT_EQ(keys.beeps.size(), 1u);
    EXPECT_EQ(keys.posts.size(), 1u);
    EXPECT_TRUE(word::empty(keys.typedWord)) << "the retyped keys make the word anew";
    EXPECT_TRUE(keys.mend.holding);
}

TEST_F(AutoMendTest, AMendTheSystemRefusesLetsTheSpaceThroughAndPutsTheModeBack) {
    keys.injectionRefused = true;
    typeKeys(kPryvit);
    EXPECT_EQ(space(), kWmKeyDown) << "the space is never lost";
    EXPECT_EQ(state.translationSwitch, 0u);
    EXPECT_FALSE(keys.mend.holding) << "no key of the user's is held for a mend that never comes";
    EXPECT_EQ(keys.mend.mendedKeys, 0u) << "Pause has nothing to take back";
}

TEST_F(AutoMendTest, AWordTypedWithTranslationOnIsDecidedOnItsLettersAndMendedToLatin) {
    state.translationSwitch = 1;
    typeKeys(kHello);
    EXPECT_EQ(space(), kWmNull);
    ASSERT_EQ(keys.decided.size(), 1u);
    EXPECT_EQ(keys.decided[0].typed, u"руддщ");
    EXPECT_EQ(keys.decided[0].other, u"hello");
    EXPECT_TRUE(keys.decided[0].typedTranslated);
    EXPECT_EQ(keys.caretChecks, (std::vector<std::u16string>{u"руддщ"})) << "the letters a Unicode window got";
    EXPECT_EQ(state.translationSwitch, 0u);
}

TEST_F(AutoMendTest, TheModeFlipsUnderEveryToggleMethodAsPauseFlipsIt) {
    struct Case {
        std::int32_t method;
        int lockKey;  // the lock key's state is the mode; 0: the switch is
    };
    for (const Case c : {Case{kToggleCtrlShiftCycled, 0}, Case{kToggleScrollLock, kVkScroll},
                         Case{kToggleNumLock, kVkNumLock}}) {
        SetUp();
        keys = FakePlatform{};
        keys.wrongWords = {u"ghbdsn"};
        state.toggleMethod = c.method;
        typeKeys(kPryvit);
        EXPECT_EQ(space(), kWmNull) << c.method;
        EXPECT_EQ(keys.mendings.size(), 1u) << c.method;
        if (c.lockKey != 0) {
            EXPECT_EQ(keys.lockPresses, std::vector<int>{c.lockKey}) << c.method;
        } else {
            EXPECT_EQ(state.translationSwitch, 1u);
        }
    }
}

// The signs follow Shift and Caps Lock as the keys gave them; a phonetic
// table is told by its Q key; an 8-bit window was handed the table's bytes.
TEST_F(AutoMendTest, SignsFollowShiftCapsLockTheLayoutAndTheWindowsForm) {
    keys.wrongWords = {u"так"};
    typeKeys(kPryvit, kUnicodeWindow, {true});
    space();
    keys.states[kVkCapital] = kToggled;
    typeKeys(kPryvit);
    space();
    keys.states[kVkCapital] = 0;
    load(vyrtel::layouts::kKoi8Phonetic);
    loadLetters(vyrtel::layouts::kKoi8PhoneticLetters);
    state.translationSwitch = 1;
    keys.codePage[0xD4] = 0x442;  // KOI8 т as a code page would show it
    typeKeys({0x14, 0x1E, 0x25}, kAnsiWindow);  // t a k
    space(kAnsiWindow);
    ASSERT_EQ(keys.decided.size(), 3u);
    EXPECT_EQ(keys.decided[0].typed, u"Ghbdsn");
    EXPECT_EQ(keys.decided[0].other, u"Привіт");
    EXPECT_EQ(keys.decided[1].typed, u"GHBDSN");
    EXPECT_EQ(keys.decided[1].other, u"ПРИВІТ");
    EXPECT_EQ(keys.decided[2].typed, u"так");
    EXPECT_EQ(keys.decided[2].other, u"tak");
    EXPECT_EQ(keys.decided[2].layout, Layout::Phonetic);
    EXPECT_EQ(keys.caretChecks.back(), (std::u16string{0x442, 0xC1, 0xCB})) << "the bytes' characters";
}

// Each case breaks one condition; the space then reaches the program and
// nothing is typed.
TEST_F(AutoMendTest, TheSpaceIsLeftAloneWheneverAConditionFails) {
    struct Case {
        const char* why;
        void (*arrange)(AutoMendTest&);
        std::uintptr_t spaceWindow = kUnicodeWindow;
    };
    const Case cases[] = {
        {"off", [](AutoMendTest& t) { t.state.autoMendFlag = 0; }},
        {"a right word", [](AutoMendTest& t) { t.keys.wrongWords.clear(); }},
        {"Ctrl held", [](AutoMendTest& t) { t.keys.states[kVkControl] = kDown; }},
        {"a second space", [](AutoMendTest& t) { t.typed(kScanSpace, ' ', 0, kUnicodeWindow); }},
        {"another window", [](AutoMendTest&) {}, kAnsiWindow},
        {"our own space", [](AutoMendTest& t) { t.keys.mark = kMarkTyped; }},
        {"a method that toggles nothing", [](AutoMendTest& t) { t.state.toggleMethod = 7; }},
        {"no table", [](AutoMendTest& t) { t.state.entryCount = 0; }},
        {"typed under an earlier hook", [](AutoMendTest& t) { t.state.hookHandle = 0x77; }},
        {"an edit's caret elsewhere", [](AutoMendTest& t) {
             t.keys.editWindow = kUnicodeWindow;
             t.keys.textBeforeCaret = u"ghbdsn x";
         }},
        {"an edit's selection", [](AutoMendTest& t) {
             t.keys.editWindow = kUnicodeWindow;
             t.keys.textBeforeCaret = u"ghbdsn";
             t.keys.selection = true;
         }},
        {"an F3 after the word", [](AutoMendTest& t) { t.key(kWmKeyDown, 0x72, 0x3D, 0); }},
        {"a pen's touch", [](AutoMendTest& t) {
             FakeMsg pointer{0x0246, 0, 0, kUnicodeWindow};
             t.run(pointer);
         }},
    };
    for (const Case& c : cases) {
        SetUp();
        keys = FakePlatform{};
        keys.wrongWords = {u"ghbdsn"};
        typeKeys(kPryvit);
        c.arrange(*this);
        EXPECT_EQ(space(c.spaceWindow), kWmKeyDown) << c.why;
        EXPECT_TRUE(keys.mendings.empty()) << c.why;
        EXPECT_EQ(state.translationSwitch, 0u) << c.why;
    }
    // The edit whose caret stands right after the word is mended.
    SetUp();
    keys = FakePlatform{};
    keys.wrongWords = {u"ghbdsn"};
    keys.editWindow = kUnicodeWindow;
    keys.textBeforeCaret = u"x ghbdsn";
    typeKeys(kPryvit);
    EXPECT_EQ(space(), kWmNull);
}

TEST_F(AutoMendTest, KeysThatGiveNoCharacterEndTheWordAndLetterKeysDoNot) {
    for (std::uint32_t vk : {0x72u, 0x70u, 0x87u, 0x5Du, 0x5Bu, 0x2Cu, 0x2Fu, 0xADu, 0xE5u}) {
        typeKeys(kPryvit);
        key(kWmKeyDown, vk, 0x3D, 0);
        EXPECT_TRUE(word::empty(keys.typedWord)) << vk;
    }
    for (std::uint32_t vk : {0x41u, 0x10u, 0x14u, 0x60u, 0xBAu, 0x08u}) {
        word::forget(keys.typedWord);
        typeKeys(kPryvit);
        key(kWmKeyDown, vk, 0x1E, 0);
        EXPECT_EQ(word::keyCount(keys.typedWord), 6) << vk;
    }
    for (std::uint32_t message : {0x0240u, 0x0242u, 0x0246u, 0x0247u, 0x0257u}) {
        typeKeys(kPryvit);
        FakeMsg pointer{message, 0, 0, kUnicodeWindow};
        run(pointer);
        EXPECT_TRUE(word::empty(keys.typedWord)) << message;
    }
}

// While a mend is typed, the user's keys are swallowed and replayed behind
// it; the library's own pass. Holding ends when the mend's last key and
// every replayed key are through.
TEST_F(AutoMendTest, TheUsersKeysAreHeldAndReplayedBehindTheMendUntilAllIsThrough) {
    typeKeys(kPryvit);
    space();
    const std::uint32_t mark = replayMark(keys.mend.round);
    EXPECT_EQ(key(kWmKeyDown, 'C', 0x2E, 0), kWmNull);
    EXPECT_EQ(key(kWmKeyDown, 'D', 0x20, 0, 0), kWmNull) << "peeked: swallowed, replayed when removed";
    EXPECT_EQ(key(kWmKeyDown, 'D', 0x20, 0), kWmNull);
    EXPECT_EQ(key(kWmKeyUp, 'C', 0x2E, 0), kWmNull);
    ASSERT_EQ(keys.replays.size(), 3u);
    EXPECT_EQ(keys.replays[0].key.virtualKey, 'C');
    EXPECT_FALSE(keys.replays[0].key.up);
    EXPECT_EQ(keys.replays[1].key.scanCode, 0x20);
    EXPECT_TRUE(keys.replays[2].key.up);
    for (const auto& r : keys.replays) EXPECT_EQ(r.mark, mark);

    EXPECT_EQ(key(kWmKeyDown, 0x08, 0x0E, kMarkTyped), kWmKeyDown) << "the mend's own keys pass";
    EXPECT_EQ(key(kWmKeyUp, ' ', kScanSpace, kMarkTypedEnd), kWmKeyUp);
    EXPECT_TRUE(keys.mend.holding) << "three replays still on their way";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(key(kWmKeyDown, 'C', 0x2E, mark), kWmKeyDown);
    EXPECT_FALSE(keys.mend.holding);
    EXPECT_EQ(key(kWmKeyDown, 'E', 0x12, 0), kWmKeyDown);
    EXPECT_EQ(keys.replays.size(), 3u);
}

TEST_F(AutoMendTest, HoldingEndsWhenNothingOfTheLibrarysComesThroughForAWhile) {
    typeKeys(kPryvit);
    space();
    keys.ticks += kHoldMilliseconds;
    EXPECT_EQ(key(kWmKeyDown, 'C', 0x2E, 0), kWmNull);
    keys.ticks += kHoldMilliseconds + 1;
    EXPECT_EQ(key(kWmKeyDown, 'D', 0x20, 0), kWmKeyDown);
    EXPECT_FALSE(keys.mend.holding);
}

// A replayed space can end the next wrong word: its mend is typed behind
// the replays still queued, so those are held once more.
TEST_F(AutoMendTest, AMendWhileHoldingHoldsTheEarlierRoundsReplaysAgain) {
    typeKeys(kPryvit);
    space();
    const std::uint32_t first = replayMark(keys.mend.round);
    EXPECT_EQ(key(kWmKeyDown, 'X', 0x2D, 0), kWmNull);
    mendArrives();
    EXPECT_TRUE(keys.mend.holding);
    state.translationSwitch = 0;
    typeKeys(kPryvit);
    keys.mark = first;
    EXPECT_EQ(space(), kWmNull) << "a replayed space is the user's";
    keys.mark = 0;
    EXPECT_EQ(keys.mendings.size(), 2u);
    EXPECT_EQ(key(kWmKeyDown, 'C', 0x2E, first), kWmNull);
    ASSERT_EQ(keys.replays.size(), 2u);
    EXPECT_EQ(keys.replays[1].mark, replayMark(keys.mend.round));
    EXPECT_NE(keys.replays[1].mark, first);
}

// Pause right after an automatic mend types the word back as it was typed
// (Pause's own retyping), and that word is never mended by itself again
// in this process.
TEST_F(AutoMendTest, PauseRightAfterAMendTakesItBackForGood) {
    typeKeys(kPryvit);
    space();
    typeKeys(kPryvit);  // the mend's keys arrive, translated now
    typed(kScanSpace, ' ', 0, kUnicodeWindow);
    mendArrives();
    FakeMsg pause = keyMsg(kWmKeyDown, kVkPause, 0x45);
    run(pause);
    EXPECT_EQ(pause.message, kWmNull);
    ASSERT_EQ(keys.retypings.size(), 1u);
    EXPECT_EQ(keys.retypings[0], (FakePlatform::Retyping{7, unshifted(kPryvit), 1}));
    EXPECT_EQ(state.translationSwitch, 0u) << "back in the mode it was typed in";

    typeKeys(kPryvit);
    EXPECT_EQ(space(), kWmKeyDown);
    EXPECT_EQ(keys.decided.size(), 1u) << "not even asked";
    // Typed with translation on, the same keys are another word.
    state.translationSwitch = 1;
    keys.wrongWords = {u"пршидр"};
    typeKeys(kPryvit);
    space();
    EXPECT_EQ(keys.decided.size(), 2u);
}

TEST_F(AutoMendTest, PauseOnAnotherWordRemembersNothing) {
    typeKeys(kPryvit);
    space();
    mendArrives();
    typeKeys(kHello);
    FakeMsg pause = keyMsg(kWmKeyDown, kVkPause, 0x45);
    run(pause);
    EXPECT_EQ(keys.retypings.size(), 1u);
    for (std::uint32_t undone : keys.mend.undone) EXPECT_EQ(undone, 0u);
}

TEST(AutoMendMemory, KeepsTheLast32WordsTakenBack) {
    AutoMend mend{};
    for (std::uint32_t word = 1; word <= 40; ++word) automend::rememberUndone(mend, word);
    automend::rememberUndone(mend, 40);
    for (std::uint32_t word = 1; word <= 8; ++word) EXPECT_FALSE(automend::wasUndone(mend, word)) << word;
    for (std::uint32_t word = 9; word <= 40; ++word) EXPECT_TRUE(automend::wasUndone(mend, word)) << word;
    const TypedKey keys[] = {{0x22, 0}, {0x23, 1}};
    EXPECT_NE(automend::wordHash(keys, 2, true), automend::wordHash(keys, 2, false));
    EXPECT_NE(automend::keyHash(keys, 2), automend::keyHash(keys, 1));
}

}  // namespace

// The word kept for Pause and Pause itself, driven through the hook
// procedure as the system drives it: which characters the word takes, what
// ends it, and what Pause switches, types and swallows.
#include <gtest/gtest.h>

#include <vector>

#include "hook_fakes.h"

namespace {

using namespace hooktest;

constexpr std::uintptr_t kEdit = 0x3000;
constexpr std::uintptr_t kOtherEdit = 0x3100;
constexpr std::uintptr_t kPasswordEdit = 0x3200;
constexpr HandleWord kHook = 0x77;

constexpr std::uint8_t kScanG = 0x22;
constexpr std::uint8_t kScanH = 0x23;
constexpr std::uint8_t kScanB = 0x30;
constexpr std::uint8_t kScanSpace = 0x39;
constexpr std::uint8_t kScanBackspace = 0x0E;
constexpr std::uint8_t kScanPause = 0x45;
constexpr std::uint8_t kScanScrollLock = 0x46;

using Keys = std::vector<std::pair<std::uint8_t, bool>>;

class TypedWordTest : public HookLogic {
protected:
    void SetUp() override {
        activate();
        state.translationSwitch = 0;  // typing Latin: the slip the word mends
        state.hookHandle = kHook;
        state.registeredWindow = 0x9000;
        keys.hidingWindows = {kPasswordEdit};
    }

    // A character typed by a key into `window` and removed from the queue.
    void type(std::uint8_t scanCode, std::uint32_t ch, bool shifted = false, std::uintptr_t window = kEdit,
              std::uintptr_t removeFlag = 1) {
        keys.states[kVkShift] = shifted ? kDown : 0;
        FakeMsg msg = charMsg(scanCode, ch);
        msg.hwnd = window;
        hookProcedure<FakeMsg>(state, 0, removeFlag, reinterpret_cast<std::intptr_t>(&msg), keys);
        keys.states[kVkShift] = 0;
    }
    void typeGhb(std::uintptr_t window = kEdit) {
        type(kScanG, 'g', false, window);
        type(kScanH, 'H', true, window);
        type(kScanB, 'b', false, window);
    }
    void keyDown(std::uint32_t virtualKey, std::uint8_t scanCode = 0x01, std::uintptr_t window = kEdit,
                 std::uintptr_t removeFlag = 1) {
        FakeMsg msg{kWmKeyDown, virtualKey, lParamFor(scanCode), window};
        hookProcedure<FakeMsg>(state, 0, removeFlag, reinterpret_cast<std::intptr_t>(&msg), keys);
    }
    // Pause pressed in `window`; returns the message the program then gets.
    std::uint32_t pause(std::uintptr_t window = kEdit, std::uintptr_t removeFlag = 1) {
        FakeMsg msg{kWmKeyDown, static_cast<std::uint32_t>(kVkPause), lParamFor(kScanPause), window};
        hookProcedure<FakeMsg>(state, 0, removeFlag, reinterpret_cast<std::intptr_t>(&msg), keys);
        EXPECT_EQ(msg.wParam, static_cast<std::uint32_t>(kVkPause));
        return msg.message;
    }
    Keys wordKeys() const {
        Keys out;
        for (int i = 0; i < word::keyCount(keys.typedWord); ++i) {
            const TypedKey k = word::keyAt(keys.typedWord, i);
            out.emplace_back(k.scanCode, k.shifted != 0);
        }
        return out;
    }
    const Keys ghb{{kScanG, false}, {kScanH, true}, {kScanB, false}};
};

// ---- What the word takes ----

TEST_F(TypedWordTest, KeepsEachRemovedCharacterAsItsKeyAndShiftTranslatedOrNot) {
    typeGhb();
    EXPECT_EQ(wordKeys(), ghb);
    state.translationSwitch = 1;
    type(kScanQ, 'q');
    EXPECT_EQ(wordKeys().size(), 4u);
    EXPECT_EQ(wordKeys().back(), std::make_pair(kScanQ, false));
}

TEST_F(TypedWordTest, APeekedCharacterCountsOnceWhenRemoved) {
    type(kScanG, 'g', false, kEdit, 0);  // PM_NOREMOVE
    EXPECT_TRUE(word::empty(keys.typedWord));
    type(kScanG, 'g', false, kEdit, 1);
    EXPECT_EQ(wordKeys(), (Keys{{kScanG, false}}));
}

TEST_F(TypedWordTest, BackspaceTakesTheLastSpaceOrKeyBack) {
    typeGhb();
    type(kScanSpace, ' ');
    type(kScanSpace, ' ');
    type(kScanBackspace, 0x08);
    EXPECT_EQ(keys.typedWord.spaces, 1);
    type(kScanBackspace, 0x08);
    type(kScanBackspace, 0x08);
    EXPECT_EQ(wordKeys(), (Keys{{kScanG, false}, {kScanH, true}}));
    type(kScanBackspace, 0x08);
    type(kScanBackspace, 0x08);
    type(kScanBackspace, 0x08);  // nothing left: stays empty
    EXPECT_TRUE(word::empty(keys.typedWord));
}

TEST_F(TypedWordTest, SpacesStayWithTheWordAndTheNextCharacterStartsANewOne) {
    type(kScanSpace, ' ');  // no word yet: a leading space is not kept
    EXPECT_EQ(keys.typedWord.spaces, 0);
    typeGhb();
    type(kScanSpace, ' ');
    type(kScanSpace, ' ');
    EXPECT_EQ(wordKeys(), ghb);
    EXPECT_EQ(keys.typedWord.spaces, 2);
    type(kScanQ, 'q');
    EXPECT_EQ(wordKeys(), (Keys{{kScanQ, false}}));
    EXPECT_EQ(keys.typedWord.spaces, 0);
}

TEST_F(TypedWordTest, ALongerRunKeepsItsLast64Keys) {
    for (int i = 0; i < 70; ++i) type(static_cast<std::uint8_t>(0x10 + i % 10), 'a', i % 3 == 0);
    const Keys kept = wordKeys();
    ASSERT_EQ(kept.size(), 64u);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(kept[i], std::make_pair(static_cast<std::uint8_t>(0x10 + (i + 6) % 10), (i + 6) % 3 == 0)) << i;
    }
    type(kScanBackspace, 0x08);
    EXPECT_EQ(wordKeys().size(), 63u);
    pause();
    ASSERT_EQ(keys.retypings.size(), 1u);
    EXPECT_EQ(keys.retypings[0].backspaces, 63);
    EXPECT_EQ(keys.retypings[0].keys, Keys(kept.begin(), kept.end() - 1));
}

// ---- What ends it ----

TEST_F(TypedWordTest, EnterTabEscNavigationAndEditingKeysEndTheWord) {
    for (std::uint32_t vk : {0x0Du, 0x09u, 0x1Bu, 0x21u, 0x22u, 0x23u, 0x24u, 0x25u, 0x26u, 0x27u, 0x28u, 0x2Du,
                             0x2Eu}) {
        typeGhb();
        keyDown(vk);
        EXPECT_TRUE(word::empty(keys.typedWord)) << vk;
    }
    // A letter's own key-down, Shift and Caps Lock keep it.
    typeGhb();
    keyDown('G', kScanG);
    keyDown(kVkShift, kScanLeftShift);
    keyDown(kVkCapital, 0x3A);
    EXPECT_EQ(wordKeys(), ghb);
}

TEST_F(TypedWordTest, ControlCharactersCtrlAltAndKeylessCharactersEndTheWord) {
    const auto ends = [&](auto&& action, const char* what) {
        typeGhb();
        action();
        EXPECT_TRUE(word::empty(keys.typedWord)) << what;
    };
    ends([&] { type(0x1C, '\r'); }, "Enter's character");
    ends([&] { type(0x01, 0x1B); }, "Esc's character");
    ends([&] {
        keys.states[kVkControl] = kDown;
        type(0x2F, 0x16);  // Ctrl+V
        keys.states[kVkControl] = 0;
    }, "a character typed with Ctrl");
    ends([&] { FakeMsg m{kWmSysKeyDown, 'F', lParamFor(0x21), kEdit}; run(m); }, "a key with Alt");
    ends([&] { FakeMsg m = charMsg(kScanQ, 'q', kContext); m.hwnd = kEdit; run(m); }, "Alt held on a character");
    ends([&] { type(0, u'ї'); }, "a character with no key");
    ends([&] { type(kScanQ, 'q', false, 0); }, "a thread message");
}

TEST_F(TypedWordTest, AnyMouseButtonInTheThreadEndsTheWordButMovesAndTheWheelDoNot) {
    for (std::uint32_t message = 0x0201; message <= 0x020D; ++message) {
        typeGhb();
        FakeMsg peeked{message, 0, 0, kOtherEdit};
        hookProcedure<FakeMsg>(state, 0, 0, reinterpret_cast<std::intptr_t>(&peeked), keys);
        EXPECT_EQ(word::empty(keys.typedWord), false) << "peeked " << message;
        FakeMsg click{message, 0, 0, kOtherEdit};
        run(click);
        EXPECT_EQ(word::empty(keys.typedWord), message != 0x020A) << message;
        EXPECT_EQ(click.message, message);
    }
    typeGhb();
    for (std::uint32_t message : {0x0200u, 0x020Eu, 0x02A3u, 0x00A1u}) {
        FakeMsg other{message, 0, 0, kEdit};
        run(other);
    }
    EXPECT_EQ(wordKeys(), ghb);
}

TEST_F(TypedWordTest, ACharacterForAnotherWindowStartsItsOwnWord) {
    typeGhb();
    type(kScanQ, 'q', false, kOtherEdit);
    EXPECT_EQ(wordKeys(), (Keys{{kScanQ, false}}));
    EXPECT_EQ(keys.typedWord.window, kOtherEdit);
    EXPECT_EQ(pause(kEdit), kWmKeyDown) << "Pause in the first window finds no word of its own";
    EXPECT_TRUE(keys.retypings.empty());
}

TEST_F(TypedWordTest, APasswordEditKeepsNothingAndIsAskedOnlyOnce) {
    for (int i = 0; i < 5; ++i) type(kScanG, 'g', false, kPasswordEdit);
    EXPECT_TRUE(word::empty(keys.typedWord));
    EXPECT_EQ(pause(kPasswordEdit), kWmKeyDown);
    EXPECT_TRUE(keys.retypings.empty());
    typeGhb();
    typeGhb();
    type(kScanSpace, ' ');
    typeGhb();
    const std::vector<std::uintptr_t> asked{kPasswordEdit, kEdit};
    EXPECT_EQ(keys.windowsAskedToHide, asked) << "one question per newly focused window";
}

TEST_F(TypedWordTest, TheUsersOwnToggleEndsTheWord) {
    typeGhb();
    pressCtrlAndShift(kScanRightShift);
    EXPECT_EQ(state.translationSwitch, 1u);
    EXPECT_TRUE(word::empty(keys.typedWord));

    state.toggleMethod = kToggleScrollLock;
    keys.states[kVkControl] = 0;
    typeGhb();
    keyDown(kVkScroll, kScanScrollLock);
    EXPECT_TRUE(word::empty(keys.typedWord));
}

TEST_F(TypedWordTest, NothingIsKeptWithoutATable) {
    typeGhb();
    state.entryCount = 0;
    type(kScanQ, 'q');
    EXPECT_TRUE(word::empty(keys.typedWord));
    typeGhb();
    EXPECT_TRUE(word::empty(keys.typedWord));
}

TEST_F(TypedWordTest, AWordTypedUnderAnEarlierHookIsNotMended) {
    typeGhb();
    state.hookHandle = kHook + 1;  // the coding was disabled and chosen again meanwhile
    EXPECT_EQ(pause(), kWmKeyDown);
    type(kScanQ, 'q');
    EXPECT_EQ(wordKeys(), (Keys{{kScanQ, false}}));
}

TEST_F(TypedWordTest, TheSharedRecordNeverChangesWithTheWord) {
    const SharedHookState before = state;
    typeGhb();
    type(kScanSpace, ' ');
    type(kScanBackspace, 0x08);
    FakeMsg click{0x0201, 0, 0, kEdit};
    run(click);
    EXPECT_EQ(before.translationSwitch, state.translationSwitch);
    EXPECT_EQ(std::memcmp(before.tableArea, state.tableArea, sizeof state.tableArea), 0);
    EXPECT_EQ(std::memcmp(before.letterArea, state.letterArea, sizeof state.letterArea), 0);
    EXPECT_EQ(before.lockHolder, state.lockHolder);
}

// ---- Pause ----

TEST_F(TypedWordTest, PauseSwitchesAndTypesTheWordAndItsSpacesAgainAndIsSwallowed) {
    typeGhb();
    type(kScanSpace, ' ');
    EXPECT_EQ(pause(), kWmNull);
    EXPECT_EQ(state.translationSwitch, 1u);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> beeps{{1000, 40}};
    EXPECT_EQ(keys.beeps, beeps);
    const std::vector<ModePost> posts{{0x9000, 1, kToggleCtrlShiftLeftRight}};
    EXPECT_EQ(keys.posts, posts);
    ASSERT_EQ(keys.retypings.size(), 1u);
    EXPECT_EQ(keys.retypings[0], (FakePlatform::Retyping{4, ghb, 1}));
}

TEST_F(TypedWordTest, TheRetypedKeysBecomeTheWordSoASecondPauseMendsItBack) {
    typeGhb();
    pause();
    // What the retyping sends arrives: its Backspaces, then the keys, now
    // translated.
    for (int i = 0; i < 3; ++i) type(kScanBackspace, 0x08);
    EXPECT_TRUE(word::empty(keys.typedWord));
    typeGhb();
    EXPECT_EQ(wordKeys(), ghb);
    EXPECT_EQ(pause(), kWmNull);
    EXPECT_EQ(state.translationSwitch, 0u);
    ASSERT_EQ(keys.retypings.size(), 2u);
    EXPECT_EQ(keys.retypings[1], (FakePlatform::Retyping{3, ghb, 0}));
    // A Backspace of the user's after the retyping takes a key back again.
    for (int i = 0; i < 3; ++i) type(kScanBackspace, 0x08);
    typeGhb();
    type(kScanBackspace, 0x08);
    EXPECT_EQ(wordKeys().size(), 2u);
}

TEST_F(TypedWordTest, PauseUnderTheCycledMethodFlipsTheSwitch) {
    state.toggleMethod = kToggleCtrlShiftCycled;
    state.translationSwitch = 1;
    typeGhb();
    EXPECT_EQ(pause(), kWmNull);
    EXPECT_EQ(state.translationSwitch, 0u);
    EXPECT_EQ(keys.posts.back(), (ModePost{0x9000, 0, kToggleCtrlShiftCycled}));
}

TEST_F(TypedWordTest, PauseUnderALockMethodPressesThatLockKeyAndItsPressKeepsTheWord) {
    for (std::int32_t method : {kToggleScrollLock, kToggleNumLock}) {
        const int lock = method == kToggleScrollLock ? kVkScroll : kVkNumLock;
        state.toggleMethod = method;
        keys.lockPresses.clear();
        keys.states[lock] = kToggled;  // translating now: back to Latin
        typeGhb();
        EXPECT_EQ(pause(), kWmNull);
        EXPECT_EQ(keys.lockPresses, std::vector<int>{lock});
        EXPECT_EQ(state.translationSwitch, 0u) << "the shared switch is not the lock methods' business";
        // The injected press arrives (the key state has taken it), then the
        // Backspaces and the keys: the word is the retyped one.
        keys.states[lock] = 0;
        keyDown(static_cast<std::uint32_t>(lock), kScanScrollLock);
        EXPECT_EQ(keys.posts.back(), (ModePost{0x9000, 0, method}));
        for (int i = 0; i < 3; ++i) type(kScanBackspace, 0x08);
        typeGhb();
        EXPECT_EQ(wordKeys(), ghb);
        word::forget(keys.typedWord);
    }
}

TEST_F(TypedWordTest, PauseReachesTheProgramWhenThereIsNothingToMend) {
    EXPECT_EQ(pause(), kWmKeyDown) << "nothing typed";
    type(kScanSpace, ' ');
    EXPECT_EQ(pause(), kWmKeyDown) << "only a space";
    typeGhb();
    state.entryCount = 0;
    EXPECT_EQ(pause(), kWmKeyDown) << "no table";
    state.entryCount = vyrtel::layouts::kBuiltinEntryCount;
    state.toggleMethod = 4;
    EXPECT_EQ(pause(), kWmKeyDown) << "a method that toggles nothing";
    state.toggleMethod = kToggleCtrlShiftLeftRight;
    keys.states[kVkControl] = kDown;
    EXPECT_EQ(pause(), kWmKeyDown) << "with Ctrl";
    keys.states[kVkControl] = 0;
    keys.states[kVkMenu] = kDown;
    EXPECT_EQ(pause(), kWmKeyDown) << "with Alt";
    keys.states[kVkMenu] = 0;
    EXPECT_TRUE(keys.retypings.empty());
    EXPECT_TRUE(keys.beeps.empty());
    EXPECT_EQ(state.translationSwitch, 0u);
}

TEST_F(TypedWordTest, APeekedPauseIsSwallowedAndActsOnlyWhenRemoved) {
    typeGhb();
    EXPECT_EQ(pause(kEdit, 0), kWmNull);
    EXPECT_TRUE(keys.retypings.empty());
    EXPECT_EQ(state.translationSwitch, 0u);
    EXPECT_EQ(pause(kEdit, 1), kWmNull);
    EXPECT_EQ(keys.retypings.size(), 1u);
    EXPECT_EQ(state.translationSwitch, 1u);
}

TEST_F(TypedWordTest, ShiftPauseAsksTheProgramToMendTheSelection) {
    typeGhb();
    keys.states[kVkShift] = kDown;
    EXPECT_EQ(pause(kEdit, 0), kWmNull);
    EXPECT_TRUE(keys.mendPosts.empty()) << "a peek asks nothing";
    EXPECT_EQ(pause(), kWmNull);
    EXPECT_EQ(keys.mendPosts, std::vector<std::uintptr_t>{0x9000});
    EXPECT_TRUE(keys.retypings.empty());
    EXPECT_TRUE(word::empty(keys.typedWord)) << "the selection's mending types over the word";
    EXPECT_EQ(state.translationSwitch, 0u);

    // With nowhere to ask, or no table, the key reaches the program.
    state.registeredWindow = 0;
    EXPECT_EQ(pause(), kWmKeyDown);
    state.registeredWindow = 0x9000;
    state.entryCount = 0;
    EXPECT_EQ(pause(), kWmKeyDown);
    EXPECT_EQ(keys.mendPosts.size(), 1u);
}

}  // namespace

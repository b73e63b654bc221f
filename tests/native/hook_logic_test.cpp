// The hook procedure's decisions, driven with synthetic messages and faked
// key states: dispatch, toggling, translation conditions, lookup and shift
// resolution, and what lands in the working slots.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "hooklib/hook_logic.h"

#include "hook_fakes.h"

namespace {

using namespace hooktest;

// ---- Dispatch on hook code and message ----

TEST_F(HookLogic, NegativeCodePassesOnWithTheSharedHookHandleAndReturnsItsResult) {
    activate();
    // A handle with its top bits set: a pointer-sized handle passes whole.
    const HandleWord hook = ~HandleWord(0) - 0x1234;
    state.hookHandle = hook;
    for (std::int32_t code : {-1, -100, INT_MIN}) {
        FakeMsg msg = charMsg(kScanQ, 'q');
        EXPECT_EQ(run(msg, code), 0x5A5A);
        EXPECT_EQ(msg.wParam, std::uint32_t('q'));
        const NextHookCall expected{hook, code, 1, reinterpret_cast<std::intptr_t>(&msg)};
        EXPECT_EQ(keys.nextHookCalls.back(), expected);
    }
    EXPECT_EQ(keys.nextHookCalls.size(), 3u);
    EXPECT_TRUE(keys.reads.empty());
}

TEST_F(HookLogic, NegativeCodeNeverTouchesLParamWhichNeedNotPointToAMessage) {
    state.hookHandle = 7;
    EXPECT_EQ(hookProcedure<FakeMsg>(state, -1, 0, 0, keys), 0x5A5A);  // a null lParam
    EXPECT_EQ(hookProcedure<FakeMsg>(state, -1, 0, -12345, keys), 0x5A5A);
    EXPECT_EQ(keys.nextHookCalls.back().lParam, -12345);
}

TEST_F(HookLogic, PositiveCodeReturnsZeroAndChangesNothing) {
    activate();
    for (std::int32_t code : {1, 2, INT_MAX}) {
        FakeMsg msg = charMsg(kScanQ, 'q');
        EXPECT_EQ(run(msg, code), 0);
        EXPECT_EQ(msg.wParam, std::uint32_t('q'));
        keys.states[kVkControl] = kDown;
        FakeMsg toggle = shiftDown(0x2A);
        run(toggle, code);
    }
    EXPECT_TRUE(keys.reads.empty());
    EXPECT_TRUE(keys.nextHookCalls.empty());
    EXPECT_EQ(state.translationSwitch, 1u);
}

TEST_F(HookLogic, MessagesOtherThanKeyDownAndCharPassUntouchedAndUnread) {
    activate();
    state.toggleMethod = 4;  // would translate any WM_CHAR unconditionally
    keys.states[kVkControl] = kDown;
    const SharedHookState before = state;
    for (std::uint32_t message : {kWmKeyUp, kWmSysKeyDown, kWmSysChar, kWmDeadChar, kWmMouseMove, kWmPaint, 0u}) {
        FakeMsg msg{message, kVkShift, lParamFor(kScanQ)};
        EXPECT_EQ(run(msg), 0);
        EXPECT_EQ(msg.wParam, std::uint32_t(kVkShift)) << message;
        EXPECT_EQ(msg.lParam, lParamFor(kScanQ)) << message;
    }
    EXPECT_TRUE(keys.reads.empty());
    EXPECT_EQ(std::memcmp(&before, &state, sizeof state), 0);
}

// ---- Toggling under each method ----

TEST_F(HookLogic, LeftRightMethodSwitchesOnWithRightShiftAndOffWithLeftShift) {
    pressCtrlAndShift(kScanRightShift);
    EXPECT_EQ(state.translationSwitch, 1u);
    pressCtrlAndShift(kScanRightShift);  // already on: nothing
    pressCtrlAndShift(kScanLeftShift);
    EXPECT_EQ(state.translationSwitch, 0u);
    pressCtrlAndShift(kScanLeftShift);  // already off: nothing
    EXPECT_EQ(state.translationSwitch, 0u);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{1000, 40}, {600, 40}};
    EXPECT_EQ(keys.beeps, expected);
}

TEST_F(HookLogic, LeftRightMethodTreatsAnyScanCodeButLeftShiftAsSwitchingOn) {
    pressCtrlAndShift(0x00);
    EXPECT_EQ(state.translationSwitch, 1u);
    EXPECT_EQ(state.scanCodeSlot, 0x00);
}

TEST_F(HookLogic, CycledMethodFlipsOnEveryCtrlShiftWithEitherShiftKey) {
    state.toggleMethod = kToggleCtrlShiftCycled;
    pressCtrlAndShift(kScanLeftShift);
    EXPECT_EQ(state.translationSwitch, 1u);
    pressCtrlAndShift(kScanLeftShift);
    EXPECT_EQ(state.translationSwitch, 0u);
    pressCtrlAndShift(kScanRightShift);
    EXPECT_EQ(state.translationSwitch, 1u);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {
        {1000, 40}, {600, 40}, {1000, 40}};
    EXPECT_EQ(keys.beeps, expected);
}

TEST_F(HookLogic, AKeyDownThatIsPeekedAndThenRetrievedTogglesTwice) {
    state.toggleMethod = kToggleCtrlShiftCycled;
    keys.states[kVkControl] = kDown;
    FakeMsg msg = shiftDown(kScanRightShift);
    const auto address = reinterpret_cast<std::intptr_t>(&msg);
    hookProcedure<FakeMsg>(state, 0, 0, address, keys);  // PM_NOREMOVE
    hookProcedure<FakeMsg>(state, 0, 1, address, keys);  // PM_REMOVE
    EXPECT_EQ(state.translationSwitch, 0u);
    EXPECT_EQ(keys.beeps.size(), 2u);
}

TEST_F(HookLogic, NothingTogglesWithoutCtrlOnAutoRepeatOrForOtherKeys) {
    for (std::int32_t method : {kToggleCtrlShiftCycled, kToggleCtrlShiftLeftRight}) {
        state.toggleMethod = method;
        keys.states[kVkControl] = 0;
        FakeMsg noCtrl = shiftDown(kScanRightShift);
        run(noCtrl);
        pressCtrlAndShift(kScanRightShift, kRepeat);  // auto-repeat
        keys.states[kVkShift] = kDown;                // Ctrl pressed while Shift held
        FakeMsg ctrlDown{kWmKeyDown, static_cast<std::uint32_t>(kVkControl), lParamFor(0x1D)};
        run(ctrlDown);
        FakeMsg wideShift{kWmKeyDown, 0x00010010u, lParamFor(kScanRightShift)};  // not VK_SHIFT as a whole
        run(wideShift);
        FakeMsg lShift{kWmKeyDown, 0xA0u, lParamFor(kScanLeftShift)};  // VK_LSHIFT is not VK_SHIFT
        run(lShift);
    }
    EXPECT_EQ(state.translationSwitch, 0u);
    EXPECT_TRUE(keys.beeps.empty());
}

TEST_F(HookLogic, CtrlCountsAsDownForAnyBitOfTheMask0xFF80) {
    state.toggleMethod = kToggleCtrlShiftCycled;
    keys.states[kVkControl] = 0x0080;
    FakeMsg msg = shiftDown(kScanRightShift);
    run(msg);
    EXPECT_EQ(state.translationSwitch, 1u);
    keys.states[kVkControl] = 0x007F;  // toggle bit and low bits only: up
    run(msg);
    EXPECT_EQ(state.translationSwitch, 1u);
}

TEST_F(HookLogic, SilentBeeperChangesTheSwitchWithoutSound) {
    state.beeperFlag = 0;
    pressCtrlAndShift(kScanRightShift);
    EXPECT_EQ(state.translationSwitch, 1u);
    pressCtrlAndShift(kScanLeftShift);
    EXPECT_EQ(state.translationSwitch, 0u);
    EXPECT_TRUE(keys.beeps.empty());
}

TEST_F(HookLogic, LockKeyMethodsAndUnknownMethodsNeverToggleNorReadCtrl) {
    for (std::int32_t method : {kToggleScrollLock, kToggleNumLock, 4, -1, INT_MIN}) {
        state.toggleMethod = method;
        pressCtrlAndShift(kScanRightShift);
        pressCtrlAndShift(kScanLeftShift);
    }
    EXPECT_EQ(state.translationSwitch, 0u);
    EXPECT_TRUE(keys.beeps.empty());
    EXPECT_TRUE(keys.reads.empty());
}

TEST_F(HookLogic, SwitchSurvivesAChangeOfMethodAndBack) {
    pressCtrlAndShift(kScanRightShift);
    state.toggleMethod = kToggleScrollLock;
    pressCtrlAndShift(kScanLeftShift);
    state.toggleMethod = kToggleCtrlShiftLeftRight;
    EXPECT_EQ(state.translationSwitch, 1u);
}

// ---- The mode message to the registered window ----

constexpr std::uintptr_t kWindow = 0x1234;

FakeMsg lockDown(int vk, std::uint32_t flags = 0) {
    return FakeMsg{kWmKeyDown, static_cast<std::uint32_t>(vk), lParamFor(vk == kVkScroll ? 0x46 : 0x45, flags)};
}

TEST_F(HookLogic, EveryChangeOfTheSwitchIsPostedOnceWithTheSwitchAndTheMethod) {
    state.registeredWindow = kWindow;
    pressCtrlAndShift(kScanRightShift);
    pressCtrlAndShift(kScanRightShift);  // already on: no change, no post
    pressCtrlAndShift(kScanLeftShift);
    state.toggleMethod = kToggleCtrlShiftCycled;
    state.beeperFlag = 0;  // silent switches are posted all the same
    pressCtrlAndShift(kScanLeftShift);
    pressCtrlAndShift(kScanRightShift);
    const std::vector<ModePost> expected = {{kWindow, 1, kToggleCtrlShiftLeftRight},
                                            {kWindow, 0, kToggleCtrlShiftLeftRight},
                                            {kWindow, 1, kToggleCtrlShiftCycled},
                                            {kWindow, 0, kToggleCtrlShiftCycled}};
    EXPECT_EQ(keys.posts, expected);
}

TEST_F(HookLogic, ALockKeyDownPostsItsToggleStateUnderItsOwnMethodOnly) {
    state.registeredWindow = kWindow;
    state.toggleMethod = kToggleScrollLock;
    keys.states[kVkScroll] = kToggled;
    FakeMsg scroll = lockDown(kVkScroll);
    run(scroll);
    keys.states[kVkScroll] = kDown;  // toggled off, key still held
    run(scroll);
    FakeMsg num = lockDown(kVkNumLock);
    run(num);  // not this method's key
    state.toggleMethod = kToggleNumLock;
    keys.states[kVkNumLock] = static_cast<std::int16_t>(kToggled | kDown);
    run(num);
    run(scroll);
    const std::vector<ModePost> expected = {
        {kWindow, 1, kToggleScrollLock}, {kWindow, 0, kToggleScrollLock}, {kWindow, 1, kToggleNumLock}};
    EXPECT_EQ(keys.posts, expected);
    EXPECT_EQ(scroll.wParam, std::uint32_t(kVkScroll)) << "the key-down itself is never changed";
    EXPECT_TRUE(keys.beeps.empty());
    EXPECT_EQ(state.translationSwitch, 0u) << "the switch is the Ctrl+Shift methods' alone";
}

TEST_F(HookLogic, LockKeysUnderOtherMethodsAndAutoRepeatPostNothingAndReadNothing) {
    state.registeredWindow = kWindow;
    for (std::int32_t method : {kToggleCtrlShiftCycled, kToggleCtrlShiftLeftRight, 4, -1}) {
        state.toggleMethod = method;
        for (int vk : {kVkScroll, kVkNumLock, kVkCapital}) {
            FakeMsg msg = lockDown(vk);
            run(msg);
        }
    }
    state.toggleMethod = kToggleScrollLock;
    FakeMsg repeat = lockDown(kVkScroll, kRepeat);
    run(repeat);
    EXPECT_TRUE(keys.posts.empty());
    EXPECT_TRUE(keys.reads.empty());
}

TEST_F(HookLogic, NothingIsPostedWhileNoWindowIsRegistered) {
    pressCtrlAndShift(kScanRightShift);
    state.toggleMethod = kToggleScrollLock;
    keys.states[kVkScroll] = kToggled;
    FakeMsg scroll = lockDown(kVkScroll);
    run(scroll);
    EXPECT_EQ(state.translationSwitch, 1u);
    EXPECT_EQ(keys.beeps.size(), 1u);
    EXPECT_TRUE(keys.posts.empty());
}

TEST_F(HookLogic, MessagesPassedThroughAndCharactersPostNothing) {
    activate();
    state.registeredWindow = kWindow;
    for (std::uint32_t message : {kWmKeyUp, kWmSysKeyDown, kWmMouseMove, kWmPaint}) {
        FakeMsg msg{message, static_cast<std::uint32_t>(kVkScroll), lParamFor(0x46)};
        run(msg);
    }
    EXPECT_EQ(typed(kScanQ), 0xCAu);
    EXPECT_TRUE(keys.posts.empty());
}

// ---- When a character is translated ----

TEST_F(HookLogic, SwitchMethodsTranslateOnlyWhileTheSwitchIsOn) {
    load(vyrtel::layouts::kKoi8Typewriter);
    for (std::int32_t method : {kToggleCtrlShiftCycled, kToggleCtrlShiftLeftRight}) {
        state.toggleMethod = method;
        state.translationSwitch = 0;
        EXPECT_EQ(typed(kScanQ, 'q'), std::uint32_t('q'));
        state.translationSwitch = 1;
        EXPECT_EQ(typed(kScanQ, 'q'), 0xCAu);
    }
}

TEST_F(HookLogic, ScrollLockMethodFollowsScrollLockAloneWhateverTheSwitch) {
    load(vyrtel::layouts::kKoi8Typewriter);
    state.toggleMethod = kToggleScrollLock;
    state.translationSwitch = 1;
    EXPECT_EQ(typed(kScanQ, 'q'), std::uint32_t('q'));
    keys.states[kVkScroll] = kToggled;
    state.translationSwitch = 0;
    EXPECT_EQ(typed(kScanQ, 'q'), 0xCAu);
    keys.states[kVkScroll] = kDown;  // held but not toggled on
    EXPECT_EQ(typed(kScanQ, 'q'), std::uint32_t('q'));
    EXPECT_FALSE(keys.wasRead(kVkNumLock));
}

TEST_F(HookLogic, NumLockMethodFollowsNumLockAloneWhateverTheSwitch) {
    load(vyrtel::layouts::kKoi8Typewriter);
    state.toggleMethod = kToggleNumLock;
    state.translationSwitch = 1;
    keys.states[kVkScroll] = kToggled;
    EXPECT_EQ(typed(kScanQ, 'q'), std::uint32_t('q'));
    keys.states[kVkNumLock] = kToggled;
    state.translationSwitch = 0;
    EXPECT_EQ(typed(kScanQ, 'q'), 0xCAu);
    EXPECT_FALSE(keys.wasRead(kVkScroll));
}

TEST_F(HookLogic, MethodsOutsideTheRangeTranslateUnconditionally) {
    load(vyrtel::layouts::kKoi8Typewriter);
    for (std::int32_t method : {4, 7, -1, INT_MAX}) {
        state.toggleMethod = method;
        EXPECT_EQ(typed(kScanQ, 'q'), 0xCAu) << method;
        keys.states[kVkControl] = kDown;
        EXPECT_EQ(typed(kScanQ, 0x11), 0x11u) << method;  // Ctrl still blocks
        keys.states[kVkControl] = 0;
    }
}

TEST_F(HookLogic, CtrlHeldBlocksTranslationUnderEveryMethod) {
    load(vyrtel::layouts::kKoi8Typewriter);
    keys.states[kVkControl] = kDown;
    keys.states[kVkScroll] = kToggled;
    keys.states[kVkNumLock] = kToggled;
    state.translationSwitch = 1;
    for (std::int32_t method : {0, 1, 2, 3, 4}) {
        state.toggleMethod = method;
        EXPECT_EQ(typed(kScanQ, 0x11), 0x11u) << method;  // Ctrl+Q
    }
    // Ctrl is the only key read: the decision stops before the method's condition.
    for (int vk : keys.reads) EXPECT_EQ(vk, kVkControl);
}

TEST_F(HookLogic, ExtendedKeyAndAltContextCharactersAreNeverTranslated) {
    activate();
    EXPECT_EQ(typed(kScanSlash, '/', kExtended), std::uint32_t('/'));  // keypad slash
    EXPECT_EQ(typed(kScanSlash, '/'), 0x29u);                          // main slash key
    EXPECT_EQ(typed(kScanQ, 'q', kContext), std::uint32_t('q'));
    EXPECT_EQ(typed(kScanQ, 'q', kExtended | kContext), std::uint32_t('q'));
}

TEST_F(HookLogic, RepeatAndTransitionBitsDoNotMatterForCharacters) {
    activate();
    EXPECT_EQ(typed(kScanQ, 'q', kRepeat), 0xCAu);
    EXPECT_EQ(typed(kScanQ, 'q', kReleased), 0xCAu);
    EXPECT_EQ(typed(kScanQ, 'q', 0x1E000000u & ~kExtended), 0xCAu);  // reserved bits 25-28
}

TEST_F(HookLogic, ResultDependsOnTheScanCodeNotOnTheCharacterCarried) {
    activate();
    EXPECT_EQ(typed(kScanQ, 'q'), 0xCAu);
    EXPECT_EQ(typed(kScanQ, 'Z'), 0xCAu);
    EXPECT_EQ(typed(kScanQ, 0xFFFFFFFFu), 0xCAu);
}

// ---- Lookup ----

TEST_F(HookLogic, AnUnknownScanCodeLeavesTheCharacterAlone) {
    activate();
    EXPECT_EQ(typed(kScanBackslash, '\\'), std::uint32_t('\\'));
    EXPECT_EQ(typed(0x39, ' '), std::uint32_t(' '));  // space bar
    EXPECT_EQ(state.searchPositionSlot, 47);           // walked the whole table
}

TEST_F(HookLogic, FreshStateTranslatesNothingThoughItsTableAreaIsFilled) {
    state.translationSwitch = 1;
    ASSERT_EQ(state.tableArea[0].scanCode, kScan1);
    EXPECT_EQ(typed(kScanQ, 'q'), std::uint32_t('q'));
    EXPECT_EQ(typed(0, 0), 0u);
    EXPECT_EQ(state.searchPositionSlot, 0);
}

TEST_F(HookLogic, TheLowerOfTwoEntriesForOneScanCodeWins) {
    const KeyEntry table[] = {{0x20, 0, 'a', 'A'}, {0x10, 0, 'b', 'B'}, {0x10, 0, 'c', 'C'}};
    load(table, 3);
    state.translationSwitch = 1;
    EXPECT_EQ(typed(kScanQ), std::uint32_t('b'));
    EXPECT_EQ(state.searchPositionSlot, 1);
}

// Characters from input methods, on-screen keyboards, posted text and
// injected Unicode input carry scan code 0: no table entry may claim them,
// not even the all-zero entry the built-in tables are handed over with.
TEST_F(HookLogic, ScanCodeZeroNeverMatchesSoCharactersWithoutAKeyPassUnchanged) {
    using namespace vyrtel::layouts;
    for (const BuiltinTable* table : {&kKoi8Typewriter, &kKoi8Phonetic, &kCp1251Typewriter, &kCp1251Phonetic}) {
        activate(*table);
        ASSERT_EQ(state.entryCount, 47);
        ASSERT_EQ(state.tableArea[46], (KeyEntry{0, 0, 0, 0}));
        ASSERT_EQ(table->at(12).scanCode, kScanQ);
        for (std::uint32_t ch : {std::uint32_t('x'), 0x0439u, 0x4E2Du, 0xE9u, 0u}) {
            keys.states[kVkShift] = 0;
            EXPECT_EQ(typed(0, ch), ch);
            keys.states[kVkShift] = kDown;
            EXPECT_EQ(typed(0, ch), ch);
        }
        keys.states[kVkShift] = 0;
        EXPECT_EQ(typed(kScanQ, 0x0439u), std::uint32_t(table->at(12).unshifted)) << "a key still translates";
    }
    const KeyEntry zeroKey[] = {{0, 0, 'z', 'Z'}, {kScanQ, 0, 'q', 'Q'}};
    load(zeroKey, 2);
    EXPECT_EQ(typed(0, 0x263A), 0x263Au) << "an entry for scan code 0 is never reached";
    EXPECT_EQ(typed(kScanQ), std::uint32_t('q'));
}

// The engine hands the chosen byte to the platform, which gives the form the
// message carries (in the DLL, the UTF-16 unit of the byte in the ANSI code
// page); what passes untranslated is never converted.
TEST_F(HookLogic, TheChosenByteIsWrittenInThePlatformsFormOnlyWhenTranslated) {
    activate(vyrtel::layouts::kCp1251Typewriter);
    keys.codePage = {{0xE9, 0x0439}, {0xC9, 0x0419}, {0x31, 0x31}};
    EXPECT_EQ(typed(kScanQ, 'q'), 0x0439u);
    keys.states[kVkShift] = kDown;
    EXPECT_EQ(typed(kScanQ, 'Q'), 0x0419u);
    EXPECT_EQ(typed(kScanBackslash, 0xE9), 0xE9u) << "no entry: not converted";
    state.translationSwitch = 0;
    EXPECT_EQ(typed(kScanQ, 0xE9), 0xE9u) << "translation off: not converted";
}

// A Unicode window gets the letter the entry stands for, chosen by the same
// Shift and Caps Lock decision as the byte; every other case gets the byte
// in the platform's form, as without letters.
TEST_F(HookLogic, UnicodeWindowsGetTheLetterOfTheChosenSignAndEveryOtherCaseTheByte) {
    using namespace vyrtel::layouts;
    activate(kKoi8Typewriter);
    loadLetters(kKoi8TypewriterLetters);
    keys.codePage = {{0xCA, 0x00CA}, {0xEA, 0x00EA}};  // KOI8 bytes read as code page 1252
    struct Case {
        std::int16_t shift, caps;
        std::uint32_t letter, byte;
    } const cases[] = {{0, 0, u'й', 0xCA}, {kDown, 0, u'Й', 0xEA}, {0, kToggled, u'Й', 0xEA},
                       {kDown, kToggled, u'й', 0xCA}};
    for (const Case& c : cases) {
        keys.states[kVkShift] = c.shift;
        keys.states[kVkCapital] = c.caps;
        EXPECT_EQ(typed(kScanQ, 'q', 0, kUnicodeWindow), c.letter) << c.shift << " " << c.caps;
        EXPECT_EQ(typed(kScanQ, 'q', 0, kAnsiWindow), c.byte) << "an 8-bit window gets the byte";
        EXPECT_EQ(typed(kScanQ, 'q', 0, 0), c.byte) << "a thread message gets the byte";
    }
    keys.states[kVkShift] = kDown;
    keys.states[kVkCapital] = kToggled;
    EXPECT_EQ(typed(kScan1, '1', 0, kUnicodeWindow), std::uint32_t(u'#')) << "Caps Lock leaves signs alone";

    keys.windowsAsked.clear();
    EXPECT_EQ(typed(kScanBackslash, '\\', 0, kUnicodeWindow), std::uint32_t('\\')) << "no entry: unchanged";
    EXPECT_EQ(typed(kScanQ, 'q', kExtended, kUnicodeWindow), std::uint32_t('q'));
    state.translationSwitch = 0;
    EXPECT_EQ(typed(kScanQ, 'q', 0, kUnicodeWindow), std::uint32_t('q')) << "translation off: unchanged";
    EXPECT_TRUE(keys.windowsAsked.empty()) << "only a translated character asks about its window";
}

TEST_F(HookLogic, AZeroLetterOrNoLettersGiveTheByteAsWithoutLetters) {
    using namespace vyrtel::layouts;
    activate(kCp1251Typewriter);
    keys.codePage = {{0xE9, 0x00E9}};
    EXPECT_EQ(typed(kScanQ, 'q', 0, kUnicodeWindow), 0xE9u) << "the record holds no letters";
    EXPECT_TRUE(keys.windowsAsked.empty()) << "no letter, no question about the window";

    loadLetters(kCp1251TypewriterLetters);
    state.letterArea[2 * 12] = 0;  // Q without Shift: no letter
    EXPECT_EQ(typed(kScanQ, 'q', 0, kUnicodeWindow), 0xE9u);
    keys.states[kVkShift] = kDown;
    EXPECT_EQ(typed(kScanQ, 'q', 0, kUnicodeWindow), std::uint32_t(u'Й')) << "its shifted letter is still there";
}

// The letter is read at the position of the matched entry, whatever table
// the letters came with: a short table after a long one, and the letters
// of a table handed over later, follow the entries position by position.
TEST_F(HookLogic, TheLetterIsTheOneAtTheMatchedEntrysPosition) {
    const KeyEntry table[] = {{0x20, 0, 'a', 'A'}, {kScanQ, 1, 'b', 'B'}, {kScanQ, 1, 'c', 'C'}};
    load(table, 3);
    state.translationSwitch = 1;
    for (int i = 0; i < 2 * kTableCapacity; ++i) state.letterArea[i] = std::uint16_t(0x0400 + i);
    EXPECT_EQ(typed(kScanQ, 'q', 0, kUnicodeWindow), 0x0402u);
    keys.states[kVkShift] = kDown;
    EXPECT_EQ(typed(kScanQ, 'q', 0, kUnicodeWindow), 0x0403u);
    EXPECT_EQ(typed(0x20, 'q', 0, kUnicodeWindow), 0x0401u);
}

TEST_F(HookLogic, EntriesBeyondTheCountTakePartInNoLookup) {
    activate();
    const KeyEntry shortTable[] = {{kScan1, 0, '!', '!'}};
    load(shortTable, 1);  // entries 1..46 still hold the KOI8 typewriter table
    EXPECT_EQ(typed(kScan1, '1'), std::uint32_t('!'));
    EXPECT_EQ(typed(kScanQ, 'q'), std::uint32_t('q'));
}

TEST_F(HookLogic, NegativeAndZeroCountsCompareNothing) {
    activate();
    for (std::int32_t count : {0, -1, -47, INT_MIN}) {
        state.entryCount = count;
        EXPECT_EQ(typed(kScanQ, 'q'), std::uint32_t('q')) << count;
        EXPECT_EQ(state.searchPositionSlot, 0) << count;
    }
}

// Any process can write the shared section; a wild count must not send every
// GUI thread in the system past the end of the table area.
TEST_F(HookLogic, CountsAbove64NeverReachPastTheTableArea) {
    struct Guarded {
        SharedHookState state;
        KeyEntry beyond[16];
    } guarded;
    guarded.state = initialSharedState();
    std::fill(std::begin(guarded.state.tableArea), std::end(guarded.state.tableArea), KeyEntry{0x10, 0, 'k', 'K'});
    guarded.state.tableArea[0] = KeyEntry{0x02, 0, 'a', 'b'};
    std::fill(std::begin(guarded.beyond), std::end(guarded.beyond), KeyEntry{0x77, 0, '!', '!'});
    guarded.state.translationSwitch = 1;
    guarded.state.tableArea[63] = KeyEntry{0x66, 0, 'z', 'Z'};

    for (std::int32_t count : {65, 100, 1000, INT_MAX}) {
        guarded.state.entryCount = count;
        FakeMsg beyond = charMsg(0x77, 'x');
        hookProcedure<FakeMsg>(guarded.state, 0, 1, reinterpret_cast<std::intptr_t>(&beyond), keys);
        EXPECT_EQ(beyond.wParam, std::uint32_t('x')) << count;
        EXPECT_EQ(guarded.state.searchPositionSlot, 64) << count;
        FakeMsg last = charMsg(0x66, 'x');
        hookProcedure<FakeMsg>(guarded.state, 0, 1, reinterpret_cast<std::intptr_t>(&last), keys);
        EXPECT_EQ(last.wParam, std::uint32_t('z')) << "entry 64 is still reachable, count " << count;
    }
}

TEST_F(HookLogic, ACountOfExactly64SearchesEveryEntry) {
    KeyEntry table[64];
    for (int i = 0; i < 64; ++i) table[i] = KeyEntry{std::uint8_t(0x40 + i), 0, std::uint8_t(i), 0};
    load(table, 64);
    state.translationSwitch = 1;
    for (int i = 0; i < 64; ++i) EXPECT_EQ(typed(std::uint8_t(0x40 + i)), std::uint32_t(i));
    EXPECT_EQ(typed(0x3F, '?'), std::uint32_t('?'));
}

// ---- Shift and Caps Lock ----

TEST_F(HookLogic, CapsLockInvertsShiftOnLetterKeysAndLeavesOtherKeysAlone) {
    activate();
    struct Case {
        bool shift, caps;
        std::uint32_t q, one;
    };
    const Case cases[] = {
        {false, false, 0xCA, '1'},
        {true, false, 0xEA, '#'},
        {false, true, 0xEA, '1'},
        {true, true, 0xCA, '#'},
    };
    for (const Case& c : cases) {
        keys.states[kVkShift] = c.shift ? kDown : 0;
        keys.states[kVkCapital] = c.caps ? kToggled : 0;
        EXPECT_EQ(typed(kScanQ), c.q) << c.shift << c.caps;
        EXPECT_EQ(typed(kScan1), c.one) << c.shift << c.caps;
    }
}

TEST_F(HookLogic, CapsLockIsReadOnlyForEntriesWithTheCapsFlag) {
    activate();
    keys.states[kVkCapital] = kToggled;
    typed(kScan1);
    EXPECT_FALSE(keys.wasRead(kVkCapital));
    typed(kScanQ);
    EXPECT_TRUE(keys.wasRead(kVkCapital));
}

TEST_F(HookLogic, CapsLockHeldDownButNotToggledDoesNotShift) {
    activate();
    keys.states[kVkCapital] = kDown;
    EXPECT_EQ(typed(kScanQ), 0xCAu);
}

TEST_F(HookLogic, AnyNonzeroCapsFlagLetsCapsLockAct) {
    const KeyEntry table[] = {{kScanQ, 0x80, 'q', 'Q'}};
    load(table, 1);
    state.translationSwitch = 1;
    keys.states[kVkCapital] = kToggled;
    EXPECT_EQ(typed(kScanQ), std::uint32_t('Q'));
}

TEST_F(HookLogic, HighBytesArriveZeroExtended) {
    const KeyEntry table[] = {{kScanQ, 0, 0xFF, 0x80}};
    load(table, 1);
    state.translationSwitch = 1;
    EXPECT_EQ(typed(kScanQ, 0xFFFFFF71u), 0xFFu);
    keys.states[kVkShift] = kDown;
    EXPECT_EQ(typed(kScanQ, 'Q'), 0x80u);
}

TEST_F(HookLogic, AllFourTablesTranslateTheirGraveAccentAndSlashKeys) {
    using namespace vyrtel::layouts;
    const std::uint8_t kGrave = 0x29;
    activate(kKoi8Typewriter);
    EXPECT_EQ(typed(kGrave), 0xB1u);
    activate(kCp1251Typewriter);
    EXPECT_EQ(typed(kGrave), 0xB4u);
    EXPECT_EQ(typed(kScanSlash), 0x29u);
    activate(kKoi8Phonetic);
    keys.states[kVkCapital] = kToggled;  // ignored: the key's caps flag is clear
    EXPECT_EQ(typed(kGrave), 0x29u);
    EXPECT_EQ(typed(kScanSlash), 0xB7u);
    activate(kCp1251Phonetic);
    EXPECT_EQ(typed(kScanSlash), 0xAFu);
}

// ---- Key states read from GetKeyboardState ----

TEST(KeyboardState, EachByteGivesTheStateGetKeyStateWouldGive) {
    using detail::keyStateFromKeyboardByte;
    EXPECT_EQ(keyStateFromKeyboardByte(0x00), 0);
    EXPECT_EQ(keyStateFromKeyboardByte(0x80), kDown);
    EXPECT_EQ(keyStateFromKeyboardByte(0x01), kToggled);
    EXPECT_EQ(keyStateFromKeyboardByte(0x81), static_cast<std::int16_t>(0xFF81));
    // Bits other than down and toggled mean nothing to GetKeyState.
    EXPECT_EQ(keyStateFromKeyboardByte(0x7E), 0);
    EXPECT_EQ(keyStateFromKeyboardByte(0xFF), static_cast<std::int16_t>(0xFF81));
    for (int byte = 0; byte < 256; ++byte) {
        const std::int16_t state = keyStateFromKeyboardByte(static_cast<std::uint8_t>(byte));
        EXPECT_EQ(detail::isDown(state), (byte & 0x80) != 0) << byte;
        EXPECT_EQ(detail::isToggledOn(state), (byte & 1) != 0) << byte;
    }
}

// ---- Working slots ----

TEST_F(HookLogic, CharacterStepRecordsWhatItReadInTheWorkingSlots) {
    activate();
    state.toggleMethod = kToggleScrollLock;
    keys.states[kVkControl] = 0x0001;  // Ctrl up, toggle bit set
    keys.states[kVkScroll] = static_cast<std::int16_t>(0xFF81);
    keys.states[kVkShift] = static_cast<std::int16_t>(0xFF81);
    keys.states[kVkCapital] = 0x0001;
    EXPECT_EQ(typed(kScan1), std::uint32_t('#'));
    EXPECT_EQ(state.ctrlSlot, 0x0001);
    EXPECT_EQ(state.scrollLockSlot, 0xFF81);
    EXPECT_EQ(state.scanCodeSlot, kScan1);
    EXPECT_EQ(state.searchPositionSlot, 0);
    EXPECT_EQ(state.shiftSlot, 0xFF80) << "masked Shift state for an entry without caps flag";
    EXPECT_EQ(state.capsLockSlot, 0) << "Caps Lock not read for the 1 key";

    EXPECT_EQ(typed(kScanQ), 0xCAu);  // Shift and Caps Lock cancel out
    EXPECT_EQ(state.searchPositionSlot, 12);
    EXPECT_EQ(state.capsLockSlot, 1);
    EXPECT_EQ(state.shiftSlot, 0) << "outcome of the shift resolution: unshifted";
    keys.states[kVkShift] = 0;
    typed(kScanQ);
    EXPECT_EQ(state.shiftSlot, 1) << "outcome of the shift resolution: shifted";
}

TEST_F(HookLogic, NumLockMethodRecordsNumLockButNotScrollLock) {
    activate();
    state.toggleMethod = kToggleNumLock;
    keys.states[kVkNumLock] = 0x0001;
    keys.states[kVkScroll] = 0x0001;
    typed(kScanQ);
    EXPECT_EQ(state.numLockSlot, 0x0001);
    EXPECT_EQ(state.scrollLockSlot, 0);
}

TEST_F(HookLogic, KeyDownRecordsCtrlAndUnderLeftRightTheScanCode) {
    state.toggleMethod = kToggleCtrlShiftCycled;
    pressCtrlAndShift(kScanRightShift);
    EXPECT_EQ(state.ctrlSlot, static_cast<std::uint16_t>(kDown));
    EXPECT_EQ(state.scanCodeSlot, 0) << "method 2 does not look at the scan code";
    state.toggleMethod = kToggleCtrlShiftLeftRight;
    pressCtrlAndShift(kScanRightShift);
    EXPECT_EQ(state.scanCodeSlot, kScanRightShift);
}

TEST_F(HookLogic, SlotsAreOutputsOnlyAndNeverSteerADecision) {
    activate();
    state.shiftSlot = 1;
    state.capsLockSlot = 1;
    state.ctrlSlot = static_cast<std::uint16_t>(kDown);
    state.scrollLockSlot = 1;
    state.searchPositionSlot = 40;
    EXPECT_EQ(typed(kScanQ), 0xCAu);
}

// ---- Ctrl in the character step: any bit of 0xFF80 is a held key ----

// As in the key-down step, each of those bits alone means Ctrl is held; the
// toggle bit and the bits below it alone mean it is up.
class CharStepCtrl : public HookLogic {};

TEST_F(CharStepCtrl, EveryBitOfTheDownMaskBlocksTranslationAlone) {
    activate();
    for (int bit = 7; bit < 16; ++bit) {
        keys.states[kVkControl] = static_cast<std::int16_t>(1u << bit);
        EXPECT_EQ(typed(kScanQ, 0x11), 0x11u) << "Ctrl state " << std::hex << (1u << bit);
    }
}

TEST_F(CharStepCtrl, ToggleAndLowBitsAloneLeaveCtrlUp) {
    activate();
    for (std::int16_t up : {std::int16_t(0x0001), std::int16_t(0x0040), std::int16_t(0x007F)}) {
        keys.states[kVkControl] = up;
        EXPECT_EQ(typed(kScanQ, 'q'), 0xCAu) << "Ctrl state " << std::hex << up;
    }
}

}  // namespace

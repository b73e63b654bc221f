// The fakes the hook engine's tests drive it with: message records, a
// platform with key states set by the test that records what the engine
// reads, beeps, posts and types, and a fixture that loads tables.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "hooklib/hook_logic.h"

namespace hooktest {

using namespace tavrilex;

using vyrtel::layouts::BuiltinTable;
using vyrtel::layouts::KeyEntry;

constexpr std::int16_t kDown = static_cast<std::int16_t>(0xFF80);  // as GetKeyState
constexpr std::int16_t kToggled = 0x0001;

constexpr std::uint32_t kWmDeadChar = 0x0103;
constexpr std::uint32_t kWmSysChar = 0x0106;
constexpr std::uint32_t kWmMouseMove = 0x0200;
constexpr std::uint32_t kWmPaint = 0x000F;

constexpr std::uint8_t kScanQ = 0x10;
constexpr std::uint8_t kScan1 = 0x02;
constexpr std::uint8_t kScanSlash = 0x35;
constexpr std::uint8_t kScanBackslash = 0x2B;
constexpr std::uint8_t kScanRightShift = 0x36;

struct FakeMsg {
    std::uint32_t message;
    std::uint32_t wParam;
    std::uint32_t lParam;
    std::uintptr_t hwnd = 0;  // 0: a thread message
};

constexpr std::uintptr_t kUnicodeWindow = 0x1000;
constexpr std::uintptr_t kAnsiWindow = 0x2000;

struct ModePost {
    std::uintptr_t window;
    std::uint32_t translated;
    std::int32_t method;
    bool operator==(const ModePost&) const = default;
};

struct NextHookCall {
    std::uintptr_t hook;
    std::int32_t code;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const NextHookCall&) const = default;
};

// Key states as the test sets them; records which keys were read, which
// beeps were asked for and what was handed on to the next hook.
struct FakePlatform {
    std::map<int, std::int16_t> states;
    std::vector<int> reads;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> beeps;
    std::vector<NextHookCall> nextHookCalls;
    std::intptr_t nextHookResult = 0x5A5A;

    std::int16_t keyState(int vk) {
        reads.push_back(vk);
        return states[vk];
    }
    void beep(std::uint32_t hertz, std::uint32_t ms) { beeps.emplace_back(hertz, ms); }
    std::vector<ModePost> posts;
    void postMode(std::uintptr_t window, std::uint32_t translated, std::int32_t method) {
        posts.push_back({window, translated, method});
    }
    std::intptr_t callNextHook(std::uintptr_t hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam) {
        nextHookCalls.push_back({hook, code, wParam, lParam});
        return nextHookResult;
    }
    // The form of the character written: the byte itself unless a test
    // gives the platform a code page.
    std::map<std::uint8_t, std::uint32_t> codePage;
    std::uint32_t characterFor(std::uint8_t byte) {
        const auto found = codePage.find(byte);
        return found != codePage.end() ? found->second : byte;
    }
    // Which windows take letters; every window asked about is recorded.
    std::vector<std::uintptr_t> windowsAsked;
    bool takesLetters(std::uintptr_t window) {
        windowsAsked.push_back(window);
        return window == kUnicodeWindow;
    }

    // The process's word, and what the engine typed and posted.
    TypedWord typedWord{};
    TypedWord& word() { return typedWord; }
    std::vector<std::uintptr_t> hidingWindows;
    std::vector<std::uintptr_t> windowsAskedToHide;
    bool hidesText(std::uintptr_t window) {
        windowsAskedToHide.push_back(window);
        for (std::uintptr_t w : hidingWindows) {
            if (w == window) return true;
        }
        return false;
    }
    std::vector<int> lockPresses;
    void pressLock(int vk) { lockPresses.push_back(vk); }
    struct Retyping {
        int backspaces;
        std::vector<std::pair<std::uint8_t, bool>> keys;
        int spaces;
        bool operator==(const Retyping&) const = default;
    };
    std::vector<Retyping> retypings;
    void typeAgain(int backspaces, const TypedKey* typedKeys, int count, int spaces) {
        Retyping r{backspaces, {}, spaces};
        for (int i = 0; i < count; ++i) r.keys.emplace_back(typedKeys[i].scanCode, typedKeys[i].shifted != 0);
        retypings.push_back(r);
    }
    std::vector<std::uintptr_t> mendPosts;
    void postMend(std::uintptr_t window) { mendPosts.push_back(window); }

    // The automatic mend: a decision that mends the words the test lists
    // (their typed signs, as UTF-16) and records every word it is asked
    // about; an edit control whose text before the caret the test sets.
    AutoMend mend{};
    AutoMend& autoMend() { return mend; }
    std::uintptr_t mark = 0;  // the extra information of the message being retrieved
    std::uintptr_t messageMark() { return mark; }
    std::uint32_t ticks = 1000;
    std::uint32_t now() { return ticks; }
    struct Decided {
        std::u16string typed, other;
        bool typedTranslated;
        vyrtel::automend::Layout layout;
    };
    std::vector<std::u16string> wrongWords;
    std::vector<Decided> decided;
    bool shouldMend(const vyrtel::automend::TypedSigns& w) {
        Decided d{std::u16string(w.typed, w.count), std::u16string(w.other, w.count), w.typedTranslated, w.layout};
        decided.push_back(d);
        for (const auto& wrong : wrongWords) {
            if (wrong == d.typed) return true;
        }
        return false;
    }
    std::uintptr_t editWindow = 0;  // 0: no window is an edit control
    std::u16string textBeforeCaret;
    bool selection = false;
    std::vector<std::u16string> caretChecks;
    bool caretAfterWord(std::uintptr_t window, const char16_t* shown, int count) {
        const std::u16string word(shown, count);
        caretChecks.push_back(word);
        if (window != editWindow) return true;
        return !selection && textBeforeCaret.size() >= word.size() &&
               textBeforeCaret.compare(textBeforeCaret.size() - word.size(), word.size(), word) == 0;
    }
    struct Mending {
        std::vector<std::pair<std::uint8_t, bool>> keys;
        bool shiftDown;
        bool operator==(const Mending&) const = default;
    };
    std::vector<Mending> mendings;
    bool injectionRefused = false;
    bool typeMend(const TypedKey* typedKeys, int count, bool shiftDown) {
        Mending m{{}, shiftDown};
        for (int i = 0; i < count; ++i) m.keys.emplace_back(typedKeys[i].scanCode, typedKeys[i].shifted != 0);
        mendings.push_back(m);
        return !injectionRefused;
    }
    struct Replay {
        HeldKey key;
        std::uint32_t mark;
    };
    std::vector<Replay> replays;
    void replay(const HeldKey& key, std::uint32_t m) { replays.push_back({key, m}); }

    bool wasRead(int vk) const {
        for (int r : reads) {
            if (r == vk) return true;
        }
        return false;
    }
};

constexpr std::uint32_t lParamFor(std::uint8_t scanCode, std::uint32_t flags = 0) {
    return 1u | (std::uint32_t(scanCode) << 16) | flags;
}

constexpr std::uint32_t kExtended = 1u << 24;
constexpr std::uint32_t kContext = 1u << 29;
constexpr std::uint32_t kRepeat = 1u << 30;
constexpr std::uint32_t kReleased = 1u << 31;

inline FakeMsg charMsg(std::uint8_t scanCode, std::uint32_t ch = 'x', std::uint32_t flags = 0) {
    return FakeMsg{kWmChar, ch, lParamFor(scanCode, flags)};
}

inline FakeMsg shiftDown(std::uint8_t scanCode, std::uint32_t flags = 0) {
    return FakeMsg{kWmKeyDown, static_cast<std::uint32_t>(kVkShift), lParamFor(scanCode, flags)};
}

class HookLogic : public ::testing::Test {
protected:
    SharedHookState state = initialSharedState();
    FakePlatform keys;

    void load(const KeyEntry* table, std::int32_t count) {
        for (std::int32_t i = 0; i < count; ++i) state.tableArea[i] = table[i];
        state.entryCount = count;
    }
    void load(const BuiltinTable& table) { load(table.data(), std::int32_t(table.size())); }
    void loadLetters(const vyrtel::layouts::BuiltinLetters& letters) {
        for (std::size_t i = 0; i < letters.size(); ++i) state.letterArea[i] = letters[i];
    }

    // Translation active under the default method 3.
    void activate(const BuiltinTable& table = vyrtel::layouts::kKoi8Typewriter) {
        load(table);
        state.toggleMethod = kToggleCtrlShiftLeftRight;
        state.translationSwitch = 1;
    }

    // One call of the hook procedure, with the remove flag PM_REMOVE.
    std::intptr_t run(FakeMsg& msg, std::int32_t code = 0) {
        return hookProcedure<FakeMsg>(state, code, 1, reinterpret_cast<std::intptr_t>(&msg), keys);
    }

    // The character a WM_CHAR for `scanCode` arrives with, in `window`.
    std::uint32_t typed(std::uint8_t scanCode, std::uint32_t ch = 'x', std::uint32_t flags = 0,
                        std::uintptr_t window = 0) {
        FakeMsg msg = charMsg(scanCode, ch, flags);
        msg.hwnd = window;
        run(msg);
        EXPECT_EQ(msg.message, kWmChar);
        EXPECT_EQ(msg.lParam, lParamFor(scanCode, flags)) << "lParam is never changed";
        return msg.wParam;
    }

    void pressCtrlAndShift(std::uint8_t shiftScan, std::uint32_t flags = 0) {
        keys.states[kVkControl] = kDown;
        FakeMsg msg = shiftDown(shiftScan, flags);
        run(msg);
        EXPECT_EQ(msg.wParam, std::uint32_t(kVkShift)) << "the key-down itself is never changed";
        EXPECT_EQ(msg.message, kWmKeyDown);
    }
};

}  // namespace hooktest

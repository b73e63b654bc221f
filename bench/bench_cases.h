// The four decisions that are measured, shared by the timing benchmark and
// the instruction counter: (a) a message the hook does not handle, (b) a
// character found at the first entry, (c) at the last key entry, (d) a scan
// code absent from the table. Translation is active with the KOI8
// typewriter table and its letters under the Ctrl+Shift (Left/Right)
// method, and the characters go to a Unicode window, which takes letters.
#pragma once

#include <cstdint>

#include "hooklib/hook_logic.h"

namespace bench {

struct Msg {
    std::uintptr_t hwnd;
    std::uint32_t message;
    std::uint32_t wParam;
    std::uint32_t lParam;
};

// Stands in for GetKeyState: an out-of-line call into state the compiler
// cannot see through, as the real one is.
struct Keys {
    std::int16_t states[256];
    __attribute__((noinline)) std::int16_t keyState(int vk) { return states[vk & 0xFF]; }
    void beep(std::uint32_t, std::uint32_t) {}
    void postMode(std::uintptr_t, std::uint32_t, std::int32_t) {}
    std::intptr_t callNextHook(std::uintptr_t, std::int32_t, std::uintptr_t, std::intptr_t) { return 0; }
    // As the DLL's: one read of a table built once.
    std::uint16_t characters[256];
    std::uint32_t characterFor(std::uint8_t byte) { return characters[byte]; }
    // Stands in for IsWindowUnicode, out of line as that is.
    __attribute__((noinline)) bool takesLetters(std::uintptr_t window) { return window != 0; }
    // The word is kept as the DLL keeps it; no window hides its text.
    tavrilex::TypedWord typed;
    tavrilex::TypedWord& word() { return typed; }
    bool hidesText(std::uintptr_t) { return false; }
    void pressLock(int) {}
    void typeAgain(int, const tavrilex::TypedKey*, int, int) {}
    void postMend(std::uintptr_t) {}
    // The automatic mend: the real decision; the caret never stands after
    // the word, so a space is decided and then let go, as often as it is
    // given.
    tavrilex::AutoMend mend{};
    tavrilex::AutoMend& autoMend() { return mend; }
    std::uintptr_t messageMark() { return 0; }
    std::uint32_t now() { return 0; }
    __attribute__((noinline)) bool shouldMend(const vyrtel::automend::TypedSigns& word) {
        return vyrtel::automend::shouldMend(word);
    }
    __attribute__((noinline)) bool caretAfterWord(std::uintptr_t, const char16_t*, int) { return false; }
    bool typeMend(const tavrilex::TypedKey*, int, bool) { return true; }
    void replay(const tavrilex::HeldKey&, std::uint32_t) {}
};

// The last two: the space that ends a ten-letter word typed with
// translation off, with the automatic mend on: one in the wrong mode
// (ghbdsnfyyz, привітання), one right (understand).
enum Case { kOtherMessage, kFirstEntry, kLastEntry, kAbsent, kSpaceWrongWord, kSpaceRightWord, kCaseCount };

inline const char* caseName(int c) {
    static const char* const names[] = {"a_other_message", "b_first_entry", "c_last_entry", "d_absent",
                                        "e_space_wrong", "f_space_right"};
    return names[c];
}

inline Msg messageFor(int c) {
    switch (c) {
        case kOtherMessage: return Msg{1, 0x0200, 0, 0};             // WM_MOUSEMOVE
        case kFirstEntry: return Msg{1, 0x0102, '1', 0x00020001u};   // the 1 key
        case kLastEntry: return Msg{1, 0x0102, '/', 0x00350001u};    // the slash key
        case kSpaceWrongWord:
        case kSpaceRightWord: return Msg{1, 0x0100, 0x20, 0x00390001u};  // the space's key-down
        default: return Msg{1, 0x0102, '\\', 0x002B0001u};           // backslash
    }
}

// Makes ready what a case needs besides its message: for the spaces, the
// word typed and the mode and the automatic mend set.
inline void prepare(int c, tavrilex::SharedHookState& state, Keys& keys) {
    if (c != kSpaceWrongWord && c != kSpaceRightWord) return;
    static const std::uint8_t wrong[10] = {0x22, 0x23, 0x30, 0x20, 0x1F, 0x31, 0x21, 0x15, 0x15, 0x2C};
    static const std::uint8_t right[10] = {0x16, 0x31, 0x20, 0x12, 0x13, 0x1F, 0x14, 0x1E, 0x31, 0x20};
    const std::uint8_t* scans = c == kSpaceWrongWord ? wrong : right;
    keys.typed = tavrilex::TypedWord{};
    keys.typed.window = 1;
    keys.typed.hook = state.hookHandle;
    keys.typed.count = 10;
    for (int i = 0; i < 10; ++i) keys.typed.keys[i] = tavrilex::TypedKey{scans[i], 0};
    state.translationSwitch = 0;
    state.autoMendFlag = 1;
}

inline tavrilex::SharedHookState activeState() {
    tavrilex::SharedHookState state = tavrilex::initialSharedState();
    state.entryCount = vyrtel::layouts::kBuiltinEntryCount;
    state.translationSwitch = 1;
    const auto& letters = vyrtel::layouts::kKoi8TypewriterLetters;
    for (std::size_t i = 0; i < letters.size(); ++i) state.letterArea[i] = letters[i];
    return state;
}

}  // namespace bench

// Shaped like the hook procedure: the state is a global (in the DLL it lies
// in the shared section) and the message record arrives through lParam.
inline tavrilex::SharedHookState g_benchState = bench::activeState();
inline bench::Keys g_benchKeys = [] {
    bench::Keys keys{};
    for (int byte = 0; byte < 256; ++byte) keys.characters[byte] = static_cast<std::uint16_t>(byte);
    return keys;
}();

extern "C" __attribute__((noipa)) std::intptr_t vyrtel_bench_hook(int code, std::uintptr_t removeFlag,
                                                                  std::intptr_t lParam) {
    return tavrilex::hookProcedure<bench::Msg>(g_benchState, code, removeFlag, lParam, g_benchKeys);
}

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
    // The automatic mend stays off, as it is at every start.
    tavrilex::AutoMend mend{};
    tavrilex::AutoMend& autoMend() { return mend; }
    std::uintptr_t messageMark() { return 0; }
    std::uint32_t now() { return 0; }
    bool shouldMend(const vyrtel::automend::TypedSigns&) { return false; }
    bool caretAfterWord(std::uintptr_t, const char16_t*, int) { return false; }
    void typeMend(const tavrilex::TypedKey*, int, bool) {}
    void replay(const tavrilex::HeldKey&, std::uint32_t) {}
};

enum Case { kOtherMessage, kFirstEntry, kLastEntry, kAbsent, kCaseCount };

inline const char* caseName(int c) {
    static const char* const names[] = {"a_other_message", "b_first_entry", "c_last_entry", "d_absent"};
    return names[c];
}

inline Msg messageFor(int c) {
    switch (c) {
        case kOtherMessage: return Msg{1, 0x0200, 0, 0};             // WM_MOUSEMOVE
        case kFirstEntry: return Msg{1, 0x0102, '1', 0x00020001u};   // the 1 key
        case kLastEntry: return Msg{1, 0x0102, '/', 0x00350001u};    // the slash key
        default: return Msg{1, 0x0102, '\\', 0x002B0001u};           // backslash
    }
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

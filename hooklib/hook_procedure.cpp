// GetMsgHookProc: the translation engine of hook_logic.h bound to Win32.
// It runs on every message that every GUI thread retrieves while the hook
// is installed, so it stays a single call into the engine.
#include <windows.h>

#include "hooklib/ansi_characters.h"
#include "hooklib/hook_logic.h"
#include "hooklib/mode_message.h"
#include "hooklib/shared_record.h"
#include "hooklib/tavrilex_api.h"

namespace {

// One platform per hook call. Every key-state read is a round trip to the
// window system's server under Wine (about 30 µs), and GetKeyboardState
// costs no more than one GetKeyState there, so the first read takes the
// states of all keys at once and the rest of the call reads that copy: a
// translated letter asks for Ctrl, Shift and Caps Lock, one round trip in
// all. Both calls read the same per-thread state, the state as of the
// message being retrieved, so no decision changes.
struct Win32Platform {
    BYTE keys[256];
    bool haveKeys = false;

    std::int16_t keyState(int virtualKey) {
        if (!haveKeys) {
            if (!GetKeyboardState(keys)) return GetKeyState(virtualKey);
            haveKeys = true;
        }
        return tavrilex::detail::keyStateFromKeyboardByte(keys[virtualKey & 0xFF]);
    }
    void beep(std::uint32_t hertz, std::uint32_t milliseconds) { Beep(hertz, milliseconds); }
    // Posted, never sent: the hook must not wait for the control program.
    void postMode(std::uintptr_t window, std::uint32_t translated, std::int32_t method) {
        if (const UINT message = tavrilex::modeMessage()) {
            PostMessageA(reinterpret_cast<HWND>(window), message, translated, static_cast<LPARAM>(method));
        }
    }
    std::intptr_t callNextHook(std::uintptr_t hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam) {
        // The handle may be 0 (the hook is being removed while this runs):
        // the next hook is then reached all the same.
        return CallNextHookEx(reinterpret_cast<HHOOK>(hook), code, wParam, lParam);
    }
    // Where the system has Unicode hooks, the hook is installed through
    // SetWindowsHookExW and is handed the Unicode form of each message;
    // elsewhere the table's byte itself (see ansi_characters.h).
    std::uint32_t characterFor(std::uint8_t tableByte) { return tavrilex::ansiCharacter(tableByte); }
    // Asked only for a translated character with a letter to give.
    bool takesLetters(HWND window) { return tavrilex::systemHasUnicodeHooks() && IsWindowUnicode(window); }
};

}  // namespace

// The system passes, for code 0, a pointer to the MSG being retrieved; the
// engine may rewrite its wParam and never touches anything else.
extern "C" LRESULT CALLBACK GetMsgHookProc(int code, WPARAM removeFlag, LPARAM message) {
    Win32Platform platform;
    return tavrilex::hookProcedure<MSG>(g_sharedState, code, removeFlag, message, platform);
}

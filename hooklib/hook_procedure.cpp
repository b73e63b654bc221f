// GetMsgHookProc: the translation engine of hook_logic.h bound to Win32.
// It runs on every message that every GUI thread retrieves while the hook
// is installed, so it stays a single call into the engine.
#include <windows.h>

#include "hooklib/ansi_characters.h"
#include "hooklib/caret_check.h"
#include "hooklib/hook_logic.h"
#include "hooklib/key_sender.h"
#include "hooklib/mode_message.h"
#include "hooklib/shared_record.h"
#include "hooklib/tavrilex_api.h"

namespace {

// The word being typed in this process (typed_word.h) and the automatic
// mend's state (auto_mend.h): the process's own data, never shared.
tavrilex::TypedWord g_typedWord;
tavrilex::AutoMend g_autoMend;

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

    // Out of line: one copy serves every key the engine reads.
    __attribute__((noinline)) std::int16_t keyState(int virtualKey) {
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

    // Reached through a register, so that each use costs the 32-bit image
    // one relocation rather than one per field.
    tavrilex::TypedWord& word() {
        tavrilex::TypedWord* typed = &g_typedWord;
        asm("" : "+r"(typed));
        return *typed;
    }
    // Asked once per window that a word starts in. ES_PASSWORD is an edit
    // control's style; another class's window with that bit set keeps no
    // word either, which costs it nothing but the mending.
    __attribute__((cold)) bool hidesText(std::uintptr_t window) {
        return (GetWindowLongA(reinterpret_cast<HWND>(window), GWL_STYLE) & ES_PASSWORD) != 0;
    }
    __attribute__((cold)) void pressLock(int virtualKey) {
        tavrilex::KeySender keys;
        keys.Press(static_cast<std::uint8_t>(virtualKey));
    }
    __attribute__((cold)) void typeAgain(int backspaces, const tavrilex::TypedKey* keys, int count, int spaces) {
        tavrilex::KeySender sender;
        sender.Press(VK_BACK, backspaces);
        for (int i = 0; i < count; ++i) sender.Stroke(keys[i].scanCode, keys[i].shifted != 0);
        for (int i = 0; i < spaces; ++i) sender.Stroke(tavrilex::word::kScanSpace, false);
    }
    __attribute__((cold)) void postMend(std::uintptr_t window) {
        if (const UINT message = tavrilex::mendSelectionMessage()) {
            PostMessageA(reinterpret_cast<HWND>(window), message, 0, 0);
        }
    }

    tavrilex::AutoMend& autoMend() {
        tavrilex::AutoMend* mend = &g_autoMend;
        asm("" : "+r"(mend));
        return *mend;
    }
    // The extra information of the key message being retrieved: the mark
    // of an injected event, 0 for the keyboard's own.
    __attribute__((cold)) std::uintptr_t messageMark() { return static_cast<std::uintptr_t>(GetMessageExtraInfo()); }
    __attribute__((cold)) std::uint32_t now() { return GetTickCount(); }
    __attribute__((cold)) bool shouldMend(const vyrtel::automend::TypedSigns& word) {
        return vyrtel::automend::shouldMend(word);
    }
    __attribute__((cold)) bool caretAfterWord(std::uintptr_t window, const char16_t* shown, int count) {
        return tavrilex::caretAfterWord(reinterpret_cast<HWND>(window), shown, count);
    }
    __attribute__((cold)) bool typeMend(const tavrilex::TypedKey* keys, int count, bool shiftDown) {
        tavrilex::KeySender sender;
        sender.Up(VK_SHIFT);
        sender.Press(VK_BACK, count);
        for (int i = 0; i < count; ++i) sender.Stroke(keys[i].scanCode, keys[i].shifted != 0);
        sender.Stroke(tavrilex::word::kScanSpace, false);
        sender.MarkLast(tavrilex::kMarkTypedEnd);
        if (shiftDown) sender.Down(VK_SHIFT);
        sender.Flush();
        return sender.AnyTaken();
    }
    __attribute__((cold)) void replay(const tavrilex::HeldKey& key, std::uint32_t mark) {
        tavrilex::KeySender sender;
        sender.Event(key.virtualKey, key.scanCode, (key.up ? KEYEVENTF_KEYUP : 0) | (key.extended ? KEYEVENTF_EXTENDEDKEY : 0),
                     mark);
    }
};

}  // namespace

// The system passes, for code 0, a pointer to the MSG being retrieved; the
// engine may rewrite its wParam and never touches anything else.
extern "C" LRESULT CALLBACK GetMsgHookProc(int code, WPARAM removeFlag, LPARAM message) {
    Win32Platform platform;
    return tavrilex::hookProcedure<MSG>(g_sharedState, code, removeFlag, message, platform);
}

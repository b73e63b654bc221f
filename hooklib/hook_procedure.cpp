// GetMsgHookProc: the translation engine of hook_logic.h bound to Win32.
// It runs on every message that every GUI thread retrieves while the hook
// is installed, so it stays a single call into the engine.
#include <windows.h>

#include "hooklib/hook_logic.h"
#include "hooklib/shared_record.h"
#include "hooklib/tavrilex_api.h"

namespace {

struct Win32Platform {
    std::int16_t keyState(int virtualKey) { return GetKeyState(virtualKey); }
    void beep(std::uint32_t hertz, std::uint32_t milliseconds) { Beep(hertz, milliseconds); }
    std::intptr_t callNextHook(std::uintptr_t hook, std::int32_t code, std::uintptr_t wParam, std::intptr_t lParam) {
        // The handle may be 0 (the hook is being removed while this runs):
        // the next hook is then reached all the same.
        return CallNextHookEx(reinterpret_cast<HHOOK>(hook), code, wParam, lParam);
    }
};

}  // namespace

// The system passes, for code 0, a pointer to the MSG being retrieved; the
// engine may rewrite its wParam and never touches anything else.
extern "C" LRESULT CALLBACK GetMsgHookProc(int code, WPARAM removeFlag, LPARAM message) {
    Win32Platform platform;
    return tavrilex::hookProcedure<MSG>(g_sharedState, code, removeFlag, message, platform);
}

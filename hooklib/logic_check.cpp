// Instantiates the translation engine for the Win32 target, so that the
// cross build proves it compiles for i686 with the DLL's message record.
#include <windows.h>

#include "hooklib/hook_logic.h"

namespace {
struct Win32Keys {
    std::int16_t keyState(int vk) { return GetKeyState(vk); }
    void beep(std::uint32_t hz, std::uint32_t ms) { Beep(hz, ms); }
    std::intptr_t callNextHook(std::uint32_t hook, std::int32_t code, std::uintptr_t w, std::intptr_t l) {
        return CallNextHookEx(reinterpret_cast<HHOOK>(hook), code, w, l);
    }
};
}  // namespace

LRESULT tavrilexLogicCheck(tavrilex::SharedHookState& state, int code, WPARAM w, LPARAM l) {
    Win32Keys keys;
    return tavrilex::hookProcedure<MSG>(state, code, w, l, keys);
}

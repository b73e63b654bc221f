// The benchmark's yardstick: a global WH_GETMESSAGE hook that does nothing
// but what every hook must (hand negative codes on), built like
// Tavrilex.dll, without C runtime. Whatever Tavrilex.dll costs beyond this
// is the cost of its own work.
#include <windows.h>

extern "C" BOOL WINAPI NullHookEntry(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
    return TRUE;
}

extern "C" LRESULT CALLBACK NullHookProc(int code, WPARAM removeFlag, LPARAM message) {
    if (code < 0) return CallNextHookEx(nullptr, code, removeFlag, message);
    return 0;
}

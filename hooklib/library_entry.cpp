// Tavrilex.dll's entry point (the hook library's; the custom-control library
// has its own). The library runs no C runtime start-up: mapping
// or unmapping it does nothing beyond sparing the loader the per-thread
// notifications, so the shared record is never reset and an unload never
// touches the hook.
#include <windows.h>

extern "C" BOOL WINAPI TavrilexEntry(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
    return TRUE;
}

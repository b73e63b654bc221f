// The custom-control library's exported entry points. Programs bind
// DialogBoxParamA and CreateDialogParamA to this library at load time
// (instead of USER32's), and look up the BWCC* functions by name.
//
// Every entry point is safe to call at any time, in any order and any
// number of times: the classes are registered on first need, and
// registering again does nothing.
#include <windows.h>

#include "control_classes.h"

namespace {

HINSTANCE g_library = nullptr;
volatile LONG g_language = 0;

bool ensureClasses() { return bwcc::registerControlClasses(g_library); }

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            g_library = instance;
            DisableThreadLibraryCalls(instance);
            break;
        case DLL_PROCESS_DETACH:
            // Unloaded while the process goes on: take the classes and the
            // brush away with the code they point into. At process exit
            // (reserved non-null) the system reclaims everything anyway.
            if (!reserved) {
                bwcc::unregisterControlClasses(instance);
                bwcc::releaseFaceBrush();
            }
            break;
    }
    return TRUE;
}

// The language of the library's own texts. There is one set of texts
// (English), used for every language; the value is kept for the record.
BOOL WINAPI ControlsIntlInit(UINT language) {
    InterlockedExchange(&g_language, static_cast<LONG>(language));
    return TRUE;
}

// Makes the dialog and control classes exist for the whole process. The
// classes belong to this library, whichever module asks.
BOOL WINAPI ControlsRegister(HINSTANCE /*instance*/) { return ensureClasses() ? TRUE : FALSE; }

BOOL WINAPI ControlsIntlTerm() {
    InterlockedExchange(&g_language, 0);
    return TRUE;
}

int WINAPI ControlsMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}

INT_PTR WINAPI ControlsDialogBoxParam(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    ensureClasses();
    return DialogBoxParamA(instance, name, owner, proc, param);
}

HWND WINAPI ControlsCreateDialogParam(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    ensureClasses();
    return CreateDialogParamA(instance, name, owner, proc, param);
}

}  // extern "C"

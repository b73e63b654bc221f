// BWCC32.DLL, the custom-control library: its DLL entry point and exported
// functions (Tavrilex.dll's entry point is hooklib/library_entry.cpp).
// Programs bind DialogBoxParamA and CreateDialogParamA to this library at
// load time (instead of USER32's), and look up the BWCC* functions by name.
//
// Every entry point is safe to call at any time, in any order and any
// number of times: the classes are registered on first need, and
// registering again does nothing.
#include <windows.h>

#include "control_classes.h"

namespace {

HINSTANCE g_library = nullptr;

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

// Chooses the language of the library's own texts (the captions of buttons
// without text). There is one set, English, which serves every language,
// so any language is accepted.
BOOL WINAPI ControlsIntlInit(UINT /*language*/) { return TRUE; }

// Makes the dialog and control classes exist for the whole process. The
// classes belong to this library, whichever module asks.
BOOL WINAPI ControlsRegister(HINSTANCE /*instance*/) { return ensureClasses() ? TRUE : FALSE; }

// Ends what ControlsIntlInit began; with one set of texts there is nothing
// to release. The classes stay until the library is unloaded.
BOOL WINAPI ControlsIntlTerm() { return TRUE; }

// The platform's own message box: every MB_* flag, owner and modality rule
// and answer exactly as MessageBoxA gives them.
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

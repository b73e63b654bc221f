// The custom-control library's exported entry points. Programs bind
// DialogBoxParamA and CreateDialogParamA to this library at load time
// (instead of USER32's), and look up the BWCC* functions by name.
#include <windows.h>

extern "C" {

BOOL WINAPI ControlsIntlInit(UINT /*language*/) { return TRUE; }

BOOL WINAPI ControlsRegister(HINSTANCE /*instance*/) { return TRUE; }

BOOL WINAPI ControlsIntlTerm() { return TRUE; }

int WINAPI ControlsMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}

INT_PTR WINAPI ControlsDialogBoxParam(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    return DialogBoxParamA(instance, name, owner, proc, param);
}

HWND WINAPI ControlsCreateDialogParam(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    return CreateDialogParamA(instance, name, owner, proc, param);
}

}  // extern "C"

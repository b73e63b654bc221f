// A stand-in for the custom-control library that records every call the
// framework makes into it (see test_log.h) and otherwise behaves like the
// platform: it registers no classes, shows message boxes with MessageBoxA
// and creates dialogs with USER32's functions. With FRAMEWORK_TEST_SILENT_BOXES
// set, BWCCMessageBox shows nothing and answers IDIGNORE.
#include <windows.h>

#include "test_log.h"

namespace {

const char* ownerName(HWND owner) { return owner ? "window" : "none"; }

const char* instanceName(HINSTANCE instance) {
    return instance == GetModuleHandleA(nullptr) ? "app" : "other";
}

}  // namespace

extern "C" {

BOOL WINAPI RecorderIntlInit(UINT language) {
    testLog("BWCCIntlInit %u", language);
    return TRUE;
}

BOOL WINAPI RecorderRegister(HINSTANCE instance) {
    testLog("BWCCRegister %s", instanceName(instance));
    return TRUE;
}

BOOL WINAPI RecorderIntlTerm() {
    testLog("BWCCIntlTerm");
    return TRUE;
}

int WINAPI RecorderMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    testLog("BWCCMessageBox owner=%s type=%04X caption=%s text=%s", ownerName(owner), type, caption, text);
    if (GetEnvironmentVariableA("FRAMEWORK_TEST_SILENT_BOXES", nullptr, 0)) return IDIGNORE;
    return MessageBoxA(owner, text, caption, type);
}

INT_PTR WINAPI RecorderDialogBoxParam(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    testLog("DialogBoxParamA %u owner=%s module=%s", unsigned(reinterpret_cast<UINT_PTR>(name)), ownerName(owner),
            instanceName(instance));
    return DialogBoxParamA(instance, name, owner, proc, param);
}

HWND WINAPI RecorderCreateDialogParam(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    testLog("CreateDialogParamA %u owner=%s module=%s", unsigned(reinterpret_cast<UINT_PTR>(name)),
            ownerName(owner), instanceName(instance));
    return CreateDialogParamA(instance, name, owner, proc, param);
}

}  // extern "C"

#include "control_classes.h"
#include "control_window.h"
#include "palette.h"

namespace bwcc {
namespace {

struct ControlClass {
    const char* name;
    WNDPROC procedure;
    int extraBytes;
    UINT style;
};

const ControlClass kClasses[] = {
    {kGrayDialogClass, grayDialogProc, DLGWINDOWEXTRA, CS_DBLCLKS | CS_SAVEBITS},
    {kPushButtonClass, pushButtonProc, kControlExtraBytes, CS_HREDRAW | CS_VREDRAW},
    {kRadioButtonClass, radioButtonProc, kControlExtraBytes, CS_HREDRAW | CS_VREDRAW},
    {kShadeClass, shadeProc, kControlExtraBytes, CS_HREDRAW | CS_VREDRAW},
    {kStaticTextClass, staticTextProc, kControlExtraBytes, CS_HREDRAW | CS_VREDRAW},
};

HBRUSH g_faceBrush = nullptr;

}  // namespace

bool registerControlClasses(HINSTANCE library) {
    bool all = true;
    for (const ControlClass& control : kClasses) {
        WNDCLASSEXA existing{};
        existing.cbSize = sizeof existing;
        if (GetClassInfoExA(library, control.name, &existing)) continue;
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = control.style | CS_GLOBALCLASS;
        wc.lpfnWndProc = control.procedure;
        wc.cbWndExtra = control.extraBytes;
        wc.hInstance = library;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = control.name;
        // A registration that failed because another thread got there first
        // still leaves the class in place.
        if (!RegisterClassExA(&wc) && !GetClassInfoExA(library, control.name, &existing)) all = false;
    }
    return all;
}

void unregisterControlClasses(HINSTANCE library) {
    for (const ControlClass& control : kClasses) UnregisterClassA(control.name, library);
}

HBRUSH faceBrush() {
    if (!g_faceBrush) {
        HBRUSH made = CreateSolidBrush(palette::kFace);
        if (!made) return GetSysColorBrush(COLOR_3DFACE);
        if (InterlockedCompareExchangePointer(reinterpret_cast<void**>(&g_faceBrush), made, nullptr) != nullptr) {
            DeleteObject(made);
        }
    }
    return g_faceBrush;
}

void releaseFaceBrush() {
    if (g_faceBrush) DeleteObject(g_faceBrush);
    g_faceBrush = nullptr;
}

}  // namespace bwcc

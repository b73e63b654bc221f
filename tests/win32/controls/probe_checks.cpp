// In-process checks of the custom-control library's interface against the
// real dialog manager: classes on demand, the entry points in any order,
// what each control answers the dialog manager, check marks, clicks that
// become commands, and the gray dialog's colours. Each check writes "ok" or
// "FAIL" with its name to the log; the count of failures is the result.
#include <windows.h>

#include <vector>

#include "probe_ids.h"
#include "probe_log.h"

namespace {

int g_failures = 0;

void check(bool condition, const char* what) {
    logLine("%s %s", condition ? "ok" : "FAIL", what);
    if (!condition) ++g_failures;
}

struct Command {
    int id;
    int code;
};
std::vector<Command> g_commands;
HBRUSH g_ownStaticBrush = nullptr;

INT_PTR CALLBACK recordingProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return TRUE;
        case WM_COMMAND:
            g_commands.push_back({LOWORD(wParam), HIWORD(wParam)});
            return TRUE;
        case WM_CTLCOLORSTATIC:
            // The dialog procedure's own colour for one control wins.
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == PROBE_PICTURE) {
                return reinterpret_cast<INT_PTR>(g_ownStaticBrush);
            }
            return FALSE;
    }
    return FALSE;
}

bool classExists(HINSTANCE instance, const char* name) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(instance, name, &info) != 0;
}

bool lastCommandIs(int id, int code) {
    return !g_commands.empty() && g_commands.back().id == id && g_commands.back().code == code;
}

LRESULT send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

DWORD styleOf(HWND dialog, int id) { return DWORD(GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE)); }

COLORREF brushColour(LRESULT brush) {
    LOGBRUSH info{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof info, &info);
    return info.lbColor;
}

const char* const kClassNames[] = {"BorDlg_Gray", "BorBtn", "BorRadio", "BorShade", "BorStatic"};

void checkEntryPoints(HINSTANCE instance) {
    // Nothing of the library has been called yet: the dialog function must
    // register the classes itself.
    check(!classExists(instance, "BorDlg_Gray"), "no class exists before the library is used");
    HWND first = CreateDialogParamA(instance, MAKEINTRESOURCEA(PROBE_PANEL), nullptr, recordingProc, 0);
    check(first != nullptr, "CreateDialogParamA registers the classes on demand");
    char name[32] = "";
    if (first) GetClassNameA(first, name, sizeof name);
    check(lstrcmpA(name, "BorDlg_Gray") == 0, "the dialog's window class is BorDlg_Gray");
    bool all = true;
    for (const char* each : kClassNames) all &= classExists(instance, each);
    check(all, "all five classes exist for the program's own module (global classes)");
    if (first) DestroyWindow(first);

    HMODULE library = GetModuleHandleA("BWCC32.DLL");
    using IntlInit = BOOL(WINAPI*)(UINT);
    using Register = BOOL(WINAPI*)(HINSTANCE);
    using IntlTerm = BOOL(WINAPI*)();
    auto init = reinterpret_cast<IntlInit>(reinterpret_cast<void*>(GetProcAddress(library, "BWCCIntlInit")));
    auto reg = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(library, "BWCCRegister")));
    auto term = reinterpret_cast<IntlTerm>(reinterpret_cast<void*>(GetProcAddress(library, "BWCCIntlTerm")));
    check(init && reg && term && GetProcAddress(library, "BWCCMessageBox"), "the BWCC entry points are found by name");
    if (!(init && reg && term)) return;
    check(term() && init(0) && init(0) && reg(instance) && reg(instance) && term() && term() && init(0),
          "the entry points succeed in any order and any number of times");
    all = true;
    for (const char* each : kClassNames) all &= classExists(instance, each);
    check(all, "the classes are still there after registering again");
}

void checkDialogManagerAnswers(HWND d) {
    check(SendMessageA(d, DM_GETDEFID, 0, 0) == MAKELONG(IDOK, DC_HASDEFID),
          "the dialog manager finds the BS_DEFPUSHBUTTON button as the default");
    check(send(d, IDOK, WM_GETDLGCODE) == (DLGC_BUTTON | DLGC_DEFPUSHBUTTON), "default push button's dialog code");
    check(send(d, IDCANCEL, WM_GETDLGCODE) == (DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON), "push button's dialog code");
    check(send(d, PROBE_KOI8, WM_GETDLGCODE) == (DLGC_BUTTON | DLGC_RADIOBUTTON), "radio button's dialog code");
    check(send(d, PROBE_CODING_BOX, WM_GETDLGCODE) == DLGC_STATIC, "shade's dialog code");

    // The dialog manager moves the default look with BM_SETSTYLE.
    send(d, IDCANCEL, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    send(d, IDOK, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    check(send(d, IDCANCEL, WM_GETDLGCODE) == (DLGC_BUTTON | DLGC_DEFPUSHBUTTON) &&
              (styleOf(d, IDCANCEL) & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
              send(d, IDOK, WM_GETDLGCODE) == (DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON) &&
              (styleOf(d, IDOK) & WS_TABSTOP),
          "BM_SETSTYLE moves the default button and keeps the other style bits");
    send(d, IDOK, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    send(d, IDCANCEL, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);

    SetFocus(GetDlgItem(d, PROBE_SCROLL_LOCK));
    check((send(d, PROBE_SCROLL_LOCK, BM_GETSTATE) & BST_FOCUS) && !(send(d, PROBE_KOI8, BM_GETSTATE) & BST_FOCUS),
          "a radio button takes the focus and reports it");
}

void checkRadioButtons(HWND d) {
    check(send(d, PROBE_KOI8, BM_GETCHECK) == BST_UNCHECKED, "a radio button starts unchecked");
    send(d, PROBE_KOI8, BM_SETCHECK, BST_CHECKED);
    check(send(d, PROBE_KOI8, BM_GETCHECK) == BST_CHECKED && (styleOf(d, PROBE_KOI8) & WS_TABSTOP),
          "BM_SETCHECK sets the mark, and the checked button is the group's tab stop");
    check(send(d, PROBE_CP1251, BM_GETCHECK) == BST_UNCHECKED, "... without touching its neighbours");
    send(d, PROBE_KOI8, BM_SETCHECK, BST_UNCHECKED);
    check(send(d, PROBE_KOI8, BM_GETCHECK) == BST_UNCHECKED && !(styleOf(d, PROBE_KOI8) & WS_TABSTOP),
          "BM_SETCHECK clears the mark and the tab stop");

    g_commands.clear();
    send(d, PROBE_NUM_LOCK, BM_CLICK);
    check(lastCommandIs(PROBE_NUM_LOCK, BN_CLICKED) && g_commands.size() == 1, "BM_CLICK on a radio button sends BN_CLICKED");
    check(send(d, PROBE_NUM_LOCK, BM_GETCHECK) == BST_UNCHECKED, "a plain radio button does not check itself");

    // BS_AUTORADIOBUTTON buttons in a group of their own.
    const DWORD base = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND a = CreateWindowExA(0, "BorRadio", "A", base | WS_GROUP, 0, 0, 60, 16, d, HMENU(301), instance, nullptr);
    HWND b = CreateWindowExA(0, "BorRadio", "B", base, 0, 16, 60, 16, d, HMENU(302), instance, nullptr);
    HWND c = CreateWindowExA(0, "BorRadio", "C", base | WS_GROUP, 0, 32, 60, 16, d, HMENU(303), instance, nullptr);
    SendMessageA(a, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(b, BM_CLICK, 0, 0);
    check(SendMessageA(b, BM_GETCHECK, 0, 0) == BST_CHECKED && SendMessageA(a, BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
              SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED && lastCommandIs(302, BN_CLICKED),
          "an automatic radio button checks itself and clears only its own group");
    DestroyWindow(a);
    DestroyWindow(b);
    DestroyWindow(c);
}

void checkPushButtons(HWND d) {
    g_commands.clear();
    send(d, IDCANCEL, BM_CLICK);
    check(lastCommandIs(IDCANCEL, BN_CLICKED), "BM_CLICK on a push button sends BN_CLICKED with its id");
    EnableWindow(GetDlgItem(d, IDCANCEL), FALSE);
    g_commands.clear();
    send(d, IDCANCEL, BM_CLICK);
    check(g_commands.empty(), "a disabled push button sends nothing");
    EnableWindow(GetDlgItem(d, IDCANCEL), TRUE);

    send(d, IDOK, BM_SETSTATE, TRUE);
    check((send(d, IDOK, BM_GETSTATE) & BST_PUSHED) != 0, "BM_SETSTATE shows the button pressed");
    send(d, IDOK, BM_SETSTATE, FALSE);
    check((send(d, IDOK, BM_GETSTATE) & BST_PUSHED) == 0, "... and released");
}

void checkShadesAndText(HWND d) {
    HWND shade = GetDlgItem(d, PROBE_CODING_BOX);
    check((styleOf(d, PROBE_CODING_BOX) & WS_DISABLED) && IsWindowVisible(shade),
          "a shade is inert (disabled) but visible");
    check(SendMessageA(shade, WM_NCHITTEST, 0, 0) == HTTRANSPARENT, "a shade is transparent to the mouse");
    SetWindowTextA(shade, "Renamed");
    char text[32] = "";
    GetWindowTextA(shade, text, sizeof text);
    check(lstrcmpA(text, "Renamed") == 0, "a shade's caption can be changed");

    HFONT font = reinterpret_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    bool all = true;
    for (int id : {IDOK, PROBE_KOI8, PROBE_CODING_BOX}) {
        send(d, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        all &= send(d, id, WM_GETFONT) == reinterpret_cast<LRESULT>(font);
    }
    HWND text2 = CreateWindowExA(0, "BorStatic", "one\ntwo", WS_CHILD | WS_VISIBLE, 0, 0, 80, 40, d, HMENU(310),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(text2, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    all &= SendMessageA(text2, WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(font);
    check(all, "every control keeps the font it is given");
    check(SendMessageA(text2, WM_NCHITTEST, 0, 0) == HTTRANSPARENT && SendMessageA(text2, WM_GETDLGCODE, 0, 0) == DLGC_STATIC,
          "static text takes no input");
    DestroyWindow(text2);
}

void checkColours(HWND d) {
    HDC dc = GetDC(d);
    const LRESULT face = SendMessageA(d, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(d));
    check(face && brushColour(face) == RGB(192, 192, 192), "the dialog's face is the classic light gray");
    const LRESULT ownerDrawn = SendMessageA(d, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(GetDlgItem(d, PROBE_PICTURE_BUTTON)));
    check(ownerDrawn == reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)),
          "an owner-drawn button is erased with a hollow brush (what lies beneath stays visible)");
    const LRESULT own = SendMessageA(d, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(GetDlgItem(d, PROBE_PICTURE)));
    check(own == reinterpret_cast<LRESULT>(g_ownStaticBrush), "the dialog procedure's own colours win");
    const LRESULT other = SendMessageA(d, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(GetDlgItem(d, PROBE_KOI8)));
    check(other == face && GetBkColor(dc) == RGB(192, 192, 192) && GetTextColor(dc) == RGB(0, 0, 0),
          "other controls get the gray face and black text");
    ReleaseDC(d, dc);

    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = PROBE_PICTURE_BUTTON;
    item.hwndItem = GetDlgItem(d, PROBE_PICTURE_BUTTON);
    check(SendMessageA(d, WM_DRAWITEM, PROBE_PICTURE_BUTTON, reinterpret_cast<LPARAM>(&item)) == TRUE,
          "an owner-drawn button's draw request is handled by the dialog class");
}

}  // namespace

int runChecks(HINSTANCE instance) {
    g_ownStaticBrush = CreateSolidBrush(RGB(255, 0, 0));
    checkEntryPoints(instance);
    HWND d = CreateDialogParamA(instance, MAKEINTRESOURCEA(PROBE_PANEL), nullptr, recordingProc, 0);
    check(d != nullptr, "a second dialog is created");
    if (d) {
        checkDialogManagerAnswers(d);
        checkRadioButtons(d);
        checkPushButtons(d);
        checkShadesAndText(d);
        checkColours(d);
        DestroyWindow(d);
    }
    logLine("failures %d", g_failures);
    return g_failures;
}

// Shows the program's own dialog templates (the control dialog as the
// client of a plain frame, and the About box from its picture) through the
// custom-control library, so a test can look at every control as the user
// will see it and click through them.
//
//   controls_preview LOG
//
// Log lines: "rect ID LEFT TOP RIGHT BOTTOM" for each control of the
// control dialog, then "ready"; "command ID CODE" for each command;
// "about N" when the About box ends with N; "result N" at the end.
#include <windows.h>

#include <cstdio>
#include <utility>

#include "../common/line_log.h"
#include "../common/message_loop.h"
#include "resource_ids.h"

using testio::logLine;

namespace {

HWND g_frame = nullptr;
HWND g_client = nullptr;

void check(HWND dialog, const int* group, int count, int chosen) {
    for (int i = 0; i < count; ++i) {
        SendDlgItemMessageA(dialog, group[i], BM_SETCHECK, group[i] == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

const int kCoding[] = {IDC_KOI8, IDC_CP1251, IDC_DISABLE};
const int kToggle[] = {IDC_CTRL_SHIFT_LEFT_RIGHT, IDC_SCROLL_LOCK, IDC_NUM_LOCK, IDC_CTRL_SHIFT_CYCLED};
const int kLayout[] = {IDC_TYPEWRITER, IDC_PHONETIC};

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK controlProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            check(dialog, kLayout, 2, IDC_TYPEWRITER);
            check(dialog, kCoding, 3, IDC_DISABLE);
            check(dialog, kToggle, 4, IDC_CTRL_SHIFT_LEFT_RIGHT);
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            logLine("command %d %d", id, HIWORD(wParam));
            for (const auto& group : {std::pair{kCoding, 3}, std::pair{kToggle, 4}, std::pair{kLayout, 2}}) {
                for (int i = 0; i < group.second; ++i) {
                    if (group.first[i] == id) check(dialog, group.first, group.second, id);
                }
            }
            if (id == IDC_ABOUT_BUTTON) {
                logLine("about %d", int(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), dialog,
                                                        aboutProc, 0)));
            }
            if (id == IDCANCEL) DestroyWindow(g_frame);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == WM_SETFOCUS && g_client) {
        SetFocus(g_client);  // the dialog hands it on to its last focused control
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 2) return 2;
    testio::openLog(__argv[1]);

    WNDCLASSA wc{};
    wc.lpfnWndProc = frameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "ControlsPreviewFrame";
    RegisterClassA(&wc);
    g_frame = CreateWindowExA(0, wc.lpszClassName, "Controls preview", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                              40, 40, 200, 200, nullptr, nullptr, instance, nullptr);
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_CONTROL), g_frame, controlProc, 0);
    if (!dialog) {
        logLine("error CreateDialogParamA %lu", GetLastError());
        return 3;
    }
    g_client = dialog;
    // As a frame's client: no caption or frame of its own, at the origin,
    // and the frame fitted around it.
    SetWindowLongA(dialog, GWL_STYLE, GetWindowLongA(dialog, GWL_STYLE) & ~(WS_CAPTION | WS_THICKFRAME | DS_MODALFRAME));
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RECT client;
    GetWindowRect(dialog, &client);
    RECT outer{0, 0, client.right - client.left, client.bottom - client.top};
    AdjustWindowRectEx(&outer, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FALSE, 0);
    SetWindowPos(g_frame, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(g_frame, SW_SHOW);
    ShowWindow(dialog, SW_SHOW);
    RedrawWindow(g_frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        logLine("rect %d %ld %ld %ld %ld", GetDlgCtrlID(child), r.left, r.top, r.right, r.bottom);
    }
    logLine("ready");

    const int result = testio::pumpDialogMessages(dialog);
    logLine("result %d", result);
    return result;
}

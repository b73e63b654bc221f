// Shows the custom-control library's dialog and controls from test templates
// and writes what reaches the dialog procedure to a log, so a test can drive
// the dialog with real mouse clicks and keys and compare.
//
//   controls_probe panel  LOG   modeless dialog PROBE_PANEL; ends (code 0) on IDCANCEL
//   controls_probe box    LOG   modal box PROBE_BOX; the exit code is its ending code
//   controls_probe msgbox LOG TYPE   BWCCMessageBox with that type; exit code = answer
//   controls_probe checks LOG   in-process checks; exit code = failures
//
// Log lines: "rect ID LEFT TOP RIGHT BOTTOM" (screen pixels) for every
// control, then "ready"; "command ID CODE" for each WM_COMMAND; "checks
// ID=0|1 ..." after each command of the panel; "result N" at the end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "probe_ids.h"
#include "probe_log.h"

#include "../common/message_loop.h"

namespace {


const int kRadios[] = {PROBE_KOI8, PROBE_CP1251, PROBE_DISABLE, PROBE_CTRLSHIFT_LR, PROBE_SCROLL_LOCK,
                       PROBE_NUM_LOCK, PROBE_CTRLSHIFT_CYCLED, PROBE_TYPEWRITER, PROBE_PHONETIC};

// The radio groups as the program's dialog keeps them: one choice each.
const int kCodingGroup[] = {PROBE_KOI8, PROBE_CP1251, PROBE_DISABLE};
const int kToggleGroup[] = {PROBE_CTRLSHIFT_LR, PROBE_SCROLL_LOCK, PROBE_NUM_LOCK, PROBE_CTRLSHIFT_CYCLED};
const int kLayoutGroup[] = {PROBE_TYPEWRITER, PROBE_PHONETIC};

template <size_t N>
bool choose(HWND dialog, const int (&group)[N], int id) {
    bool member = false;
    for (int each : group) member |= each == id;
    if (!member) return false;
    for (int each : group) SendDlgItemMessageA(dialog, each, BM_SETCHECK, each == id ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

void logRects(HWND dialog) {
    RECT r;
    GetClientRect(dialog, &r);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&r), 2);
    logLine("client %ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &r);
        logLine("rect %d %ld %ld %ld %ld", GetDlgCtrlID(child), r.left, r.top, r.right, r.bottom);
    }
}

void logChecks(HWND dialog) {
    char line[256];
    int used = std::snprintf(line, sizeof line, "checks");
    for (int id : kRadios) {
        used += std::snprintf(line + used, sizeof line - used, " %d=%d", id,
                              int(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0)));
    }
    logLine("%s", line);
}

void logFocus() {
    HWND focus = GetFocus();
    logLine("focus %d", focus ? GetDlgCtrlID(focus) : 0);
}

INT_PTR CALLBACK panelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dialog, PROBE_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(makeProbePicture()));
            choose(dialog, kCodingGroup, PROBE_DISABLE);
            choose(dialog, kToggleGroup, PROBE_CTRLSHIFT_LR);
            choose(dialog, kLayoutGroup, PROBE_TYPEWRITER);
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            logLine("command %d %d", id, HIWORD(wParam));
            choose(dialog, kCodingGroup, id) || choose(dialog, kToggleGroup, id) || choose(dialog, kLayoutGroup, id);
            logChecks(dialog);
            logFocus();
            if (id == IDCANCEL) DestroyWindow(dialog);
            return TRUE;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
    }
    return FALSE;
}

// Paints the dialog and all its controls now, so that "ready" in the log
// means the screen shows them.
void paintNowAndReport(HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    logLine("ready");
}

constexpr UINT kShown = WM_APP + 1;

INT_PTR CALLBACK boxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dialog, PROBE_BOX_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(makeProbePicture()));
            logRects(dialog);
            PostMessageA(dialog, kShown, 0, 0);  // arrives once the box is on screen
            return TRUE;
        case kShown:
            paintNowAndReport(dialog);
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            logLine("command %d %d", id, HIWORD(wParam));
            if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
            return TRUE;
        }
    }
    return FALSE;
}

int runPanel(HINSTANCE instance) {
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(PROBE_PANEL), nullptr, panelProc, 0);
    if (!dialog) {
        logLine("error CreateDialogParamA %lu", GetLastError());
        return 3;
    }
    logRects(dialog);
    logChecks(dialog);
    paintNowAndReport(dialog);
    const int result = testio::pumpDialogMessages(dialog);
    logLine("result %d", result);
    return result;
}

int runBox(HINSTANCE instance) {
    const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(PROBE_BOX), nullptr, boxProc, 0);
    logLine("result %d", int(result));
    return int(result);
}

int runMessageBox(UINT type) {
    using MessageBoxFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
    HMODULE library = LoadLibraryA("BWCC32.DLL");
    auto box = library ? reinterpret_cast<MessageBoxFn>(reinterpret_cast<void*>(GetProcAddress(library, "BWCCMessageBox"))) : nullptr;
    if (!box) {
        logLine("error BWCCMessageBox missing");
        return 3;
    }
    logLine("ready");
    const int result = box(nullptr, "Probe text of the message box.", "Probe message", type);
    logLine("result %d", result);
    return result;
}

}  // namespace

HBITMAP makeProbePicture() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 45, 62);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT top{0, 0, 45, 31}, bottom{0, 31, 45, 62};
    HBRUSH blue = CreateSolidBrush(kPictureTop), yellow = CreateSolidBrush(kPictureBottom);
    FillRect(dc, &top, blue);
    FillRect(dc, &bottom, yellow);
    DeleteObject(blue);
    DeleteObject(yellow);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 2;
    openLog(__argv[2]);
    const char* mode = __argv[1];
    if (!std::strcmp(mode, "panel")) return runPanel(instance);
    if (!std::strcmp(mode, "box")) return runBox(instance);
    if (!std::strcmp(mode, "msgbox") && __argc >= 4) return runMessageBox(UINT(std::strtoul(__argv[3], nullptr, 0)));
    if (!std::strcmp(mode, "checks")) return runChecks(instance);
    return 2;
}

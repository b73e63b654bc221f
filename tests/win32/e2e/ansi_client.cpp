// An ordinary ANSI program for the end-to-end tests: a top-level window
// with one single-line EDIT control, both created with the A functions, and
// a message loop of GetMessageA, TranslateMessage and DispatchMessageA. So
// it sees a character the way an 8-bit Windows program does: converted to
// the ANSI code page after the hooks have run. The edit control keeps the
// focus whenever the window is active, as in any one-field editor.
//
//   ansi_client [title [password | linecopy]]
// With "password" the edit control shows its text as stars (ES_PASSWORD).
// With "linecopy" a copy with nothing selected copies the whole line, marked
// as such ("MSDEVLineSelect"), as some programmers' editors do.
// Prints "ready <hwnd> acp <code page>" once its window exists. Then, for
// every character message its loop retrieves, before dispatching it:
//   char <code> lparam <hex>        WM_CHAR
//   syschar <code> lparam <hex>     WM_SYSCHAR (Alt held)
//   keydown 16 lparam <hex>         WM_KEYDOWN of Shift (what toggles)
//   keydown 19 lparam <hex>         WM_KEYDOWN of Pause (what mends a word)
// Commands, one per line on stdin, run on the window's thread between
// messages:
//   text    the edit control's text as bytes (GetWindowTextA):
//           "text <hex>", or "text -" when empty
//   clear   empties the edit control ("clear ok")
//   select  selects the edit control's whole text ("select ok")
//   state   "state foreground=<0|1> focus=<0|1> caps=<0|1> num=<0|1>
//           scroll=<0|1> chars=<n>": whether the window is the foreground
//           one, the edit control has the focus, the toggle bit of each lock
//           key as this thread sees it, and the character messages so far
//   quit
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "../common/line_log.h"
#include "../common/message_loop.h"

namespace {

using testio::say;

constexpr int kEditId = 100;
HWND g_window = nullptr;
HWND g_edit = nullptr;
unsigned g_chars = 0;
DWORD g_editStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
bool g_lineCopy = false;
WNDPROC g_editProc = nullptr;

// The edit control with "linecopy": a copy of nothing copies the line.
LRESULT CALLBACK LineCopyEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD start = 0, end = 0;
    if (message == WM_COPY && (SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                            reinterpret_cast<LPARAM>(&end)), start == end)) {
        const int length = GetWindowTextLengthA(edit);
        HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, length + 3);
        char* bytes = static_cast<char*>(GlobalLock(text));
        GetWindowTextA(edit, bytes, length + 1);
        std::strcpy(bytes + length, "\r\n");
        GlobalUnlock(text);
        if (OpenClipboard(edit)) {
            EmptyClipboard();
            SetClipboardData(CF_TEXT, text);
            SetClipboardData(RegisterClipboardFormatA("MSDEVLineSelect"), GlobalAlloc(GMEM_MOVEABLE, 1));
            CloseClipboard();
        }
        return 0;
    }
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", g_editStyle, 8, 8, 480,
                                     28, window, reinterpret_cast<HMENU>(kEditId),
                                     reinterpret_cast<LPCREATESTRUCTA>(lParam)->hInstance, nullptr);
            // The edit control's text has no length limit worth meeting here.
            SendMessageA(g_edit, EM_SETLIMITTEXT, 0, 0);
            if (g_edit != nullptr && g_lineCopy) {
                g_editProc = reinterpret_cast<WNDPROC>(
                    SetWindowLongPtrA(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LineCopyEditProc)));
            }
            return g_edit != nullptr ? 0 : -1;
        case WM_SETFOCUS:
            SetFocus(g_edit);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Reports the messages that reach the loop, before they are dispatched.
void watch(const MSG& msg) {
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_SHIFT || msg.wParam == VK_PAUSE)) {
        say("keydown %u lparam %08lx", unsigned(msg.wParam), static_cast<unsigned long>(msg.lParam));
    }
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
        ++g_chars;
        say("%s %u lparam %08lx", msg.message == WM_CHAR ? "char" : "syschar", unsigned(msg.wParam),
            static_cast<unsigned long>(msg.lParam));
    }
}

bool isOn(int key) { return (GetKeyState(key) & 1) != 0; }

void execute(char* line) {
    line[std::strcspn(line, "\r\n")] = '\0';
    if (std::strcmp(line, "quit") == 0) {
        DestroyWindow(g_window);
    } else if (std::strcmp(line, "text") == 0) {
        const int length = GetWindowTextLengthA(g_edit);
        char* text = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, length + 1));
        const int got = GetWindowTextA(g_edit, text, length + 1);
        std::printf("text ");
        for (int i = 0; i < got; ++i) std::printf("%02x", static_cast<unsigned char>(text[i]));
        say("%s", got == 0 ? "-" : "");
        HeapFree(GetProcessHeap(), 0, text);
    } else if (std::strcmp(line, "clear") == 0) {
        SetWindowTextA(g_edit, "");
        say("clear ok");
    } else if (std::strcmp(line, "select") == 0) {
        SendMessageA(g_edit, EM_SETSEL, 0, -1);
        say("select ok");
    } else if (std::strcmp(line, "state") == 0) {
        say("state foreground=%d focus=%d caps=%d num=%d scroll=%d chars=%u",
            GetForegroundWindow() == g_window ? 1 : 0, GetFocus() == g_edit ? 1 : 0, isOn(VK_CAPITAL) ? 1 : 0,
            isOn(VK_NUMLOCK) ? 1 : 0, isOn(VK_SCROLL) ? 1 : 0, g_chars);
    } else if (line[0] != '\0') {
        say("unknown command %s", line);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const char* title = argc > 1 ? argv[1] : "Vyrtel ANSI client";
    if (argc > 2 && std::strcmp(argv[2], "password") == 0) g_editStyle |= ES_PASSWORD;
    g_lineCopy = argc > 2 && std::strcmp(argv[2], "linecopy") == 0;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ClientProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VyrtelAnsiClient";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    RegisterClassA(&wc);
    g_window = CreateWindowA(wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 300, 520, 90, nullptr,
                             nullptr, wc.hInstance, nullptr);
    if (g_window == nullptr || IsWindowUnicode(g_window) || IsWindowUnicode(g_edit)) return 3;
    say("ready %08x acp %u", unsigned(reinterpret_cast<std::uintptr_t>(g_window)), GetACP());
    testio::pumpMessages<testio::Chars::Ansi>(execute, watch);
    return 0;
}

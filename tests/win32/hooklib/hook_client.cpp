// A window of an ordinary GUI process, into which the system injects the
// hook that another process installed. It pumps with the W functions (so it
// receives the byte the hook wrote, unconverted) and reports on stdout every
// key-down and character message that reaches its window procedure:
//
//   keydown <virtual key> lparam <hex>
//   char <character code> scan <hex> lparam <hex>
//   threadchar <character code> scan <hex> lparam <hex>   (a WM_CHAR that
//                                   came to the thread, without a window)
//
// Commands, one per line on stdin, run on the window's own thread:
//   keys <vk>=<state> ...   SetKeyboardState: these keys, all others 0
//   post <msg> <wParam> <lParam>   PostMessageW to the window
//   peek <msg> <wParam> <lParam>   the same, but peeked without removal first
//   thread <msg> <wParam> <lParam> PostThreadMessageW to the window's thread
//   minimize | destroy | state     (state: "state iconic=<0|1> foreground=<0|1>
//                                   window=<0|1>")
//   quit
// It starts by printing "ready <hwnd>", where hwnd is the window's handle.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "script_words.h"

#include "../common/line_log.h"
#include "../common/message_loop.h"
#include "../common/test_window.h"

namespace {

using testio::say;

HWND g_window = nullptr;

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            say("keydown %u lparam %08x", unsigned(wParam), unsigned(lParam));
            return 0;
        case WM_CHAR:
            say("char %u scan %02x lparam %08x", unsigned(wParam), unsigned((lParam >> 16) & 0xFF),
                unsigned(lParam));
            return 0;
        case WM_DESTROY:
            g_window = nullptr;
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void setKeys(char** words, int count) {
    BYTE keys[256] = {};
    for (int i = 0; i < count; ++i) {
        char* value = std::strchr(words[i], '=');
        if (value == nullptr) continue;
        *value++ = '\0';
        keys[hooktest::number(words[i]) & 0xFF] = static_cast<BYTE>(hooktest::number(value));
    }
    SetKeyboardState(keys);
}

void execute(char* line) {
    char* w[40];
    const int n = hooktest::splitWords(line, w, 40);
    if (n == 0) return;
    if (std::strcmp(w[0], "quit") == 0) {
        PostQuitMessage(0);
        return;
    }
    if (std::strcmp(w[0], "keys") == 0) {
        setKeys(w + 1, n - 1);
        say("keys ok");
    } else if ((std::strcmp(w[0], "post") == 0 || std::strcmp(w[0], "peek") == 0) && n == 4) {
        const UINT message = hooktest::number(w[1]);
        PostMessageW(g_window, message, hooktest::number(w[2]), static_cast<LPARAM>(hooktest::number(w[3])));
        if (w[0][1] == 'e') {  // peek: one pass through the hook without removal
            MSG peeked;
            PeekMessageW(&peeked, g_window, message, message, PM_NOREMOVE);
        }
        return;  // the window procedure reports the message when it arrives
    } else if (std::strcmp(w[0], "thread") == 0 && n == 4) {
        PostThreadMessageW(GetCurrentThreadId(), hooktest::number(w[1]), hooktest::number(w[2]),
                           static_cast<LPARAM>(hooktest::number(w[3])));
        return;  // reported as it is retrieved
    } else if (std::strcmp(w[0], "minimize") == 0) {
        ShowWindow(g_window, SW_MINIMIZE);
        say("minimize ok");
    } else if (std::strcmp(w[0], "destroy") == 0) {
        DestroyWindow(g_window);
        say("destroy ok");
    } else if (std::strcmp(w[0], "state") == 0) {
        const BOOL alive = g_window != nullptr && IsWindow(g_window);
        say("state iconic=%d foreground=%d window=%d", alive && IsIconic(g_window) ? 1 : 0,
            alive && GetForegroundWindow() == g_window ? 1 : 0, alive ? 1 : 0);
    } else {
        say("unknown command %s", w[0]);
    }
}

}  // namespace

int main(int argc, char** argv) {
    g_window = testio::showClientWindow(argc, argv, L"TavrilexTestClient", ClientProc, L"Tavrilex test client",
                                        60, 60, 320, 140);
    if (g_window == nullptr) return 3;
    testio::pumpMessages<testio::Chars::Unicode>(execute, [](const MSG& msg) {
        if (msg.hwnd == nullptr && msg.message == WM_CHAR) {
            say("threadchar %u scan %02x lparam %08x", unsigned(msg.wParam), unsigned((msg.lParam >> 16) & 0xFF),
                unsigned(msg.lParam));
        }
    });
    return 0;
}

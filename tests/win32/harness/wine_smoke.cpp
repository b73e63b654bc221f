// Proves the Wine test set-up end to end: a window appears on the virtual
// display, takes a key typed by xdotool, writes the character it received
// to the file named on the command line and exits with code 7.
#include <windows.h>

#include <cstdio>

#include "../common/message_loop.h"
#include "../common/test_window.h"

namespace {

const char* g_logPath = nullptr;

LRESULT CALLBACK SmokeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR: {
            if (FILE* log = std::fopen(g_logPath, "w")) {
                std::fprintf(log, "char %u scan %02x\n", unsigned(wParam), unsigned((lParam >> 16) & 0xFF));
                std::fclose(log);
            }
            PostQuitMessage(7);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    g_logPath = argv[1];
    if (!testio::showTestWindow(L"VyrtelSmoke", SmokeProc, L"Vyrtel Wine smoke", 40, 40, 300, 120)) return 3;
    return testio::pumpMessages<testio::Chars::Unicode>();
}

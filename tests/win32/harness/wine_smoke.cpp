// Proves the Wine test set-up end to end: a window appears on the virtual
// display, takes a key typed by xdotool, writes the character it received
// to the file named on the command line and exits with code 7.
#include <windows.h>

#include <cstdio>

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
    WNDCLASSW wc = {};
    wc.lpfnWndProc = SmokeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VyrtelSmoke";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"VyrtelSmoke", L"Vyrtel Wine smoke", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                40, 40, 300, 120, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 3;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

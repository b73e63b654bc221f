// The one top-level window of a Unicode test program: a class of its own on
// the system's window colour, overlapped and shown at once.
#pragma once

#include <windows.h>

#include <cstdint>

#include "line_log.h"

namespace testio {

inline HWND showTestWindow(const wchar_t* className, WNDPROC proc, const wchar_t* title, int x, int y, int width,
                           int height) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    return CreateWindowW(className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

// A test client's window, titled by the program's first argument (in the
// ANSI code page) or else `fallback`. Once it exists the client says
// "ready <hwnd>"; nullptr when it could not be made.
inline HWND showClientWindow(int argc, char** argv, const wchar_t* className, WNDPROC proc, const wchar_t* fallback,
                             int x, int y, int width, int height) {
    wchar_t given[128];
    const bool titled = argc > 1 && MultiByteToWideChar(CP_ACP, 0, argv[1], -1, given, 128) != 0;
    HWND window = showTestWindow(className, proc, titled ? given : fallback, x, y, width, height);
    if (window != nullptr) say("ready %08x", unsigned(reinterpret_cast<std::uintptr_t>(window)));
    return window;
}

}  // namespace testio

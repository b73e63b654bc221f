// Test clients take their commands on standard input while their UI thread
// pumps messages: a reader thread hands each line to the UI thread as a
// thread message, which the client runs between window messages.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace testio {

// The thread message that carries a line: lParam points to it (allocated on
// the process heap; the receiver frees it with HeapFree), or is 0 at the end
// of input.
inline constexpr UINT kCommandMessage = WM_APP + 1;

inline DWORD WINAPI readCommands(LPVOID parameter) {
    const DWORD uiThread = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(parameter));
    char line[512];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        char* copy = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, sizeof line));
        std::memcpy(copy, line, sizeof line);
        while (!PostThreadMessageW(uiThread, kCommandMessage, 0, reinterpret_cast<LPARAM>(copy))) Sleep(10);
    }
    while (!PostThreadMessageW(uiThread, kCommandMessage, 0, 0)) Sleep(10);
    return 0;
}

// Starts reading standard input for the calling (UI) thread, whose queue
// must exist (it does once the thread has made a window).
inline void startCommandReader() {
    const UINT_PTR uiThread = GetCurrentThreadId();
    CloseHandle(CreateThread(nullptr, 0, readCommands, reinterpret_cast<LPVOID>(uiThread), 0, nullptr));
}

enum class CommandStep {
    NotACommand,  // a message for the loop to translate and dispatch
    Ran,          // a command line, run by `run`
    InputEnded,   // the end of standard input
};

// Runs the command a retrieved message carries, if it carries one, and frees
// its line.
template <class Run>
CommandStep takeCommand(const MSG& msg, Run run) {
    if (msg.hwnd != nullptr || msg.message != kCommandMessage) return CommandStep::NotACommand;
    char* line = reinterpret_cast<char*>(msg.lParam);
    if (line == nullptr) return CommandStep::InputEnded;
    run(line);
    HeapFree(GetProcessHeap(), 0, line);
    return CommandStep::Ran;
}

}  // namespace testio

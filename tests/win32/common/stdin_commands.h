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
// of input when `endMessage` is this same message.
inline constexpr UINT kCommandMessage = WM_APP + 1;

struct CommandReader {
    DWORD uiThread;
    UINT endMessage;  // posted once input ends: kCommandMessage (lParam 0) or WM_QUIT
};

inline DWORD WINAPI readCommands(LPVOID parameter) {
    const CommandReader reader = *static_cast<CommandReader*>(parameter);
    HeapFree(GetProcessHeap(), 0, parameter);
    char line[512];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        char* copy = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, sizeof line));
        std::memcpy(copy, line, sizeof line);
        while (!PostThreadMessageW(reader.uiThread, kCommandMessage, 0, reinterpret_cast<LPARAM>(copy))) Sleep(10);
    }
    PostThreadMessageW(reader.uiThread, reader.endMessage, 0, 0);
    return 0;
}

// Starts reading standard input for the calling (UI) thread.
inline void startCommandReader(UINT endMessage) {
    auto* reader = static_cast<CommandReader*>(HeapAlloc(GetProcessHeap(), 0, sizeof(CommandReader)));
    *reader = CommandReader{GetCurrentThreadId(), endMessage};
    CloseHandle(CreateThread(nullptr, 0, readCommands, reader, 0, nullptr));
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

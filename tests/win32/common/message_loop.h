// The message loop of a test program's UI thread. Given commands to `run`,
// it starts reading standard input (stdin_commands.h); the thread's queue
// must exist by then. Each retrieved message is, in this order:
//   - a command line from standard input, run by `run`;
//   - a keyboard message of `dialog`, taken by IsDialogMessage;
//   - or shown to `watch`, then translated and dispatched.
// It ends with WM_QUIT, returning its exit code, or at the end of standard
// input, returning 0.
#pragma once

#include <windows.h>

#include <type_traits>

#include "stdin_commands.h"

namespace testio {

// Which forms of the message functions the loop calls: a program's loop
// decides whether its windows see ANSI or Unicode characters.
enum class Chars { Ansi, Unicode };

struct NoCommands {
    void operator()(char*) const {}
};

struct Unwatched {
    void operator()(const MSG&) const {}
};

template <Chars chars, class Run = NoCommands, class Watch = Unwatched>
int pumpMessages(Run run = {}, Watch watch = {}, HWND dialog = nullptr) {
    constexpr bool ansi = chars == Chars::Ansi;
    if constexpr (!std::is_same_v<Run, NoCommands>) startCommandReader();
    MSG msg;
    while ((ansi ? GetMessageA(&msg, nullptr, 0, 0) : GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if constexpr (!std::is_same_v<Run, NoCommands>) {
            const CommandStep step = takeCommand(msg, run);
            if (step == CommandStep::InputEnded) return 0;
            if (step == CommandStep::Ran) continue;
        }
        if (dialog != nullptr && (ansi ? IsDialogMessageA(dialog, &msg) : IsDialogMessageW(dialog, &msg))) continue;
        watch(static_cast<const MSG&>(msg));
        TranslateMessage(&msg);
        if (ansi) {
            DispatchMessageA(&msg);
        } else {
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

// The loop of a program whose one window is a modeless ANSI dialog.
inline int pumpDialogMessages(HWND dialog) { return pumpMessages<Chars::Ansi>(NoCommands{}, Unwatched{}, dialog); }

}  // namespace testio

// What a show command does to a framework window, and which show command a
// program received at start. Plain C++.
#pragma once

#include <cstdint>

#include "framework/style_rules.h"

namespace framework {

inline constexpr int kShowHide = 0;         // SW_HIDE
inline constexpr int kShowMinimize = 6;     // SW_MINIMIZE
inline constexpr int kShowDefault = 10;     // SW_SHOWDEFAULT

enum class ShowAction {
    SendMinimizeCommand,  // WM_SYSCOMMAND SC_MINIMIZE, exactly as the title bar's button
    ShowWindow,           // the platform's ShowWindow with the command
    RecordOnly,           // no window yet: the command only sets or clears WS_VISIBLE
};

constexpr ShowAction showAction(int command, bool windowExists) {
    if (!windowExists) return ShowAction::RecordOnly;
    return command == kShowMinimize ? ShowAction::SendMinimizeCommand : ShowAction::ShowWindow;
}

// The style a window that does not exist yet is created with after a show
// command: hidden for SW_HIDE, visible for every other command.
constexpr std::uint32_t styleAfterShow(std::uint32_t style, int command) {
    return command == kShowHide ? style & ~ws::kVisible : style | ws::kVisible;
}

// The show command a program received at start: the one its starter put in
// STARTUPINFO (when STARTF_USESHOWWINDOW says there is one), else
// SW_SHOWDEFAULT.
constexpr int startupShowCommand(bool startupInfoHasShowWindow, int startupInfoShowWindow) {
    return startupInfoHasShowWindow ? startupInfoShowWindow : kShowDefault;
}

}  // namespace framework

// The program's icon in the notification area: one icon, owned by the main
// frame, showing a typing mode with its tooltip. A thin edge over
// Shell_NotifyIconA; what it shows is decided by typing_mode.h.
//
// The icon is kept wanted from the first Show until Remove: a taskbar that
// is not there yet, or was re-created (TaskbarCreated), gets it again with
// the last look and tooltip.
#pragma once

#include <windows.h>

#include "app/typing_mode.h"

namespace vyrtel {

class TrayIcon {
public:
    // Loads the three looks (small-icon size) from `module`. Clicks on the
    // icon reach the owner as `callbackMessage`, wParam the icon's id and
    // lParam the mouse message.
    TrayIcon(HINSTANCE module, UINT callbackMessage);
    ~TrayIcon();

    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows `mode` with `tooltip` on `owner`'s icon: modifies the icon when
    // it is there, adds it otherwise.
    void Show(HWND owner, TypingMode mode, const Tooltip& tooltip);

    // Adds the icon again as last shown (the taskbar was re-created); nothing
    // before the first Show or after Remove.
    void ShowAgain();

    // Takes the icon out of the notification area for good.
    void Remove();

private:
    bool Notify(DWORD action);

    HICON looks_[3];
    UINT callbackMessage_;
    HWND owner_ = nullptr;
    TypingMode mode_ = TypingMode::Off;
    Tooltip tooltip_{};
    bool added_ = false;
};

}  // namespace vyrtel

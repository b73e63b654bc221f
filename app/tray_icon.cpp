#include "app/tray_icon.h"

#include <shellapi.h>

#include "resource_ids.h"

namespace vyrtel {

namespace {

// One icon per program: its id among the owner's icons.
constexpr UINT kIconId = 1;

int lookIndex(TypingMode mode) { return static_cast<int>(mode); }
static_assert(static_cast<int>(TypingMode::Off) == 0 && static_cast<int>(TypingMode::Latin) == 1 &&
              static_cast<int>(TypingMode::Ukrainian) == 2);

HICON loadLook(HINSTANCE module, int resourceId) {
    return static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

}  // namespace

TrayIcon::TrayIcon(HINSTANCE module, UINT callbackMessage)
    : looks_{loadLook(module, IDI_MODE_OFF), loadLook(module, IDI_MODE_LATIN), loadLook(module, IDI_MODE_UKRAINIAN)},
      callbackMessage_(callbackMessage) {}

TrayIcon::~TrayIcon() {
    Remove();
    for (HICON look : looks_) {
        if (look) DestroyIcon(look);
    }
}

void TrayIcon::Show(HWND owner, TypingMode mode, const Tooltip& tooltip) {
    owner_ = owner;
    mode_ = mode;
    tooltip_ = tooltip;
    // A taskbar that went away without a word has forgotten the icon: it
    // refuses the change, and the icon is added anew.
    if (added_ && Notify(NIM_MODIFY)) return;
    added_ = Notify(NIM_ADD);
}

void TrayIcon::ShowAgain() {
    if (owner_ == nullptr) return;
    added_ = Notify(NIM_ADD);
}

void TrayIcon::Remove() {
    if (owner_ == nullptr) return;
    if (added_) Notify(NIM_DELETE);
    added_ = false;
    owner_ = nullptr;
}

bool TrayIcon::Notify(DWORD action) {
    // The first form of the record, which every system takes: its tooltip
    // holds 64 characters, as Tooltip does.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = looks_[lookIndex(mode_)];
    static_assert(sizeof tooltip_.text <= sizeof data.szTip);
    CopyMemory(data.szTip, tooltip_.text, sizeof tooltip_.text);
    return Shell_NotifyIconA(action, &data) != FALSE;
}

}  // namespace vyrtel

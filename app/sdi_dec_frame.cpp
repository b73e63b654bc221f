#include "app/sdi_dec_frame.h"

#include "app/typing_mode.h"
#include "app/vyrtel_dlg.h"
#include "hooklib/tavrilex_api.h"
#include "resource_ids.h"

namespace {

// Mouse events on the notification-area icon.
constexpr UINT kIconMessage = WM_APP + 1;

// The icon menu's own commands; the codings and Exit use the dialog's ids.
// They stay clear of IDCANCEL (2) and of the controls' ids (from 101).
constexpr UINT kMenuShow = 1;
constexpr UINT kMenuLayout = 10;
constexpr UINT kMenuAutoMend = 11;

int codingCommand(vyrtel::Coding coding) {
    switch (coding) {
        case vyrtel::Coding::Koi8:
            return IDC_KOI8;
        case vyrtel::Coding::Cp1251:
            return IDC_CP1251;
        case vyrtel::Coding::Disabled:
            break;
    }
    return IDC_DISABLE;
}

}  // namespace

TSDIDecFrame::TSDIDecFrame(TWindow* parent, const char* title, vyrtel::LibraryBinding& library,
                           vyrtel::ControlModel& model)
    : TDecoratedFrame(parent, title, new TVyrtelDlg(nullptr, IDD_CONTROL, model)),
      library_(library),
      model_(model),
      dialog_(static_cast<TVyrtelDlg*>(Client())),
      icon_(Module(), kIconMessage),
      mender_(library),
      modeMessage_(RegisterWindowMessageA(tavrilex::kModeMessageName)),
      mendMessage_(RegisterWindowMessageA(tavrilex::kMendSelectionMessageName)),
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {}

TSDIDecFrame::~TSDIDecFrame() = default;

bool TSDIDecFrame::Create() {
    // Told from here on: the dialog starts the model while it is created.
    model_.SetObserver(this);
    if (!TDecoratedFrame::Create()) {
        model_.SetObserver(nullptr);
        return false;
    }
    // The library keeps this handle to bring the frame forward when the
    // program is started again, and posts its mode messages to it.
    library_.RegisterWindow(Handle());
    ModelChanged(model_);
    return true;
}

void TSDIDecFrame::ModelChanged(const vyrtel::ControlModel& model) {
    if (!Handle()) return;
    const vyrtel::Choices& choices = model.Current();
    const vyrtel::TypingMode mode = vyrtel::typingModeOf(choices.coding, model.Translated());
    icon_.Show(Handle(), mode, vyrtel::tooltipOf(mode, choices));
    layoutWindow_.Follow(vyrtel::LayoutView(choices, model.Translated()));
    // A coding chosen from the icon's menu shows in the dialog too.
    if (dialog_->Handle()) dialog_->ShowChoices();
}

LRESULT TSDIDecFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == modeMessage_ && message != 0) {
        model_.NoteModeMessage(wParam != 0, static_cast<std::int32_t>(lParam));
        return 0;
    }
    if (message == mendMessage_ && message != 0) {
        const vyrtel::Choices& choices = model_.Current();
        if (choices.coding != vyrtel::Coding::Disabled) {
            mender_.Request(Handle(), vyrtel::builtinOf(choices.coding, choices.layout));
        }
        return 0;
    }
    if (message == taskbarCreated_ && message != 0) {
        icon_.ShowAgain();
        return 0;
    }
    switch (message) {
        case kIconMessage:
            OnIconMouse(static_cast<UINT>(lParam));
            return 0;
        case WM_DESTROY:
            // The icon goes with the window; the model outlives both.
            icon_.Remove();
            layoutWindow_.Close();
            mender_.Finish();
            model_.SetObserver(nullptr);
            break;
    }
    return TDecoratedFrame::WindowProc(message, wParam, lParam);
}

void TSDIDecFrame::OnIconMouse(UINT mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONUP:
            BringForward();
            break;
        case WM_RBUTTONUP:
            ShowIconMenu();
            break;
    }
}

void TSDIDecFrame::BringForward() {
    HWND frame = Handle();
    if (IsIconic(frame)) {
        ShowWindow(frame, SW_RESTORE);
    } else if (!IsWindowVisible(frame)) {
        ShowWindow(frame, SW_SHOW);
    }
    SetForegroundWindow(frame);
}

void TSDIDecFrame::ShowIconMenu() {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuA(menu, MF_STRING, kMenuShow, "&Show Vyrtel");
    AppendMenuA(menu, MF_STRING, kMenuLayout, "Show &layout");
    AppendMenuA(menu, MF_STRING | (autoMend_ ? MF_CHECKED : MF_UNCHECKED) | (library_.HasAutoMend() ? 0 : MF_GRAYED),
                kMenuAutoMend, "Mend words &automatically");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDC_KOI8, "Ukrainian - &KOI8");
    AppendMenuA(menu, MF_STRING, IDC_CP1251, "Ukrainian - &CP1251");
    AppendMenuA(menu, MF_STRING, IDC_DISABLE, "&Disable");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDCANCEL, "E&xit");
    static_assert(IDC_KOI8 + 1 == IDC_CP1251 && IDC_CP1251 + 1 == IDC_DISABLE);
    CheckMenuRadioItem(menu, IDC_KOI8, IDC_DISABLE, codingCommand(model_.Current().coding), MF_BYCOMMAND);
    SetMenuDefaultItem(menu, kMenuShow, FALSE);

    // The menu closes when the user clicks elsewhere only if its owner is
    // the foreground window; the message after it lets the menu go at once.
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(Handle());
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, Handle(), nullptr));
    PostMessageA(Handle(), WM_NULL, 0, 0);
    DestroyMenu(menu);

    switch (chosen) {
        case kMenuShow:
            BringForward();
            break;
        case kMenuLayout:
            layoutWindow_.Open(vyrtel::LayoutView(model_.Current(), model_.Translated()));
            break;
        case kMenuAutoMend:
            if (const std::optional<bool> on = library_.SetAutoMend(!autoMend_)) autoMend_ = *on;
            break;
        case IDC_KOI8:
            model_.ChooseCoding(vyrtel::Coding::Koi8);
            break;
        case IDC_CP1251:
            model_.ChooseCoding(vyrtel::Coding::Cp1251);
            break;
        case IDC_DISABLE:
            model_.ChooseCoding(vyrtel::Coding::Disabled);
            break;
        case IDCANCEL:
            // Exactly as the dialog's Exit button.
            if (dialog_->Handle()) PostMessageA(dialog_->Handle(), WM_COMMAND, IDCANCEL, 0);
            break;
    }
}

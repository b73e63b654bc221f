#include "framework/dialog.h"

#include "framework/application.h"
#include "framework/framework_error.h"

BEGIN_COMMAND_TABLE(TDialog, TWindow)
    COMMAND_ENTRY(IDOK, CmOk)          // void CmOk()
    COMMAND_ENTRY(IDCANCEL, CmCancel)  // void CmCancel()
END_COMMAND_TABLE()

TDialog::TDialog(TWindow* parent, int templateId, HINSTANCE module)
    : TWindow(parent, nullptr, module), templateId_(templateId) {}

bool TDialog::Create() {
    if (Handle()) return true;
    return MakeWindow(false) != -1;
}

int TDialog::RunModal() {
    if (Handle()) {
        framework::fail("Dialog %d is already open.", templateId_);
        return -1;
    }
    return static_cast<int>(MakeWindow(true));
}

INT_PTR TDialog::MakeWindow(bool modal) {
    TApplication* app = Application();
    if (app) app->RegisterCustomControlClasses();
    modal_ = modal;
    HWND parentWindow = Parent() ? Parent()->Handle() : nullptr;
    const LPCSTR name = MAKEINTRESOURCEA(templateId_);
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    INT_PTR result;
    {
        Parking parking(registry(), this);
        if (modal) {
            result = DialogBoxParamA(Module(), name, parentWindow, StandardDialogProc, self);
        } else {
            result = CreateDialogParamA(Module(), name, parentWindow, StandardDialogProc, self) ? 0 : -1;
        }
    }
    const DWORD error = GetLastError();
    modal_ = false;
    if (TakeSetUpFailure()) {
        // It has said why. A modal dialog has ended already; a modeless one
        // goes now.
        DestroyOwnWindow();
        return -1;
    }
    if (result == -1 || (!modal && !Handle())) {
        framework::fail("Could not create dialog %d (error %lu).", templateId_, error);
        return -1;
    }
    if (modal && app && app->RunFailed()) return -1;
    return result;
}

void TDialog::Close(int code) {
    if (!Handle()) return;
    if (modal_) {
        EndDialog(Handle(), code);
    } else {
        DestroyWindow(Handle());
    }
}

void TDialog::CmOk() { Close(IDOK); }

void TDialog::CmCancel() { Close(IDCANCEL); }

bool TDialog::PreProcessMessage(MSG& message) {
    return Handle() && !modal_ && IsDialogMessageA(Handle(), &message);
}

INT_PTR TDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // A dialog that cannot set itself up does not stay: a modal one
            // ends at once, a modeless one is destroyed by its creation.
            if (!SetUpWindow() && modal_) EndDialog(Handle(), -1);
            return TRUE;  // the dialog manager focuses the first control
        case WM_COMMAND:
            return RouteCommand(wParam, lParam) ? TRUE : FALSE;
        case WM_DESTROY:
            WindowDestroying();
            return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK TDialog::StandardDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only a dialog's creation gives this procedure, and it parks that
    // dialog for the window's first message.
    auto* dialog = static_cast<TDialog*>(registry().claim(window));
    if (!dialog) return FALSE;
    if (!dialog->Handle()) dialog->Attach(window);
    const INT_PTR result = dialog->DialogProc(message, wParam, lParam);
    // Still bound means still alive: a deleted object unbinds itself.
    if (message == WM_NCDESTROY && registry().find(window) == dialog) dialog->Detach();
    return result;
}

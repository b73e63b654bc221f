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
    if (TApplication* app = Application()) app->RegisterCustomControlClasses();
    modal_ = false;
    HWND parentWindow = Parent() ? Parent()->Handle() : nullptr;
    HWND created;
    {
        Parking parking(registry(), this);
        created = CreateDialogParamA(Module(), MAKEINTRESOURCEA(templateId_), parentWindow, StandardDialogProc,
                                     reinterpret_cast<LPARAM>(this));
    }
    DWORD error = GetLastError();
    if (framework::hasPendingException()) {
        if (created && IsWindow(created)) DestroyWindow(created);
        framework::rethrowPendingException();
    }
    if (!created || !Handle()) framework::fail("Could not create dialog %d (error %lu).", templateId_, error);
    return true;
}

int TDialog::RunModal() {
    if (Handle()) framework::fail("Dialog %d is already open.", templateId_);
    if (TApplication* app = Application()) app->RegisterCustomControlClasses();
    modal_ = true;
    HWND owner = Parent() ? Parent()->Handle() : nullptr;
    INT_PTR result;
    {
        Parking parking(registry(), this);
        result = DialogBoxParamA(Module(), MAKEINTRESOURCEA(templateId_), owner, StandardDialogProc,
                                 reinterpret_cast<LPARAM>(this));
    }
    DWORD error = GetLastError();
    modal_ = false;
    framework::rethrowPendingException();
    if (result == -1) framework::fail("Could not create dialog %d (error %lu).", templateId_, error);
    return static_cast<int>(result);
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
            SetUp();
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
    auto* dialog = dynamic_cast<TDialog*>(registry().claim(window));
    if (!dialog) return FALSE;
    if (!dialog->Handle()) dialog->Attach(window);
    INT_PTR result;
    try {
        result = dialog->DialogProc(message, wParam, lParam);
    } catch (...) {
        framework::keepPendingException();
        // A modal dialog ends at once, so that RunModal can pass the error
        // on; a modeless one is dealt with by Create or the message loop.
        if (dialog->modal_) EndDialog(window, -1);
        result = FALSE;
    }
    // Still bound means still alive: a deleted object unbinds itself.
    if (message == WM_NCDESTROY && registry().find(window) == dialog) dialog->Detach();
    return result;
}

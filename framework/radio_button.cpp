// TRadioButton, the class framework's object of a radio-button control in a
// dialog template; the control's own window class ("BorRadio") is the
// custom-control library's, controls/radio_button.cpp.
#include "framework/radio_button.h"

#include "framework/framework_error.h"

TRadioButton::TRadioButton(TWindow* parent, int controlId) : TWindow(parent), controlId_(controlId) {}

bool TRadioButton::Create() {
    if (Handle()) return true;
    HWND parentWindow = Parent() ? Parent()->Handle() : nullptr;
    if (!parentWindow) return framework::fail("Radio button %d has no parent window.", controlId_);
    HWND control = GetDlgItem(parentWindow, controlId_);
    if (!control) return framework::fail("The dialog has no control %d for its radio button.", controlId_);
    Attach(control);
    if (pendingCheck_ >= 0) SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(pendingCheck_), 0);
    pendingCheck_ = -1;
    return true;
}

void TRadioButton::SetCheck(bool checked) {
    const int state = checked ? BST_CHECKED : BST_UNCHECKED;
    if (Handle()) {
        SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(state), 0);
    } else {
        pendingCheck_ = state;
    }
}

bool TRadioButton::IsChecked() const {
    if (!Handle()) return pendingCheck_ == BST_CHECKED;
    return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

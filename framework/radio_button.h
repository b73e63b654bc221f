// TRadioButton: the framework's object of a radio-button control of a
// parent dialog's template (the control itself, "BorRadio", is the
// custom-control library's: controls/radio_button.cpp). It does not make a
// window of its own: when the parent's window is set up it attaches to the
// template's control with its id (a missing control fails the parent's
// creation with a framework error).
//
// The framework never moves a check mark by itself: the parent sets every
// mark with Check/Uncheck (the template's buttons are meant to be the
// non-automatic kind). A click on the control is offered to this object
// first (ControlNotification; a derived class may override it) and then, in
// any case, to the parent's response table as the control's id with
// BN_CLICKED.
#pragma once

#include "framework/window.h"

class TRadioButton : public TWindow {
public:
    TRadioButton(TWindow* parent, int controlId);

    int ControlId() const { return controlId_; }

    // Attaches to the parent window's control `ControlId()`; true once
    // attached. False, with the reason recorded, when the parent has no
    // window or no such control.
    bool Create() override;

    // Sets (Check) or clears (Uncheck) the check mark with BM_SETCHECK.
    // Before the control is attached, the last request is kept and applied
    // when it is.
    void Check() { SetCheck(true); }
    void Uncheck() { SetCheck(false); }
    void SetCheck(bool checked);

    // The control's check mark (BM_GETCHECK); before attachment, the
    // pending request.
    bool IsChecked() const;

private:
    int controlId_;
    int pendingCheck_ = -1;  // -1 none, else BST_CHECKED / BST_UNCHECKED
};

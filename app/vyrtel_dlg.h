// TVyrtelDlg: the control dialog (template 2000), the client of the main
// frame and the program's whole user interface.
//
// It shows the control model's three choices, each as the check mark of
// one radio button of its group (the buttons are non-automatic: every mark
// is set here, from the model), and hands each click on a radio button to
// the model, which makes the library call (control_model.h). Creating the
// window starts the model. "Minimize" (and Enter) minimises the main
// window; "Exit" (and Esc) closes the dialog, and the frame with it; the
// emblem opens the About box.
#pragma once

#include "app/control_model.h"
#include "framework/framework.h"

class TVyrtelDlg : public TDialog {
public:
    // Makes no library call. `model` outlives the dialog's window.
    TVyrtelDlg(TWindow* parent, int templateId, vyrtel::ControlModel& model);
    ~TVyrtelDlg() override;

    // Creates the dialog window, then starts the model and shows its
    // choices: no hook, typewriter layout, toggle method 3.
    bool Create() override;

    // Sets the marks from the model's choices as they are now (a choice
    // made elsewhere, from the notification-area icon's menu).
    void ShowChoices() { Show(Model.Current()); }

    DECLARE_COMMAND_TABLE();

private:
    // Sets every mark of the three groups from `choices` (none of a group
    // whose value is outside it).
    void Show(const vyrtel::Choices& choices);

    // Command handlers: void Handler()
    void CmKoi8();
    void CmCp1251();
    void CmDisable();
    void CmCtrlShiftLeftRight();
    void CmScrollLock();
    void CmNumLock();
    void CmCtrlShiftCycled();
    void CmAbout();
    void CmMinimize();
    void CmPhonetic();
    void CmTypewriter();

    vyrtel::ControlModel& Model;
    TRadioButton Koi8Button;
    TRadioButton Cp1251Button;
    TRadioButton DisableButton;
    TRadioButton CtrlShiftLeftRightButton;
    TRadioButton ScrollLockButton;
    TRadioButton NumLockButton;
    TRadioButton CtrlShiftCycledButton;
    TRadioButton PhoneticButton;
    TRadioButton TypewriterButton;
};

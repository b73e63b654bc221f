// TVyrtelDlg: the control dialog (template 2000), the client of the main
// frame and the program's whole user interface.
//
// It keeps three choices, each shown as the check mark of one radio button
// of its group (the buttons are non-automatic: every mark is set here), and
// turns each click into at most one call into Tavrilex.dll:
// - a coding (KOI8, CP1251) hands the library that coding's table in the
//   current layout, which installs the hook; "Disable" removes the hook.
//   A coding becomes the current one only when the library reports an
//   installed hook; otherwise the mark returns to the coding in force;
// - a layout (Typewriter, Phonetic) becomes current and the coding in force
//   is applied again, so the library gets the new layout's table;
// - a toggle method is stored in the library, and its answer becomes current.
// Every start begins with the typewriter layout, no coding and the
// Ctrl+Shift (Left/Right) method. "Minimize" (and Enter) minimises the main
// window; "Exit" (and Esc) closes the dialog, and the frame with it; the
// emblem opens the About box.
#pragma once

#include <cstdint>

#include "framework/framework.h"

class TVyrtelDlg : public TDialog {
public:
    // Makes no library call; the choices start at 0 until Create.
    TVyrtelDlg(TWindow* parent, int templateId, HINSTANCE module = nullptr);
    ~TVyrtelDlg() override;

    // Creates the dialog window, then sets the start state: no hook,
    // typewriter layout, toggle method 3 (when the library is loaded).
    bool Create() override;

    DECLARE_COMMAND_TABLE();

    // Set every mark of one group from its choice (none for a value outside
    // the group).
    void ShowCoding();
    void ShowToggleMethod();
    void ShowLayout();

private:
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

    void ChooseCoding(std::int32_t coding);
    void ChooseToggleMethod(std::int32_t method);
    void ChooseLayout(std::int32_t layout);

    std::int32_t Coding;        // 0 disabled, 1 KOI8, 2 CP1251
    std::int32_t ToggleMethod;  // as the library last answered (0..3)
    std::int32_t Layout;        // 0 typewriter, 1 phonetic
    TRadioButton* Koi8Button;
    TRadioButton* Cp1251Button;
    TRadioButton* DisableButton;
    TRadioButton* CtrlShiftLeftRightButton;
    TRadioButton* ScrollLockButton;
    TRadioButton* NumLockButton;
    TRadioButton* CtrlShiftCycledButton;
    TRadioButton* PhoneticButton;
    TRadioButton* TypewriterButton;
};

#include "app/vyrtel_dlg.h"

#include "hooklib/tavrilex_api.h"
#include "resource_ids.h"

using vyrtel::Coding;
using vyrtel::Layout;

BEGIN_COMMAND_TABLE(TVyrtelDlg, TDialog)
    COMMAND_ENTRY(IDC_KOI8, CmKoi8)                                   // void CmKoi8()
    COMMAND_ENTRY(IDC_CP1251, CmCp1251)                               // void CmCp1251()
    COMMAND_ENTRY(IDC_DISABLE, CmDisable)                             // void CmDisable()
    COMMAND_ENTRY(IDC_CTRL_SHIFT_LEFT_RIGHT, CmCtrlShiftLeftRight)    // void CmCtrlShiftLeftRight()
    COMMAND_ENTRY(IDC_SCROLL_LOCK, CmScrollLock)                      // void CmScrollLock()
    COMMAND_ENTRY(IDC_NUM_LOCK, CmNumLock)                            // void CmNumLock()
    COMMAND_ENTRY(IDC_CTRL_SHIFT_CYCLED, CmCtrlShiftCycled)           // void CmCtrlShiftCycled()
    COMMAND_ENTRY(IDC_ABOUT_BUTTON, CmAbout)                          // void CmAbout()
    COMMAND_ENTRY(IDOK, CmMinimize)                                   // void CmMinimize()
    COMMAND_ENTRY(IDC_PHONETIC, CmPhonetic)                           // void CmPhonetic()
    COMMAND_ENTRY(IDC_TYPEWRITER, CmTypewriter)                       // void CmTypewriter()
END_COMMAND_TABLE()
// IDCANCEL ("Exit", Esc) is the base dialog's: it closes the dialog.

TVyrtelDlg::TVyrtelDlg(TWindow* parent, int templateId, vyrtel::ControlModel& model)
    : TDialog(parent, templateId),
      Model(model),
      Koi8Button(this, IDC_KOI8),
      Cp1251Button(this, IDC_CP1251),
      DisableButton(this, IDC_DISABLE),
      CtrlShiftLeftRightButton(this, IDC_CTRL_SHIFT_LEFT_RIGHT),
      ScrollLockButton(this, IDC_SCROLL_LOCK),
      NumLockButton(this, IDC_NUM_LOCK),
      CtrlShiftCycledButton(this, IDC_CTRL_SHIFT_CYCLED),
      PhoneticButton(this, IDC_PHONETIC),
      TypewriterButton(this, IDC_TYPEWRITER) {}

// The window goes before the buttons' objects do.
TVyrtelDlg::~TVyrtelDlg() { Close(IDCANCEL); }

bool TVyrtelDlg::Create() {
    if (!TDialog::Create()) return false;
    Show(Model.Start());
    return true;
}

void TVyrtelDlg::Show(const vyrtel::Choices& choices) {
    DisableButton.SetCheck(choices.coding == Coding::Disabled);
    Koi8Button.SetCheck(choices.coding == Coding::Koi8);
    Cp1251Button.SetCheck(choices.coding == Coding::Cp1251);
    ScrollLockButton.SetCheck(choices.toggleMethod == tavrilex::kToggleScrollLock);
    NumLockButton.SetCheck(choices.toggleMethod == tavrilex::kToggleNumLock);
    CtrlShiftCycledButton.SetCheck(choices.toggleMethod == tavrilex::kToggleCtrlShiftCycled);
    CtrlShiftLeftRightButton.SetCheck(choices.toggleMethod == tavrilex::kToggleCtrlShiftLeftRight);
    TypewriterButton.SetCheck(choices.layout == Layout::Typewriter);
    PhoneticButton.SetCheck(choices.layout == Layout::Phonetic);
}

void TVyrtelDlg::CmKoi8() { Show(Model.ChooseCoding(Coding::Koi8)); }
void TVyrtelDlg::CmCp1251() { Show(Model.ChooseCoding(Coding::Cp1251)); }
void TVyrtelDlg::CmDisable() { Show(Model.ChooseCoding(Coding::Disabled)); }

void TVyrtelDlg::CmCtrlShiftLeftRight() { Show(Model.ChooseToggleMethod(tavrilex::kToggleCtrlShiftLeftRight)); }
void TVyrtelDlg::CmScrollLock() { Show(Model.ChooseToggleMethod(tavrilex::kToggleScrollLock)); }
void TVyrtelDlg::CmNumLock() { Show(Model.ChooseToggleMethod(tavrilex::kToggleNumLock)); }
void TVyrtelDlg::CmCtrlShiftCycled() { Show(Model.ChooseToggleMethod(tavrilex::kToggleCtrlShiftCycled)); }

void TVyrtelDlg::CmPhonetic() { Show(Model.ChooseLayout(Layout::Phonetic)); }
void TVyrtelDlg::CmTypewriter() { Show(Model.ChooseLayout(Layout::Typewriter)); }

void TVyrtelDlg::CmMinimize() {
    // Exactly as the frame's own minimise button: WM_SYSCOMMAND SC_MINIMIZE.
    if (TApplication* app = Application()) {
        if (TWindow* main = app->MainWindow()) main->Show(SW_MINIMIZE);
    }
}

void TVyrtelDlg::CmAbout() {
    // A plain dialog: its button, Enter and Esc close it; the program waits.
    // A box that cannot be shown is a failure of the program's own files.
    TDialog about(this, IDD_ABOUT);
    if (about.RunModal() == -1) Application()->FailRun();
}

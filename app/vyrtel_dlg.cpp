#include "app/vyrtel_dlg.h"

#include "app/library_binding.h"
#include "hooklib/shared_state.h"
#include "layouts/builtin_tables.h"
#include "resource_ids.h"

namespace {

namespace layouts = vyrtel::layouts;

constexpr std::int32_t kCodingDisabled = 0;
constexpr std::int32_t kCodingKoi8 = 1;
constexpr std::int32_t kCodingCp1251 = 2;

constexpr std::int32_t kLayoutTypewriter = 0;
constexpr std::int32_t kLayoutPhonetic = 1;

// The toggle methods as the library numbers them.
using tavrilex::kToggleCtrlShiftCycled;
using tavrilex::kToggleCtrlShiftLeftRight;
using tavrilex::kToggleNumLock;
using tavrilex::kToggleScrollLock;

// The table of a coding (KOI8 or CP1251) in a layout; any layout but the
// typewriter one counts as phonetic.
const layouts::BuiltinTable& tableOf(std::int32_t coding, std::int32_t layout) {
    if (coding == kCodingKoi8) return layout == kLayoutTypewriter ? layouts::kKoi8Typewriter : layouts::kKoi8Phonetic;
    return layout == kLayoutTypewriter ? layouts::kCp1251Typewriter : layouts::kCp1251Phonetic;
}

const vyrtel::LibraryBinding& library() { return vyrtel::tavrilexLibrary; }

}  // namespace

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

TVyrtelDlg::TVyrtelDlg(TWindow* parent, int templateId, HINSTANCE module)
    : TDialog(parent, templateId, module),
      Coding(kCodingDisabled),
      ToggleMethod(0),
      Layout(kLayoutTypewriter),
      Koi8Button(new TRadioButton(this, IDC_KOI8)),
      Cp1251Button(new TRadioButton(this, IDC_CP1251)),
      DisableButton(new TRadioButton(this, IDC_DISABLE)),
      CtrlShiftLeftRightButton(new TRadioButton(this, IDC_CTRL_SHIFT_LEFT_RIGHT)),
      ScrollLockButton(new TRadioButton(this, IDC_SCROLL_LOCK)),
      NumLockButton(new TRadioButton(this, IDC_NUM_LOCK)),
      CtrlShiftCycledButton(new TRadioButton(this, IDC_CTRL_SHIFT_CYCLED)),
      PhoneticButton(new TRadioButton(this, IDC_PHONETIC)),
      TypewriterButton(new TRadioButton(this, IDC_TYPEWRITER)) {}

TVyrtelDlg::~TVyrtelDlg() {
    delete Koi8Button;
    delete Cp1251Button;
    delete DisableButton;
    delete CtrlShiftLeftRightButton;
    delete ScrollLockButton;
    delete NumLockButton;
    delete CtrlShiftCycledButton;
    delete PhoneticButton;
    delete TypewriterButton;
    Close(IDCANCEL);
}

bool TVyrtelDlg::Create() {
    const bool created = TDialog::Create();
    const vyrtel::LibraryBinding& lib = library();
    if (lib.Bound(lib.dllCtrl) && lib.Bound(lib.setToggler)) {
        Layout = kLayoutTypewriter;
        ShowLayout();
        // A hook left behind by an earlier copy that did not end in order
        // goes; the table it had stays in the library until a coding is chosen.
        Coding = kCodingDisabled;
        lib.dllCtrl(nullptr, 0);
        ShowCoding();
        ToggleMethod = lib.setToggler(kToggleCtrlShiftLeftRight);
        ShowToggleMethod();
    }
    return created;
}

// ---- what the marks show ----

void TVyrtelDlg::ShowCoding() {
    DisableButton->SetCheck(Coding == kCodingDisabled);
    Koi8Button->SetCheck(Coding == kCodingKoi8);
    Cp1251Button->SetCheck(Coding == kCodingCp1251);
}

void TVyrtelDlg::ShowToggleMethod() {
    ScrollLockButton->SetCheck(ToggleMethod == kToggleScrollLock);
    NumLockButton->SetCheck(ToggleMethod == kToggleNumLock);
    CtrlShiftCycledButton->SetCheck(ToggleMethod == kToggleCtrlShiftCycled);
    CtrlShiftLeftRightButton->SetCheck(ToggleMethod == kToggleCtrlShiftLeftRight);
}

void TVyrtelDlg::ShowLayout() {
    TypewriterButton->SetCheck(Layout == kLayoutTypewriter);
    PhoneticButton->SetCheck(Layout == kLayoutPhonetic);
}

// ---- choices ----

void TVyrtelDlg::ChooseCoding(std::int32_t coding) {
    const vyrtel::LibraryBinding& lib = library();
    if (!lib.Bound(lib.dllCtrl)) return;
    if (coding == kCodingDisabled) {
        lib.dllCtrl(nullptr, 0);
        Coding = kCodingDisabled;
    } else {
        const layouts::BuiltinTable& table = tableOf(coding, Layout);
        // Only an installed hook makes the coding current; the library has
        // stored the table either way.
        if (lib.dllCtrl(table.data(), layouts::kBuiltinEntryCount)) Coding = coding;
    }
    ShowCoding();
}

void TVyrtelDlg::ChooseToggleMethod(std::int32_t method) {
    const vyrtel::LibraryBinding& lib = library();
    if (!lib.Bound(lib.setToggler)) return;
    ToggleMethod = lib.setToggler(method);
    ShowToggleMethod();
}

void TVyrtelDlg::ChooseLayout(std::int32_t layout) {
    const vyrtel::LibraryBinding& lib = library();
    if (!lib.Bound(lib.dllCtrl)) return;
    Layout = layout;
    ShowLayout();
    // The library gets the new layout's table of the coding in force (or,
    // with none, the hook is removed once more).
    switch (Coding) {
        case kCodingDisabled: CmDisable(); break;
        case kCodingKoi8: CmKoi8(); break;
        case kCodingCp1251: CmCp1251(); break;
    }
}

void TVyrtelDlg::CmKoi8() { ChooseCoding(kCodingKoi8); }
void TVyrtelDlg::CmCp1251() { ChooseCoding(kCodingCp1251); }
void TVyrtelDlg::CmDisable() { ChooseCoding(kCodingDisabled); }

void TVyrtelDlg::CmCtrlShiftLeftRight() { ChooseToggleMethod(kToggleCtrlShiftLeftRight); }
void TVyrtelDlg::CmScrollLock() { ChooseToggleMethod(kToggleScrollLock); }
void TVyrtelDlg::CmNumLock() { ChooseToggleMethod(kToggleNumLock); }
void TVyrtelDlg::CmCtrlShiftCycled() { ChooseToggleMethod(kToggleCtrlShiftCycled); }

void TVyrtelDlg::CmPhonetic() { ChooseLayout(kLayoutPhonetic); }
void TVyrtelDlg::CmTypewriter() { ChooseLayout(kLayoutTypewriter); }

// ---- buttons ----

void TVyrtelDlg::CmMinimize() {
    // Exactly as the frame's own minimise button: WM_SYSCOMMAND SC_MINIMIZE.
    if (TApplication* app = Application()) {
        if (TWindow* main = app->MainWindow()) main->Show(SW_MINIMIZE);
    }
}

void TVyrtelDlg::CmAbout() {
    // A plain dialog: its button, Enter and Esc close it; the program waits.
    TDialog about(this, IDD_ABOUT);
    about.RunModal();
}

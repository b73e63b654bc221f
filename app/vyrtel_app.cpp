#include "app/vyrtel_app.h"

#include "app/frame_title.h"
#include "app/sdi_dec_frame.h"
#include "resource_ids.h"

namespace {

// The frame's style: these bits are set, then those are cleared, leaving a
// visible, captioned window with a system menu and a minimise box that can
// be neither resized nor maximised (0x124A0000 from the default style).
constexpr DWORD kFrameStyleSet = WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFrameStyleCleared = WS_CHILD | WS_BORDER | WS_THICKFRAME | WS_MAXIMIZEBOX;
static_assert(kFrameStyleSet == 0x12CA0000 && ~kFrameStyleCleared == 0xBF7AFFFF);

}  // namespace

TVyrtelApp::TVyrtelApp() : TApplication("Vyrtel") {}

TVyrtelApp::~TVyrtelApp() {
    // Whether or not a coding was ever chosen, no hook outlives the program;
    // the binding then unloads the library.
    if (library_.Bound()) model_.End();
}

bool TVyrtelApp::InitializeInstance() {
    using Outcome = vyrtel::LibraryBinding::Outcome;
    switch (library_.Bind()) {
        case Outcome::Bound:
            return TApplication::InitializeInstance();
        case Outcome::NotFound:
            ShowMessageBox(nullptr, "Could not load 'Tavrilex.dll' ", "DLL Not Found", MB_ICONHAND);
            return false;
        case Outcome::Corrupted:
            ShowMessageBox(nullptr, "Corrupted 'Tavrilex.dll'", "DLL Corrupted", MB_ICONHAND);
            return false;
        case Outcome::Refused:
            // Another copy runs, and the library has brought its window forward.
            return false;
    }
    return false;
}

void TVyrtelApp::BuildMainWindow() {
    // Only hidden and minimised-inactive starts are honoured: the frame is
    // never maximised, and any other request shows it normally.
    const int requested = ShowCommand();
    if (requested != SW_HIDE && requested != SW_SHOWMINNOACTIVE) SetShowCommand(SW_SHOWNORMAL);

    auto* frame = new TSDIDecFrame(nullptr, vyrtel::kFrameTitle, library_, model_);
    frame->SetShrinkToClient(true);
    frame->SetStyle(frame->Style() | kFrameStyleSet);
    frame->SetStyle(frame->Style() & ~kFrameStyleCleared);
    frame->SetLargeIcon(Instance(), IDI_VYRTEL);
    frame->SetSmallIcon(Instance(), IDI_VYRTEL);
    delete SetMainWindow(frame);  // there was none before

    // The control dialog's template names the custom-control classes.
    EnableCustomControls(0);
}

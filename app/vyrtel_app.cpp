#include "app/vyrtel_app.h"

#include "app/library_binding.h"
#include "app/sdi_dec_frame.h"
#include "resource_ids.h"

namespace {

namespace api = tavrilex::api;

constexpr int kFailedStartCode = 1;

// The frame's style: these bits are set, then those are cleared, leaving a
// visible, captioned window with a system menu and a minimise box that can
// be neither resized nor maximised (0x124A0000 from the default style).
constexpr DWORD kFrameStyleSet = WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFrameStyleCleared = WS_CHILD | WS_BORDER | WS_THICKFRAME | WS_MAXIMIZEBOX;
static_assert(kFrameStyleSet == 0x12CA0000 && ~kFrameStyleCleared == 0xBF7AFFFF);

// GetProcAddress's result as the entry's real type.
template <class Entry>
void bindEntry(Entry& entry, HMODULE module, const char* name) {
    entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

TVyrtelApp::TVyrtelApp() : TApplication("Vyrtel") {
    vyrtel::LibraryBinding& library = vyrtel::tavrilexLibrary;
    library.module = LoadLibraryA(api::kLibraryName);
    if (!library.module) {
        ShowMessageBox(nullptr, "Could not load 'Tavrilex.dll' ", "DLL Not Found", MB_ICONHAND);
        PostQuitMessage(kFailedStartCode);
        return;
    }

    // In this order; the hook procedure itself is never looked up.
    bindEntry(library.dllCtrl, library.module, api::kDllCtrl);
    bindEntry(library.dllReg, library.module, api::kDllReg);
    bindEntry(library.dllLock, library.module, api::kDllLock);
    bindEntry(library.setToggler, library.module, api::kSetToggler);
    bindEntry(library.setBeeper, library.module, api::kSetBeeper);
    if (!library.dllCtrl || !library.dllReg || !library.dllLock || !library.setToggler || !library.setBeeper) {
        // Unloaded before the user is told, so nothing of it runs meanwhile.
        Unbind();
        ShowMessageBox(nullptr, "Corrupted 'Tavrilex.dll'", "DLL Corrupted", MB_ICONHAND);
        PostQuitMessage(kFailedStartCode);
        return;
    }

    if (!library.dllLock(library.module)) {
        // Another copy runs, and the library has brought its window forward.
        Unbind();
        PostQuitMessage(kFailedStartCode);
    }
}

TVyrtelApp::~TVyrtelApp() {
    const vyrtel::LibraryBinding& library = vyrtel::tavrilexLibrary;
    if (!library.module) return;
    // Whether or not a coding was ever chosen, no hook outlives the program.
    if (library.dllCtrl) library.dllCtrl(nullptr, 0);
    // Cleared as well as freed: the frame and dialog objects, deleted after
    // this by the framework, must not find entries into an unloaded image.
    Unbind();
}

void TVyrtelApp::Unbind() {
    vyrtel::LibraryBinding& library = vyrtel::tavrilexLibrary;
    if (library.module) FreeLibrary(library.module);
    library = vyrtel::LibraryBinding{};
}

void TVyrtelApp::BuildMainWindow() {
    // Only hidden and minimised-inactive starts are honoured: the frame is
    // never maximised, and any other request shows it normally.
    const int requested = ShowCommand();
    if (requested != SW_HIDE && requested != SW_SHOWMINNOACTIVE) SetShowCommand(SW_SHOWNORMAL);

    auto* frame = new TSDIDecFrame(nullptr, "Vyrtel");
    frame->SetShrinkToClient(true);
    frame->SetStyle(frame->Style() | kFrameStyleSet);
    frame->SetStyle(frame->Style() & ~kFrameStyleCleared);
    frame->SetLargeIcon(Instance(), IDI_VYRTEL);
    frame->SetSmallIcon(Instance(), IDI_VYRTEL);
    delete SetMainWindow(frame);  // there was none before

    // The control dialog's template names the custom-control classes.
    EnableCustomControls(0);
}

void TVyrtelApp::InitializeInstance() { TApplication::InitializeInstance(); }

int TVyrtelApp::TerminateInstance(int quitCode) { return TApplication::TerminateInstance(quitCode); }

#include "app/sdi_dec_frame.h"

#include "app/library_binding.h"
#include "app/vyrtel_dlg.h"
#include "resource_ids.h"

TSDIDecFrame::TSDIDecFrame(TWindow* parent, const char* title, TWindow* client, bool /*trackMenuSelection*/,
                           HINSTANCE /*module*/)
    : TDecoratedFrame(parent, title, client ? client : new TVyrtelDlg(nullptr, IDD_CONTROL)) {}

TSDIDecFrame::~TSDIDecFrame() = default;

bool TSDIDecFrame::Create() {
    const vyrtel::LibraryBinding& library = vyrtel::tavrilexLibrary;
    if (!library.module) return false;
    const bool created = TDecoratedFrame::Create();
    // The library keeps this handle to bring the frame forward when the
    // program is started again.
    if (library.Bound(library.dllReg)) library.dllReg(Handle());
    return created;
}

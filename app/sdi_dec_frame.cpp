#include "app/sdi_dec_frame.h"

#include "app/vyrtel_dlg.h"
#include "resource_ids.h"

TSDIDecFrame::TSDIDecFrame(TWindow* parent, const char* title, vyrtel::LibraryBinding& library,
                           vyrtel::ControlModel& model)
    : TDecoratedFrame(parent, title, new TVyrtelDlg(nullptr, IDD_CONTROL, model)), library_(library) {}

TSDIDecFrame::~TSDIDecFrame() = default;

bool TSDIDecFrame::Create() {
    if (!TDecoratedFrame::Create()) return false;
    // The library keeps this handle to bring the frame forward when the
    // program is started again.
    library_.RegisterWindow(Handle());
    return true;
}

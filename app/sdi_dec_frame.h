// TSDIDecFrame: the program's main window, a fixed-size frame whose whole
// client area is the control dialog. It is the window that a second start
// of the program brings to the front, so it registers itself with the
// library as soon as it exists.
#pragma once

#include "app/control_model.h"
#include "app/library_binding.h"
#include "framework/framework.h"

class TSDIDecFrame : public TDecoratedFrame {
public:
    // Makes the control dialog (template 2000, the application's module)
    // over `model` its client. `library` must stay bound while the frame
    // has a window.
    TSDIDecFrame(TWindow* parent, const char* title, vyrtel::LibraryBinding& library, vyrtel::ControlModel& model);
    ~TSDIDecFrame() override;

    // Creates the frame with its dialog, then registers the frame's window
    // with the library (DllReg). True once the window exists.
    bool Create() override;

private:
    vyrtel::LibraryBinding& library_;
};

// TSDIDecFrame: the program's main window, a fixed-size frame whose whole
// client area is the control dialog. It is the window that a second start
// of the program brings to the front, so it registers itself with the
// library as soon as it exists.
#pragma once

#include "framework/framework.h"

class TSDIDecFrame : public TDecoratedFrame {
public:
    // Without a client, the frame makes the control dialog (template 2000,
    // the application's module) its client. The framework's frames track no
    // menu selection and take their resources from the application's
    // module, so `trackMenuSelection` and `module` change nothing.
    TSDIDecFrame(TWindow* parent, const char* title, TWindow* client = nullptr, bool trackMenuSelection = false,
                 HINSTANCE module = nullptr);
    ~TSDIDecFrame() override;

    // Creates no window while Tavrilex.dll is not loaded (a failed start).
    // Otherwise creates the frame with its dialog, then registers the
    // frame's window with the library (DllReg). True once the window exists;
    // a failure to create it is the framework's error.
    bool Create() override;
};

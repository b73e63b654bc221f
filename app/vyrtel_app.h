// TVyrtelApp: the application object of Vyrtel.exe. It owns the binding to
// Tavrilex.dll and the control model over it, and hands both on by
// reference to the frame it builds.
//
// The start binds the library first (load by file name, the five control
// exports by name, then the single-instance lock). A failed start shows
// why (a missing or incomplete library; a refused lock is silent because
// the library has brought the running copy forward) and ends the run with
// exit code 1 before any window object is built. Destruction removes the
// hook and unloads the library before the framework deletes the frame and
// the dialog.
#pragma once

#include "app/control_model.h"
#include "app/library_binding.h"
#include "framework/framework.h"

class TVyrtelApp : public TApplication {
public:
    TVyrtelApp();
    ~TVyrtelApp() override;

protected:
    // Binds the library; only then what the framework does, which builds
    // the main window.
    bool InitializeInstance() override;

    // The main-window step: the frame with the control dialog as client,
    // its style, icons and fitting, made the main window; then the custom
    // controls, before any window exists.
    void BuildMainWindow() override;

private:
    vyrtel::LibraryBinding library_;
    vyrtel::ControlModel model_{library_, &library_};
};

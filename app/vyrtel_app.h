// TVyrtelApp: the application object of Vyrtel.exe.
//
// Construction binds Tavrilex.dll (load by file name, the five control
// exports by name, then the single-instance lock). A failed start leaves
// the binding null, shows why (a missing or incomplete library; a refused
// lock is silent because the library has brought the running copy forward)
// and posts a quit request with code 1, so that Run ends with 1 without
// ever showing the frame (TSDIDecFrame creates no window while the library
// is not loaded). Destruction removes the hook and unloads the library
// before the framework deletes the frame and the dialog.
#pragma once

#include "framework/framework.h"

class TVyrtelApp : public TApplication {
public:
    TVyrtelApp();
    ~TVyrtelApp() override;

protected:
    // The main-window step: the frame with the control dialog as client,
    // its style, icons and fitting, made the main window; then the custom
    // controls, before any window exists.
    void BuildMainWindow() override;

    // Both only do what the framework does.
    void InitializeInstance() override;
    int TerminateInstance(int quitCode) override;

private:
    // Frees the library and clears the whole binding.
    static void Unbind();
};

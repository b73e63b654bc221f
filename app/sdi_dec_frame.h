// TSDIDecFrame: the program's main window, a fixed-size frame whose whole
// client area is the control dialog. It is the window that a second start
// of the program brings to the front, so it registers itself with the
// library as soon as it exists.
//
// It also owns the notification-area icon, which shows the typing mode
// while the window exists. It follows the model (it is the model's
// observer), and the model learns of each switch made by typing in any
// program from the library's mode message, posted to this window. A click
// on the icon brings the frame forward; its menu chooses a coding through
// the same model as the dialog, "Show layout" opens the layout window (which
// follows the model too), "Mend words automatically" turns the library's
// automatic mend on and off (checked while on), and "Exit" acts as the
// dialog's Exit.
// The library's request to mend the selected text (Shift+Pause) starts
// the selection mender with the table in force.
#pragma once

#include "app/control_model.h"
#include "app/layout_window.h"
#include "app/library_binding.h"
#include "app/selection_mend/selection_mender.h"
#include "app/tray_icon.h"
#include "framework/framework.h"

class TVyrtelDlg;

class TSDIDecFrame : public TDecoratedFrame, private vyrtel::ModelObserver {
public:
    // Makes the control dialog (template 2000, the application's module)
    // over `model` its client. `library` must stay bound while the frame
    // has a window.
    TSDIDecFrame(TWindow* parent, const char* title, vyrtel::LibraryBinding& library, vyrtel::ControlModel& model);
    ~TSDIDecFrame() override;

    // Creates the frame with its dialog, then registers the frame's window
    // with the library (DllReg) and shows the icon. True once the window
    // exists.
    bool Create() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ModelChanged(const vyrtel::ControlModel& model) override;

    // Restores the frame if minimised, shows it if hidden, and brings it to
    // the front.
    void BringForward();
    void OnIconMouse(UINT mouseMessage);
    void ShowIconMenu();

    vyrtel::LibraryBinding& library_;
    vyrtel::ControlModel& model_;
    TVyrtelDlg* dialog_;
    vyrtel::TrayIcon icon_;
    vyrtel::LayoutWindow layoutWindow_;
    vyrtel::SelectionMender mender_;
    const UINT modeMessage_;
    const UINT mendMessage_;
    const UINT taskbarCreated_;
    // Whether words are mended by themselves: off at every start (the
    // library clears it when this copy takes the lock).
    bool autoMend_ = false;
};

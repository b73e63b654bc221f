// TDialog: a dialog built from a dialog template resource, used modeless
// (Create, e.g. as a frame's client) or modal (RunModal).
//
// Its window is made through the custom-control library's
// CreateDialogParamA / DialogBoxParamA (bound at load time from
// BWCC32.DLL), so templates may name that library's classes; before each
// creation the application lets the library register its classes again.
// When the window exists (WM_INITDIALOG) the dialog sets itself up: child
// objects such as TRadioButton attach to the template's controls.
//
// Response table: IDOK runs CmOk and IDCANCEL runs CmCancel, which close
// the dialog with that code. A derived table may take over either id.
// Messages the dialog does not handle (e.g. WM_DRAWITEM of an owner-drawn
// control without an object) go to the dialog window class's default
// handling. A modeless dialog's keyboard interface (Tab, arrows, Enter for
// the default push button, Esc for IDCANCEL) comes from IsDialogMessageA,
// which the application's message loop calls through PreProcessMessage.
#pragma once

#include "framework/window.h"

class TDialog : public TWindow {
public:
    // `parent`: the parent object (null for none; a frame's client is
    // adopted by the frame). `templateId`: the dialog resource. `module`:
    // where the template is (null: the application's module).
    TDialog(TWindow* parent, int templateId, HINSTANCE module = nullptr);

    int TemplateId() const { return templateId_; }

    // Creates the modeless dialog window (a child or owned window of the
    // parent's window, as the template's style says) and returns true once
    // it exists. False, with the reason recorded, when it could not be made
    // ("Could not create dialog N": the template or one of its window
    // classes is missing) or could not set itself up. Derived classes
    // extend it: call the base, then set the controls.
    bool Create() override;

    // Runs the dialog modally, owned by the parent's window, and returns the
    // code it was closed with (IDOK, IDCANCEL, ...) once it is closed; -1
    // when it could not be made or set up (the reason recorded as for
    // Create), or when the run failed while it was open
    // (TApplication::FailRun), which closes it at once.
    int RunModal();

    bool IsModal() const { return modal_; }

    // Closes the dialog with `code`: a modal dialog ends its modal loop with
    // it, a modeless one destroys its window. Nothing without a window.
    void Close(int code);

    DECLARE_COMMAND_TABLE();

    void CmOk();      // IDOK: Close(IDOK)
    void CmCancel();  // IDCANCEL: Close(IDCANCEL)

    // A modeless dialog hands its and its controls' messages to
    // IsDialogMessageA.
    bool PreProcessMessage(MSG& message) override;

protected:
    // This dialog's messages; TRUE when handled, FALSE for the dialog
    // class's default handling. The base sets up on WM_INITDIALOG, routes
    // WM_COMMAND and notes the window's destruction.
    virtual INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Makes the window from the template, modeless or modal: both ways go
    // through the custom-control library with the same preparation and the
    // same account of failure. Returns -1 on failure; otherwise 0 for a
    // modeless window, the closing code for a modal one.
    INT_PTR MakeWindow(bool modal);

    static INT_PTR CALLBACK StandardDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    bool modal_ = false;
};

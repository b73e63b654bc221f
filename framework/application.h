// TApplication: the application object. One per program, made in main() as
// a local object (the C runtime's start-up code calls main; the framework
// has no entry point of its own):
//
//     int main(int, char**) {
//         TMyApp app;          // derived from TApplication
//         return app.Run();    // the process exit code
//     }
//
// Run() performs per-instance initialisation (which calls the derived
// class's BuildMainWindow), runs the message loop until a quit request and
// returns what per-instance termination makes of the quit code.
//
// A failure of the framework (see framework_error.h) that ends the run -
// in per-instance initialisation, in the message loop, or handed over by
// FailRun - is shown in a message box with the application's name as
// caption and the stop icon; the run then ends with exit code 1
// (kFailureExitCode).
#pragma once

#include <windows.h>

#include "framework/custom_controls.h"
#include "framework/owned_text.h"

class TWindow;

class TApplication {
public:
    static constexpr int kFailureExitCode = 1;

    // `name`: the module name and the default caption of message boxes.
    // Reads the instance handle and the show command the program was
    // started with (STARTUPINFO, or SW_SHOWDEFAULT). There is one
    // application object per process.
    explicit TApplication(const char* name);

    // Deletes the main window object (destroying its window, if any, and
    // with it the client), then ends the custom-control library
    // (BWCCIntlTerm) and unloads it: windows of its classes are gone before
    // its code is.
    virtual ~TApplication();

    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // The application object of this process, or null.
    static TApplication* Current();

    const char* Name() const { return name_.c_str(); }

    // The module from which the program's resources are loaded.
    HINSTANCE Instance() const { return instance_; }

    // The show command for the main window: received at start; may be read
    // and changed before Run shows the main window.
    int ShowCommand() const { return showCommand_; }
    void SetShowCommand(int command) { showCommand_ = command; }

    // Runs the application: if there is no main window yet, per-instance
    // initialisation; then the message loop until a quit request; then
    // per-instance termination with the quit code, whose result is returned.
    // Each queued message is first offered, through PreProcessMessage, to
    // the object of the window it is addressed to and then to those of that
    // window's ancestors (a modeless dialog uses it for keyboard navigation).
    // A failed start, or a failure during the loop (FailRun), ends the run:
    // termination then gets kFailureExitCode.
    int Run();

    // Ends the run because a step failed that has nobody to pass the
    // failure on to (a command handler's, say): a modal dialog that is open
    // ends at once (its RunModal returns -1), the message loop ends, the
    // reason the step recorded (framework::failureReason) is shown in a stop
    // box, and Run ends with kFailureExitCode. Once is enough; later calls
    // change nothing.
    void FailRun();
    bool RunFailed() const { return runFailed_; }

    // The main window object, or null. The application owns it and deletes
    // it when it is destroyed itself.
    TWindow* MainWindow() const { return mainWindow_; }

    // Makes `window` the main window and returns the previous one (null when
    // there was none or it is the same), whose ownership goes back to the
    // caller. The main window's extended style
    // gains WS_EX_APPWINDOW; when its window is destroyed while the message
    // loop runs, the framework posts a quit request with code 0.
    TWindow* SetMainWindow(TWindow* window);

    // Enables the custom-control library: loads "BWCC32.DLL" (once), calls
    // its BWCCIntlInit(language) and BWCCRegister(Instance()). From then on
    // BWCCRegister is called again before each dialog is created, and
    // message boxes go through BWCCMessageBox. Call it before creating any
    // window whose template names the library's classes. Returns whether the
    // library is loaded. No call into the library is checked.
    bool EnableCustomControls(unsigned language = 0);
    bool CustomControlsEnabled() const { return customControls_.Enabled(); }

    // Shows a message box and returns the button pressed (IDOK, ...), or 0
    // when the box could not be shown. `owner` may be null; `caption` null
    // means the application's name. Without an owner and without
    // MB_SYSTEMMODAL the type gains MB_TASKMODAL. The box is the platform's
    // (MessageBoxExA, language 0) until the custom-control library is
    // enabled, that library's BWCCMessageBox afterwards.
    int ShowMessageBox(HWND owner, const char* text, const char* caption = nullptr, UINT type = MB_OK);

    // Called by the framework before each dialog window is created: lets
    // the custom-control library (when enabled) register its classes again.
    void RegisterCustomControlClasses() const;

protected:
    // Per-instance initialisation, called once by Run when there is no main
    // window: calls BuildMainWindow, makes sure the main window is marked as
    // such, asks it to create its window and shows it with ShowCommand().
    // False means the application cannot start: Run then ends with
    // kFailureExitCode at once, without a message loop. The base reports
    // its own failures (no main window, a main window that could not be
    // created) in a stop box before it returns false; an extension that
    // refuses to start says why itself, or nothing. Extensions call the
    // base.
    virtual bool InitializeInstance();

    // The main-window step: derived classes build their main window object
    // here and pass it to SetMainWindow. The base builds none.
    virtual void BuildMainWindow();

    // Per-instance termination, called by Run with the quit code (or
    // kFailureExitCode after a failure); its result is Run's. The base
    // returns the code unchanged.
    virtual int TerminateInstance(int quitCode);

private:
    friend class TWindow;
    int MessageLoop();
    bool PreProcess(MSG& message);
    // Shows framework::failureReason() in a stop box.
    void ReportFailure();
    void MainWindowDestroyed(const TWindow* window) const;
    void MainWindowDeleted(const TWindow* window);

    framework::OwnedText name_;
    HINSTANCE instance_;
    int showCommand_;
    TWindow* mainWindow_ = nullptr;
    bool loopRunning_ = false;
    bool runFailed_ = false;
    framework::CustomControlLibrary customControls_;
};

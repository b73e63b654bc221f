// TWindow: the C++ object behind one window, and the root of the framework's
// window classes.
//
// An object exists before and after its window. Construct it, set its
// attributes (style, extended style), then Create() makes the window; the
// object then receives the window's messages through WindowProc. Window
// objects form a tree: a parent creates its children's windows while its own
// window is being set up (SetUp), and a child's object is offered the
// notifications it sends its parent before the parent looks them up.
//
// Errors: Create() returns false when the platform refuses, with the
// reason recorded (framework_error.h). Everything runs on the application's
// one user-interface thread.
#pragma once

#include <windows.h>

#include "framework/command_table.h"
#include "framework/handle_registry.h"
#include "framework/owned_text.h"

class TApplication;

class TWindow {
public:
    // A window object without a window. `parent` (may be null) becomes the
    // parent object: when its window is set up it creates this one's.
    // `title`: the window text (copied). `module`: where this window's
    // resources come from; null means the application's module.
    explicit TWindow(TWindow* parent, const char* title = nullptr, HINSTANCE module = nullptr);

    // Destroys the window if it still exists (without the object seeing the
    // messages of its destruction) and unlinks the object from its parent
    // and children. Child objects are not deleted: whoever made them owns
    // them.
    virtual ~TWindow();

    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    // Creates the window and returns true once it exists (at once when it
    // already does). This base version registers the framework's window
    // class "FrameworkWindow" in the module (once) and creates an
    // overlapped, pop-up or child window from the attributes; SetUp runs
    // during WM_CREATE. False, with the reason recorded, when the class
    // cannot be registered, the window cannot be created or setting it up
    // failed (no window is left then). Derived classes extend it: call the
    // base, then work on the window.
    virtual bool Create();

    // The window, or null while none exists.
    HWND Handle() const { return handle_; }

    // The object of a window created or attached by the framework, or null.
    static TWindow* FromHandle(HWND handle);

    TWindow* Parent() const { return parent_; }

    // Moves this object under another parent object (or none). Used before
    // the window exists (a frame adopts its client this way).
    void SetParent(TWindow* parent);

    // The module of this window's resources (the application's by default).
    HINSTANCE Module() const;

    // The application object (TApplication::Current()), or null.
    TApplication* Application() const;

    const char* Title() const { return title_.c_str(); }

    // Style and extended style: the creation attributes before the window
    // exists; afterwards they read and write the window's own.
    DWORD Style() const;
    void SetStyle(DWORD style);
    DWORD ExStyle() const;
    void SetExStyle(DWORD exStyle);

    // Shows the window with a SW_* command. SW_MINIMIZE is carried out as
    // WM_SYSCOMMAND SC_MINIMIZE, exactly as the title bar's minimise button
    // does it; other commands go to ShowWindow. Without a window the command
    // only decides whether the window will be created visible (SW_HIDE: no).
    void Show(int command);

    // Asked before the window is closed (WM_CLOSE); false keeps it open.
    // The base answers true.
    virtual bool MayClose();

    // The response-table lookup: runs this object's handler for a command
    // (menu, accelerator or control id) and returns true, or returns false
    // when no table in the class chain has one. TWindow has no entries.
    // Classes with a table override it through DECLARE_COMMAND_TABLE().
    virtual bool DispatchCommand(unsigned commandId);

    // Called on the object of a control when the control sends its parent a
    // WM_COMMAND notification (a click: BN_CLICKED), before the parent's
    // response table is searched. True consumes the notification; the base
    // returns false, so the parent's table always gets it.
    virtual bool ControlNotification(unsigned notifyCode);

    // Called by the application's message loop for each queued message
    // addressed to this window or to one of its descendants, before the
    // message is translated and dispatched. True means it has been handled
    // here and must not be dispatched. The base handles nothing.
    virtual bool PreProcessMessage(MSG& message);

protected:
    using Registry = framework::HandleRegistry<HWND, TWindow>;
    using Parking = framework::ParkingScope<Registry, TWindow>;

    // The window exists (called during WM_CREATE, or WM_INITDIALOG for a
    // dialog): creates the windows of the child objects that have none yet,
    // in the order the children were added. Extend it to set the window up
    // further. False, with the reason recorded (framework::fail), makes the
    // creation fail.
    virtual bool SetUp();

    // Runs SetUp and remembers whether it failed, for the creation call to
    // see: TakeSetUpFailure answers once and forgets.
    bool SetUpWindow();
    bool TakeSetUpFailure();

    // This window's messages. The base sets the window up on WM_CREATE,
    // routes WM_COMMAND (control object first, then DispatchCommand), ends
    // the application's message loop when the main window is destroyed, and
    // leaves everything else to DefaultProcessing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The platform's default handling of a message (DefWindowProcA).
    LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);

    // Routes a WM_COMMAND: offered to the sending control's object, then, if
    // it is a command (see command_table.h), looked up in the response
    // tables. True when somebody handled it.
    bool RouteCommand(WPARAM wParam, LPARAM lParam);

    // To be called on WM_DESTROY: the main window's destruction while the
    // message loop runs posts a quit request with code 0.
    void WindowDestroying();

    // Binds an existing window to this object / unbinds it (the window is
    // left alone). Detaching also detaches children whose windows are gone.
    void Attach(HWND handle);
    void Detach();

    // Detaches and destroys the window, if any; the object sees none of the
    // messages of the destruction.
    void DestroyOwnWindow();

    static Registry& registry();

    // The application's instance handle (or this module's) for creation.
    HINSTANCE InstanceForCreation() const;

private:
    static LRESULT CALLBACK StandardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool RegisterWindowClass() const;
    // Detaches the children whose windows are gone.
    void DetachDeadChildren();

    static Registry windows_;

    HWND handle_ = nullptr;
    TWindow* parent_ = nullptr;
    // The children in the order they were added: the first, then each
    // one's next sibling.
    TWindow* firstChild_ = nullptr;
    TWindow* nextSibling_ = nullptr;
    framework::OwnedText title_;
    HINSTANCE module_;
    DWORD style_ = WS_OVERLAPPEDWINDOW;
    DWORD exStyle_ = 0;
    bool setUpFailed_ = false;
};

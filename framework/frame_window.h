// TFrameWindow: a top-level frame whose client area is taken by one client
// window object (typically a modeless dialog).
//
// - The frame adopts its client: it becomes the client's parent and owner
//   (deletes it), and creates the client's window while its own is set up.
// - Default style WS_OVERLAPPEDWINDOW | WS_VISIBLE, plus WS_CLIPCHILDREN
//   when it has a client; default position and size CW_USEDEFAULT.
// - Shrink-to-client: when set up, the frame fits itself to its client. A
//   framed or pop-up client becomes a visible child with a thin border (see
//   style_rules.h); the frame's client area is made exactly the client's
//   content as created (for a dialog: the size its template designed, not
//   enlarged by the caption it loses) when the client ends up bordered, or
//   its whole window otherwise, keeping the frame's position and z-order,
//   without activating it. The client is then
//   laid out; a bordered client's border lies just outside the frame's
//   client area, so its whole content shows. Later size changes only lay
//   the client out again. Without shrink-to-client the client fills the
//   frame's client area.
// - WM_CLOSE asks MayClose (the frame's, which asks the client's) and
//   destroys the window. When the client's window is destroyed (its
//   WM_PARENTNOTIFY), the frame posts itself WM_CLOSE.
// - Focus: when a window inside the frame has the focus as the frame is
//   deactivated, minimised or hidden, or hands the focus to the frame
//   itself, the frame remembers it; when the frame itself gets the focus it
//   passes it on to that window, or to the client when none is remembered
//   (or the remembered one is gone).
#pragma once

#include "framework/window.h"

class TFrameWindow : public TWindow {
public:
    // `parent`: null for a top-level frame. `client`: the client window
    // object (may be null), adopted by the frame.
    TFrameWindow(TWindow* parent, const char* title, TWindow* client = nullptr);

    // Destroys the window, then deletes the client object.
    ~TFrameWindow() override;

    TWindow* Client() const { return client_; }

    // Whether the frame fits itself to its client; set it before Create.
    bool ShrinkToClient() const { return shrinkToClient_; }
    void SetShrinkToClient(bool on);

    // The frame's icons, from icon resource `resourceId` of `module` (null:
    // the application's). The large one has the platform's standard icon
    // size. The small one has the small-icon size (SM_CXSMICON x
    // SM_CYSMICON), or the standard size when that load fails, and is set
    // only on platform version 4 or later. Both go to the window with
    // WM_SETICON when it is set up (at once when it exists).
    void SetLargeIcon(HINSTANCE module, int resourceId);
    void SetSmallIcon(HINSTANCE module, int resourceId);

    // The client's answer (true without a client).
    bool MayClose() override;

protected:
    // Creates the client's window, applies the icons, then fits to or lays
    // out the client.
    bool SetUp() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Places the client in the client area (see above).
    void LayoutClient();

private:
    void FitToClient();
    void ApplyIcons();
    void RememberFocus();
    void PassFocusOn();
    void ReplaceIcon(HICON& slot, bool& owned, HICON icon, bool owns, WPARAM which);

    TWindow* client_;
    bool shrinkToClient_ = false;
    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    bool ownsSmallIcon_ = false;
    bool ownsLargeIcon_ = false;
    HWND focusToRestore_ = nullptr;
};

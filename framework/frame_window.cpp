#include "framework/frame_window.h"

#include "framework/fitting.h"
#include "framework/style_rules.h"

namespace {

framework::Size sizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

framework::Size clientSize(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return sizeOf(rect);
}

framework::Size windowSize(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return sizeOf(rect);
}

// Non-client thickness of `window` on each side.
framework::Insets insetsOf(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    RECT inner;
    GetClientRect(window, &inner);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return {origin.x - outer.left, origin.y - outer.top, outer.right - (origin.x + inner.right),
            outer.bottom - (origin.y + inner.bottom)};
}

bool platformHasSmallIcons() { return LOBYTE(LOWORD(GetVersion())) >= 4; }

}  // namespace

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* client)
    : TWindow(parent, title), client_(client) {
    SetStyle(framework::frameDefaultStyle(client != nullptr));
    if (client_) client_->SetParent(this);
}

TFrameWindow::~TFrameWindow() {
    DestroyOwnWindow();
    delete client_;
    if (ownsLargeIcon_) DestroyIcon(largeIcon_);
    if (ownsSmallIcon_) DestroyIcon(smallIcon_);
}

void TFrameWindow::SetShrinkToClient(bool on) {
    shrinkToClient_ = on;
    if (Handle() && client_ && client_->Handle()) on ? FitToClient() : LayoutClient();
}

void TFrameWindow::ReplaceIcon(HICON& slot, bool& owned, HICON icon, bool owns, WPARAM which) {
    HICON old = slot;
    const bool ownedOld = owned;
    slot = icon;
    owned = owns;
    if (Handle()) SendMessageA(Handle(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    if (ownedOld && old && old != icon) DestroyIcon(old);
}

void TFrameWindow::SetLargeIcon(HINSTANCE module, int resourceId) {
    if (!module) module = Module();
    ReplaceIcon(largeIcon_, ownsLargeIcon_, LoadIconA(module, MAKEINTRESOURCEA(resourceId)), false, ICON_BIG);
}

void TFrameWindow::SetSmallIcon(HINSTANCE module, int resourceId) {
    if (!platformHasSmallIcons()) return;
    if (!module) module = Module();
    HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    const bool owns = icon != nullptr;  // LoadImage without LR_SHARED: ours to destroy
    if (!icon) icon = LoadIconA(module, MAKEINTRESOURCEA(resourceId));
    ReplaceIcon(smallIcon_, ownsSmallIcon_, icon, owns, ICON_SMALL);
}

void TFrameWindow::ApplyIcons() {
    if (largeIcon_) SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    if (smallIcon_) SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

bool TFrameWindow::MayClose() { return client_ ? client_->MayClose() : true; }

bool TFrameWindow::SetUp() {
    if (!TWindow::SetUp()) return false;
    ApplyIcons();
    if (!client_ || !client_->Handle()) return true;
    if (shrinkToClient_) {
        FitToClient();
    } else {
        LayoutClient();
    }
    // A client is there to be seen, whatever its template said (a fitted
    // client has WS_VISIBLE in its new style anyway).
    HWND client = client_->Handle();
    if (!(GetWindowLongA(client, GWL_STYLE) & WS_VISIBLE)) ShowWindow(client, SW_SHOWNA);
    return true;
}

void TFrameWindow::FitToClient() {
    HWND client = client_->Handle();
    const DWORD style = static_cast<DWORD>(GetWindowLongA(client, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(client, GWL_EXSTYLE));
    const framework::ClientStyle fitted = framework::fittedClientStyle(style, exStyle);
    // Measured as the client was made: its content is what its template
    // designed, before losing its caption and frame would enlarge it.
    const framework::Size target =
        framework::fitTarget((fitted.style & WS_BORDER) != 0, windowSize(client), clientSize(client));
    if (fitted.style != style || fitted.exStyle != exStyle) {
        // WS_VISIBLE is the platform's to set (by showing), not ours to write.
        SetWindowLongA(client, GWL_STYLE, static_cast<LONG>((fitted.style & ~WS_VISIBLE) | (style & WS_VISIBLE)));
        SetWindowLongA(client, GWL_EXSTYLE, static_cast<LONG>(fitted.exStyle));
        if (fitted.becameChild) ::SetParent(client, Handle());
        SetWindowPos(client, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A second round only when the frame's own non-client parts changed
    // with its size (a wrapping caption or menu).
    for (int round = 0; round < 2 && clientSize(Handle()) != target; ++round) {
        const framework::Size outer = framework::frameSizeFor(windowSize(Handle()), clientSize(Handle()), target);
        SetWindowPos(Handle(), nullptr, 0, 0, outer.width, outer.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayoutClient();
}

void TFrameWindow::LayoutClient() {
    if (!Handle() || !client_ || !client_->Handle()) return;
    HWND client = client_->Handle();
    const bool borderOutside = shrinkToClient_ && (GetWindowLongA(client, GWL_STYLE) & WS_BORDER);
    const framework::Rect place = framework::clientPlacement(clientSize(Handle()), insetsOf(client), borderOutside);
    SetWindowPos(client, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFrameWindow::RememberFocus() {
    HWND focus = GetFocus();
    if (focus && focus != Handle() && IsChild(Handle(), focus)) focusToRestore_ = focus;
}

void TFrameWindow::PassFocusOn() {
    if (IsIconic(Handle())) return;  // a minimised frame keeps the focus itself
    if (focusToRestore_ && (!IsWindow(focusToRestore_) || !IsChild(Handle(), focusToRestore_))) {
        focusToRestore_ = nullptr;
    }
    if (focusToRestore_) {
        SetFocus(focusToRestore_);
    } else if (client_ && client_->Handle()) {
        SetFocus(client_->Handle());
    }
}

LRESULT TFrameWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            if (MayClose()) DestroyWindow(Handle());
            return 0;
        case WM_PARENTNOTIFY:
            if (LOWORD(wParam) == WM_DESTROY && client_ && client_->Handle() &&
                reinterpret_cast<HWND>(lParam) == client_->Handle()) {
                PostMessageA(Handle(), WM_CLOSE, 0, 0);
            }
            break;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) LayoutClient();
            break;
        case WM_SETFOCUS: {
            // The focus came from a window inside the frame: it goes back there.
            HWND previous = reinterpret_cast<HWND>(wParam);
            if (previous && previous != Handle() && IsChild(Handle(), previous)) focusToRestore_ = previous;
            PassFocusOn();
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) RememberFocus();
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) RememberFocus();
            break;
        case WM_SHOWWINDOW:
            if (!wParam) RememberFocus();
            break;
    }
    return TWindow::WindowProc(message, wParam, lParam);
}

#include "framework/window.h"

#include "framework/application.h"
#include "framework/framework_error.h"
#include "framework/show_rules.h"
#include "framework/style_rules.h"
#include "framework/window_class.h"

// The portable rules use the platform's values.
static_assert(framework::ws::kPopup == WS_POPUP && framework::ws::kChild == WS_CHILD &&
              framework::ws::kVisible == WS_VISIBLE && framework::ws::kClipChildren == WS_CLIPCHILDREN &&
              framework::ws::kBorder == WS_BORDER && framework::ws::kDlgFrame == WS_DLGFRAME &&
              framework::ws::kThickFrame == WS_THICKFRAME &&
              framework::ws::kOverlappedWindow == WS_OVERLAPPEDWINDOW);
static_assert(framework::ws::kExDlgModalFrame == WS_EX_DLGMODALFRAME &&
              framework::ws::kExWindowEdge == WS_EX_WINDOWEDGE &&
              framework::ws::kExStaticEdge == WS_EX_STATICEDGE && framework::ws::kExAppWindow == WS_EX_APPWINDOW);
static_assert(framework::kShowHide == SW_HIDE && framework::kShowMinimize == SW_MINIMIZE &&
              framework::kShowDefault == SW_SHOWDEFAULT);
static_assert(framework::kClickedNotification == BN_CLICKED);

using framework::kWindowClassName;

TWindow::Registry TWindow::windows_;

TWindow::TWindow(TWindow* parent, const char* title, HINSTANCE module) : title_(title), module_(module) {
    SetParent(parent);
}

TWindow::~TWindow() {
    DestroyOwnWindow();
    if (TApplication* app = Application()) app->MainWindowDeleted(this);
    DetachDeadChildren();
    while (TWindow* child = firstChild_) {
        firstChild_ = child->nextSibling_;
        child->parent_ = nullptr;
        child->nextSibling_ = nullptr;
    }
    SetParent(nullptr);
}

TWindow::Registry& TWindow::registry() { return windows_; }

TWindow* TWindow::FromHandle(HWND handle) { return handle ? registry().find(handle) : nullptr; }

void TWindow::SetParent(TWindow* parent) {
    if (parent_ == parent) return;
    if (parent_) {
        TWindow** link = &parent_->firstChild_;
        while (*link != this) link = &(*link)->nextSibling_;
        *link = nextSibling_;
        nextSibling_ = nullptr;
    }
    parent_ = parent;
    if (parent_) {
        TWindow** link = &parent_->firstChild_;
        while (*link) link = &(*link)->nextSibling_;
        *link = this;
    }
}

TApplication* TWindow::Application() const { return TApplication::Current(); }

HINSTANCE TWindow::Module() const {
    if (module_) return module_;
    if (TApplication* app = Application()) return app->Instance();
    return GetModuleHandleA(nullptr);
}

HINSTANCE TWindow::InstanceForCreation() const { return Module(); }

DWORD TWindow::Style() const {
    return handle_ ? static_cast<DWORD>(GetWindowLongA(handle_, GWL_STYLE)) : style_;
}

namespace {

// Rewrites a style word of an existing window and lets its frame follow.
void applyStyleWord(HWND handle, int index, DWORD value) {
    if (!handle) return;
    SetWindowLongA(handle, index, static_cast<LONG>(value));
    SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void TWindow::SetStyle(DWORD style) {
    style_ = style;
    applyStyleWord(handle_, GWL_STYLE, style);
}

DWORD TWindow::ExStyle() const {
    return handle_ ? static_cast<DWORD>(GetWindowLongA(handle_, GWL_EXSTYLE)) : exStyle_;
}

void TWindow::SetExStyle(DWORD exStyle) {
    exStyle_ = exStyle;
    applyStyleWord(handle_, GWL_EXSTYLE, exStyle);
}

void TWindow::Show(int command) {
    switch (framework::showAction(command, handle_ != nullptr)) {
        case framework::ShowAction::SendMinimizeCommand:
            SendMessageA(handle_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case framework::ShowAction::ShowWindow:
            ShowWindow(handle_, command);
            break;
        case framework::ShowAction::RecordOnly:
            style_ = framework::styleAfterShow(style_, command);
            break;
    }
}

bool TWindow::MayClose() { return true; }

bool TWindow::DispatchCommand(unsigned) { return false; }

bool TWindow::ControlNotification(unsigned) { return false; }

bool TWindow::PreProcessMessage(MSG&) { return false; }

bool TWindow::RegisterWindowClass() const {
    HINSTANCE instance = InstanceForCreation();
    WNDCLASSA known;
    if (GetClassInfoA(instance, kWindowClassName, &known)) return true;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = StandardWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClassName;
    if (RegisterClassA(&windowClass)) return true;
    return framework::fail("Could not register the window class \"%s\" (error %lu).", kWindowClassName,
                           GetLastError());
}

bool TWindow::Create() {
    if (handle_) return true;
    if (!RegisterWindowClass()) return false;
    HWND parentWindow = parent_ ? parent_->handle_ : nullptr;
    HWND created;
    {
        Parking parking(registry(), this);
        created = CreateWindowExA(exStyle_, kWindowClassName, Title(), style_, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, parentWindow, nullptr, InstanceForCreation(), this);
    }
    const DWORD error = GetLastError();
    // A failed set-up has said why, and made the creation fail.
    if (TakeSetUpFailure()) return false;
    if (created && handle_) return true;
    return framework::fail("Could not create the window \"%s\" (error %lu).", Title(), error);
}

bool TWindow::SetUp() {
    // A child's creation may add further children: they come last.
    for (TWindow* child = firstChild_; child; child = child->nextSibling_) {
        if (!child->handle_ && !child->Create()) return false;
    }
    return true;
}

bool TWindow::SetUpWindow() {
    setUpFailed_ = !SetUp();
    return !setUpFailed_;
}

bool TWindow::TakeSetUpFailure() {
    const bool failed = setUpFailed_;
    setUpFailed_ = false;
    return failed;
}

LRESULT TWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return SetUpWindow() ? 0 : -1;
        case WM_COMMAND:
            if (RouteCommand(wParam, lParam)) return 0;
            break;
        case WM_DESTROY:
            WindowDestroying();
            break;
    }
    return DefaultProcessing(message, wParam, lParam);
}

LRESULT TWindow::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(handle_, message, wParam, lParam);
}

bool TWindow::RouteCommand(WPARAM wParam, LPARAM lParam) {
    const unsigned id = LOWORD(wParam);
    const unsigned code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control) {
        TWindow* object = FromHandle(control);
        if (object && object != this && object->ControlNotification(code)) return true;
    }
    if (!framework::isCommandNotification(code, control != nullptr)) return false;
    return DispatchCommand(id);
}

void TWindow::WindowDestroying() {
    if (TApplication* app = Application()) app->MainWindowDestroyed(this);
}

void TWindow::Attach(HWND handle) {
    handle_ = handle;
    registry().bind(handle, this);
}

void TWindow::Detach() {
    if (handle_) registry().unbind(handle_);
    handle_ = nullptr;
    DetachDeadChildren();
}

void TWindow::DetachDeadChildren() {
    for (TWindow* child = firstChild_; child; child = child->nextSibling_) {
        if (child->handle_ && !IsWindow(child->handle_)) child->Detach();
    }
}

void TWindow::DestroyOwnWindow() {
    HWND window = handle_;
    if (!window) return;
    // The object will not see its WM_DESTROY: a main window destroyed this
    // way while the loop runs must still end the loop.
    WindowDestroying();
    Detach();
    DestroyWindow(window);
    DetachDeadChildren();
}

LRESULT CALLBACK TWindow::StandardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TWindow* object = registry().claim(window);
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    if (!object->handle_) object->handle_ = window;
    const LRESULT result = object->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        if (TWindow* still = registry().find(window)) still->Detach();
    }
    return result;
}

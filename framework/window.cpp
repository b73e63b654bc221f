#include "framework/window.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/framework_error.h"
#include "framework/show_rules.h"
#include "framework/style_rules.h"

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

namespace {
const char kWindowClassName[] = "FrameworkWindow";
}

TWindow::TWindow(TWindow* parent, const char* title, HINSTANCE module)
    : title_(title ? title : ""), module_(module) {
    SetParent(parent);
}

TWindow::~TWindow() {
    DestroyOwnWindow();
    if (TApplication* app = Application()) app->MainWindowDeleted(this);
    for (TWindow* child : children_) {
        child->parent_ = nullptr;
        if (child->handle_ && !IsWindow(child->handle_)) child->Detach();
    }
    SetParent(nullptr);
}

TWindow::Registry& TWindow::registry() {
    static Registry windows;
    return windows;
}

TWindow* TWindow::FromHandle(HWND handle) { return handle ? registry().find(handle) : nullptr; }

void TWindow::SetParent(TWindow* parent) {
    if (parent_ == parent) return;
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = parent;
    if (parent_) parent_->children_.push_back(this);
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

void TWindow::RegisterWindowClass() const {
    HINSTANCE instance = InstanceForCreation();
    WNDCLASSA known;
    if (GetClassInfoA(instance, kWindowClassName, &known)) return;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = StandardWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClassName;
    if (!RegisterClassA(&windowClass)) {
        framework::fail("Could not register the window class \"%s\" (error %lu).", kWindowClassName,
                        GetLastError());
    }
}

bool TWindow::Create() {
    if (handle_) return true;
    RegisterWindowClass();
    HWND parentWindow = parent_ ? parent_->handle_ : nullptr;
    HWND created;
    {
        Parking parking(registry(), this);
        created = CreateWindowExA(exStyle_, kWindowClassName, title_.c_str(), style_, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parentWindow, nullptr,
                                  InstanceForCreation(), this);
    }
    DWORD error = GetLastError();
    if (framework::hasPendingException()) {
        if (created && IsWindow(created)) DestroyWindow(created);
        framework::rethrowPendingException();
    }
    if (!created || !handle_) framework::fail("Could not create the window \"%s\" (error %lu).", Title(), error);
    return true;
}

void TWindow::SetUp() {
    // By index: a child's creation may add further children.
    for (std::size_t i = 0; i < children_.size(); ++i) {
        if (!children_[i]->handle_) children_[i]->Create();
    }
}

LRESULT TWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SetUp();
            return 0;
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
    for (TWindow* child : children_) {
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
    for (TWindow* child : children_) {
        if (child->handle_ && !IsWindow(child->handle_)) child->Detach();
    }
}

LRESULT CALLBACK TWindow::StandardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TWindow* object = registry().claim(window);
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    if (!object->handle_) object->handle_ = window;
    LRESULT result;
    try {
        result = object->WindowProc(message, wParam, lParam);
    } catch (...) {
        framework::keepPendingException();
        // A failure while the window is being made fails the creation.
        result = message == WM_CREATE ? -1 : 0;
    }
    if (message == WM_NCDESTROY) {
        if (TWindow* still = registry().find(window)) still->Detach();
    }
    return result;
}

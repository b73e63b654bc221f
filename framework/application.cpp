#include "framework/application.h"

#include "framework/framework_error.h"
#include "framework/message_box_rules.h"
#include "framework/show_rules.h"
#include "framework/style_rules.h"
#include "framework/window.h"

static_assert(framework::kMessageBoxSystemModal == MB_SYSTEMMODAL &&
              framework::kMessageBoxTaskModal == MB_TASKMODAL);

namespace {
TApplication* current = nullptr;

// Clears a flag when the scope ends, however it ends.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};
}  // namespace

TApplication::TApplication(const char* name) : name_(name), instance_(GetModuleHandleA(nullptr)) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    showCommand_ = framework::startupShowCommand((startup.dwFlags & STARTF_USESHOWWINDOW) != 0,
                                                 startup.wShowWindow);
    current = this;
}

TApplication::~TApplication() {
    TWindow* main = mainWindow_;
    mainWindow_ = nullptr;
    delete main;
    customControls_.Disable();
    if (current == this) current = nullptr;
}

TApplication* TApplication::Current() { return current; }

int TApplication::Run() {
    const int status = mainWindow_ || InitializeInstance() ? MessageLoop() : kFailureExitCode;
    return TerminateInstance(status);
}

bool TApplication::InitializeInstance() {
    BuildMainWindow();
    if (!mainWindow_) {
        framework::fail("%s: the application has no main window.", Name());
        ReportFailure();
        return false;
    }
    SetMainWindow(mainWindow_);
    if (!mainWindow_->Create()) {
        ReportFailure();
        return false;
    }
    mainWindow_->Show(showCommand_);
    return true;
}

void TApplication::BuildMainWindow() {}

int TApplication::TerminateInstance(int quitCode) { return quitCode; }

TWindow* TApplication::SetMainWindow(TWindow* window) {
    TWindow* previous = mainWindow_;
    mainWindow_ = window;
    if (window) window->SetExStyle(framework::mainWindowExStyle(window->ExStyle()));
    return previous == window ? nullptr : previous;
}

int TApplication::MessageLoop() {
    RunningFlag running(loopRunning_);
    MSG message;
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) {
            framework::fail("The message loop failed (error %lu).", GetLastError());
            runFailed_ = true;
            break;
        }
        if (!PreProcess(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (!runFailed_) return static_cast<int>(message.wParam);
    ReportFailure();
    return kFailureExitCode;
}

void TApplication::FailRun() {
    if (runFailed_) return;
    runFailed_ = true;
    PostQuitMessage(kFailureExitCode);
}

bool TApplication::PreProcess(MSG& message) {
    HWND window = message.hwnd;
    while (window) {
        HWND parent = GetParent(window);  // before the object may act on its window
        TWindow* object = TWindow::FromHandle(window);
        if (object && object->PreProcessMessage(message)) return true;
        window = parent;
    }
    return false;
}

void TApplication::MainWindowDestroyed(const TWindow* window) const {
    if (window == mainWindow_ && loopRunning_) PostQuitMessage(0);
}

void TApplication::MainWindowDeleted(const TWindow* window) {
    if (window == mainWindow_) mainWindow_ = nullptr;
}

bool TApplication::EnableCustomControls(unsigned language) {
    return customControls_.Enable(language, instance_);
}

void TApplication::RegisterCustomControlClasses() const { customControls_.RegisterClasses(instance_); }

int TApplication::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    if (!caption) caption = Name();
    type = framework::messageBoxType(owner != nullptr, type);
    if (customControls_.HasMessageBox()) return customControls_.ShowBox(owner, text, caption, type);
    return MessageBoxExA(owner, text, caption, type, 0);
}

void TApplication::ReportFailure() {
    // A quit request already waiting would close the box at once; the run
    // is ending anyway, so it is dropped.
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ShowMessageBox(nullptr, framework::failureReason(), nullptr, MB_OK | MB_ICONHAND);
}

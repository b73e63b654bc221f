// The framework's test program: a small application built on the framework
// that logs every handler call and every fact the Wine tests check (see
// test_log.h). Usage: framework_test_app.exe <scenario> <log file>
//
//   frame             frame (shrink-to-client) + modeless client dialog with
//                     radio buttons, a derived response table over a base
//                     one, a modal box, handlers whose step fails
//   unfitted          the same frame without shrink-to-client
//   no-main-window    the main-window step builds nothing
//   missing-template  the client's dialog template does not exist
//   missing-control   a radio-button object names a control the template lacks
//   boxes             message boxes before and after enabling the custom controls
//   restore           (no framework) restores and activates a running frame
#include <windows.h>

#include <cstring>

#include "framework/framework.h"
#include "import_spy.h"
#include "test_ids.h"
#include "test_log.h"

namespace {

const char kFrameTitle[] = "FwTest Frame";
constexpr UINT kLogLayoutMessage = WM_APP + 1;

enum class Scenario { Frame, Unfitted, NoMainWindow, MissingTemplate, MissingControl };

HWND frameWindow = nullptr;
HWND clientWindow = nullptr;

// ---- observations ----

POINT centreOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

SIZE clientSizeOf(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

SIZE iconSize(HICON icon) {
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

// Centre of the title bar's minimise button, found by hit-testing.
bool minimiseButton(HWND frame, POINT& centre) {
    RECT rect;
    GetWindowRect(frame, &rect);
    int left = -1, right = -1, top = -1, bottom = -1;
    for (int y = rect.top; y < rect.top + 40 && y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (SendMessageA(frame, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != HTMINBUTTON) continue;
            if (left < 0 || x < left) left = x;
            if (x > right) right = x;
            if (top < 0) top = y;
            bottom = y;
        }
    }
    if (left < 0) return false;
    centre = {(left + right) / 2, (top + bottom) / 2};
    return true;
}

BOOL CALLBACK logControl(HWND control, LPARAM) {
    const POINT centre = centreOnScreen(control);
    testLog("control %d at %ld %ld", GetDlgCtrlID(control), centre.x, centre.y);
    return TRUE;
}

void logLayout() {
    RECT frame;
    GetWindowRect(frameWindow, &frame);
    const SIZE area = clientSizeOf(frameWindow);
    testLog("frame window %ld %ld %ld %ld", frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
    testLog("frame area %ld %ld", area.cx, area.cy);
    testLog("frame style %08lX ex %08lX", GetWindowLongA(frameWindow, GWL_STYLE),
            GetWindowLongA(frameWindow, GWL_EXSTYLE));
    if (clientWindow && IsWindow(clientWindow)) {
        RECT client;
        GetWindowRect(clientWindow, &client);
        MapWindowPoints(nullptr, frameWindow, reinterpret_cast<POINT*>(&client), 2);
        const SIZE content = clientSizeOf(clientWindow);
        testLog("client window %ld %ld %ld %ld", client.left, client.top, client.right - client.left,
                client.bottom - client.top);
        testLog("client content %ld %ld", content.cx, content.cy);
        testLog("client style %08lX ex %08lX parent=%s visible=%d", GetWindowLongA(clientWindow, GWL_STYLE),
                GetWindowLongA(clientWindow, GWL_EXSTYLE), GetParent(clientWindow) == frameWindow ? "frame" : "other",
                IsWindowVisible(clientWindow) ? 1 : 0);
        EnumChildWindows(clientWindow, logControl, 0);
    }
    const SIZE big = iconSize(reinterpret_cast<HICON>(SendMessageA(frameWindow, WM_GETICON, ICON_BIG, 0)));
    const SIZE small = iconSize(reinterpret_cast<HICON>(SendMessageA(frameWindow, WM_GETICON, ICON_SMALL, 0)));
    testLog("icons big %ld %ld small %ld %ld", big.cx, big.cy, small.cx, small.cy);
    POINT button;
    if (minimiseButton(frameWindow, button)) testLog("minimise button at %ld %ld", button.x, button.y);
}

// Every focus change of the thread, named for the log.
LRESULT CALLBACK focusWatcher(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETFOCUS) {
        if (call->hwnd == frameWindow) {
            testLog("focus frame");
        } else if (call->hwnd == clientWindow) {
            testLog("focus dialog");
        } else if (clientWindow && GetParent(call->hwnd) == clientWindow) {
            testLog("focus %d", GetDlgCtrlID(call->hwnd));
        } else {
            testLog("focus other");
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A step of a handler that fails: it records why and answers false.
bool failingStep(const char* reason) { return framework::fail("%s", reason); }

// ---- the window classes under test ----

class TLoggingRadio : public TRadioButton {
public:
    using TRadioButton::TRadioButton;
    bool ControlNotification(unsigned notifyCode) override {
        testLog("radio %d notified %u", ControlId(), notifyCode);
        return false;
    }
};

class TBaseTestDialog : public TDialog {
public:
    using TDialog::TDialog;
    DECLARE_COMMAND_TABLE();
    void CmBaseOnly() { testLog("CmBaseOnly"); }
    void CmShared() { testLog("CmShared base"); }
};

BEGIN_COMMAND_TABLE(TBaseTestDialog, TDialog)
    COMMAND_ENTRY(IDC_BASE_ONLY, CmBaseOnly)  // void CmBaseOnly()
    COMMAND_ENTRY(IDC_SHARED, CmShared)       // void CmShared()
END_COMMAND_TABLE()

class TModalBox : public TDialog {
public:
    using TDialog::TDialog;
    DECLARE_COMMAND_TABLE();

protected:
    bool SetUp() override {
        if (!TDialog::SetUp()) return false;
        EnumChildWindows(Handle(), logControl, 0);
        testLog("modal open");
        return true;
    }

private:
    // A step that fails hands its failure to the application.
    void CmFail() {
        if (!failingStep("Modal handler failure for the test")) Application()->FailRun();
    }
};

BEGIN_COMMAND_TABLE(TModalBox, TDialog)
    COMMAND_ENTRY(IDC_MODAL_FAIL, CmFail)  // void CmFail()
END_COMMAND_TABLE()

class TClientDialog : public TBaseTestDialog {
public:
    TClientDialog(int templateId, bool withMissingControl) : TBaseTestDialog(nullptr, templateId) {
        radios_[0] = new TLoggingRadio(this, IDC_RADIO1);
        radios_[1] = new TLoggingRadio(this, IDC_RADIO2);
        radios_[2] = new TLoggingRadio(this, IDC_RADIO3);
        if (withMissingControl) missing_ = new TLoggingRadio(this, IDC_MISSING);
        radios_[1]->Check();  // before the window exists: applied on attachment
    }

    ~TClientDialog() override {
        for (TRadioButton* radio : radios_) delete radio;
        delete missing_;
        testLog("dialog deleted");
        Close(IDCANCEL);
    }

    bool Create() override {
        if (!TBaseTestDialog::Create()) return false;
        clientWindow = Handle();
        const SIZE content = clientSizeOf(Handle());
        testLog("dialog created content %ld %ld", content.cx, content.cy);
        LogChecks();
        return true;
    }

    DECLARE_COMMAND_TABLE();

protected:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DESTROY) testLog("dialog destroyed");
        return TBaseTestDialog::DialogProc(message, wParam, lParam);
    }

private:
    void CmShared() { testLog("CmShared derived"); }
    void CmMinimize() {
        testLog("CmMinimize");
        Application()->MainWindow()->Show(SW_MINIMIZE);
    }
    void CmFirst() { Choose(0); }
    void CmSecond() { Choose(1); }
    void CmThird() { Choose(2); }
    void CmModal() {
        TModalBox box(this, IDD_MODAL);
        const int result = box.RunModal();
        if (result == -1) {
            testLog("modal failed");
            Application()->FailRun();
            return;
        }
        testLog("modal returned %d", result);
    }
    void CmFail() {
        if (!failingStep("Handler failure for the test")) Application()->FailRun();
    }

    // Non-automatic buttons: the dialog sets every mark itself.
    void Choose(int index) {
        testLog("CmRadio %d", IDC_RADIO1 + index);
        for (int i = 0; i < 3; ++i) i == index ? radios_[i]->Check() : radios_[i]->Uncheck();
        LogChecks();
    }

    // What the controls themselves report, not what the objects remember.
    void LogChecks() {
        testLog("checks %d %d %d", int(IsDlgButtonChecked(Handle(), IDC_RADIO1)),
                int(IsDlgButtonChecked(Handle(), IDC_RADIO2)), int(IsDlgButtonChecked(Handle(), IDC_RADIO3)));
    }

    TRadioButton* radios_[3] = {};
    TRadioButton* missing_ = nullptr;
};

BEGIN_COMMAND_TABLE(TClientDialog, TBaseTestDialog)
    COMMAND_ENTRY(IDC_SHARED, CmShared)  // void CmShared(): overrides the base entry
    COMMAND_ENTRY(IDOK, CmMinimize)      // void CmMinimize(): overrides TDialog's OK
    COMMAND_ENTRY(IDC_RADIO1, CmFirst)   // void CmFirst()
    COMMAND_ENTRY(IDC_RADIO2, CmSecond)  // void CmSecond()
    COMMAND_ENTRY(IDC_RADIO3, CmThird)   // void CmThird()
    COMMAND_ENTRY(IDC_MODAL, CmModal)    // void CmModal()
    COMMAND_ENTRY(IDC_FAIL, CmFail)      // void CmFail()
END_COMMAND_TABLE()

class TTestFrame : public TDecoratedFrame {
public:
    explicit TTestFrame(TWindow* client) : TDecoratedFrame(nullptr, kFrameTitle, client) {}
    ~TTestFrame() override { testLog("frame deleted"); }

    bool Create() override {
        if (!TDecoratedFrame::Create()) return false;
        frameWindow = Handle();
        testLog("frame created");
        PostMessageA(Handle(), kLogLayoutMessage, 0, 0);
        return true;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_SYSCOMMAND:
                testLog("syscommand %04X", unsigned(wParam & 0xFFF0));
                break;
            case WM_SIZE:
                if (wParam == SIZE_MINIMIZED) testLog("minimized iconic=%d", IsIconic(Handle()) ? 1 : 0);
                if (wParam == SIZE_RESTORED && frameWindow) PostMessageA(Handle(), kLogLayoutMessage, 1, 0);
                break;
            case WM_CLOSE:
                testLog("close");
                break;
            case WM_DESTROY:
                testLog("frame destroyed");
                break;
            case kLogLayoutMessage:
                logLayout();
                testLog(wParam ? "restored" : "ready");
                return 0;
        }
        return TDecoratedFrame::WindowProc(message, wParam, lParam);
    }
};

class TTestApp : public TApplication {
public:
    explicit TTestApp(Scenario scenario) : TApplication("FwTest"), scenario_(scenario) {}

protected:
    void BuildMainWindow() override {
        testLog("show command %d", ShowCommand());
        if (scenario_ == Scenario::NoMainWindow) return;
        const int templateId = scenario_ == Scenario::MissingTemplate ? IDD_MISSING : IDD_CLIENT;
        auto* frame = new TTestFrame(new TClientDialog(templateId, scenario_ == Scenario::MissingControl));
        if (scenario_ != Scenario::Unfitted) {
            frame->SetShrinkToClient(true);
            frame->SetStyle((frame->Style() | 0x12CA0000) & 0xBF7AFFFF);  // as the real program's frame
        }
        frame->SetLargeIcon(nullptr, IDI_TEST);
        frame->SetSmallIcon(nullptr, IDI_TEST);
        SetMainWindow(frame);
        EnableCustomControls(0);
    }

    int TerminateInstance(int quitCode) override {
        testLog("terminate %d", quitCode);
        return TApplication::TerminateInstance(quitCode);
    }

private:
    Scenario scenario_;
};

// ---- scenarios without a message loop ----

int runBoxes() {
    SetEnvironmentVariableA("FRAMEWORK_TEST_SILENT_BOXES", "1");
    installImportSpies(true);
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    TApplication app("FwTest");
    testLog("box %d", app.ShowMessageBox(nullptr, "Plain stop box", nullptr, MB_ICONHAND));
    testLog("box %d", app.ShowMessageBox(owner, "Owned box", "Own caption", MB_OKCANCEL | MB_ICONQUESTION));
    testLog("box %d", app.ShowMessageBox(nullptr, "System box", nullptr, MB_SYSTEMMODAL | MB_ICONHAND));
    testLog("enabled %d", app.EnableCustomControls(0) ? 1 : 0);
    testLog("enabled again %d", app.EnableCustomControls(0) ? 1 : 0);
    testLog("box %d", app.ShowMessageBox(nullptr, "Custom stop box", nullptr, MB_ICONHAND));
    testLog("box %d", app.ShowMessageBox(owner, "Custom owned box", "Own caption", MB_YESNO));
    DestroyWindow(owner);
    return 0;
}

int runRestore() {
    HWND frame = FindWindowA(nullptr, kFrameTitle);
    if (!frame) return 1;
    ShowWindow(frame, SW_RESTORE);
    SetForegroundWindow(frame);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    SetEnvironmentVariableA("FRAMEWORK_TEST_LOG", argv[2]);
    const char* name = argv[1];
    if (!std::strcmp(name, "boxes")) return runBoxes();
    if (!std::strcmp(name, "restore")) return runRestore();

    Scenario scenario;
    if (!std::strcmp(name, "frame")) {
        scenario = Scenario::Frame;
    } else if (!std::strcmp(name, "unfitted")) {
        scenario = Scenario::Unfitted;
    } else if (!std::strcmp(name, "no-main-window")) {
        scenario = Scenario::NoMainWindow;
    } else if (!std::strcmp(name, "missing-template")) {
        scenario = Scenario::MissingTemplate;
    } else if (!std::strcmp(name, "missing-control")) {
        scenario = Scenario::MissingControl;
    } else {
        return 2;
    }
    installImportSpies(false);
    HHOOK watcher = SetWindowsHookExA(WH_CALLWNDPROC, focusWatcher, nullptr, GetCurrentThreadId());
    int result;
    {
        TTestApp app(scenario);
        result = app.Run();
    }
    UnhookWindowsHookEx(watcher);
    testLog("exit %d", result);
    return result;
}

#include "app/selection_mend/selection_mender.h"

#include "app/selection_mend/selection_copy.h"
#include "app/selection_mend/selection_mapping.h"
#include "hooklib/key_sender.h"

#include <cstring>

namespace vyrtel {

namespace {

constexpr DWORD kKeysLetGoDeadline = 1000;
constexpr DWORD kFinishDeadline = 5000;

// What the foreground window's thread sees: whether its focused window
// takes Unicode characters, and Caps Lock. Read with this thread's input
// joined to that thread's, whose key state it then shares. And whether it
// is a console window, where Ctrl+C would interrupt the program running.
struct Foreground {
    bool unicodeWindow = true;
    bool capsLock = false;
    bool console = false;
};

class JoinedInput {
public:
    JoinedInput()
        : self_(GetCurrentThreadId()), other_(GetWindowThreadProcessId(GetForegroundWindow(), nullptr)),
          joined_(other_ != 0 && other_ != self_ && AttachThreadInput(self_, other_, TRUE)) {}
    ~JoinedInput() {
        if (joined_) AttachThreadInput(self_, other_, FALSE);
    }
    JoinedInput(const JoinedInput&) = delete;
    JoinedInput& operator=(const JoinedInput&) = delete;

private:
    DWORD self_;
    DWORD other_;
    bool joined_;
};

Foreground readForeground() {
    const JoinedInput joined;
    Foreground facts;
    HWND focus = GetFocus();
    if (focus == nullptr) focus = GetForegroundWindow();
    facts.unicodeWindow = focus == nullptr || IsWindowUnicode(focus);
    facts.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    char name[32] = {};
    GetClassNameA(GetForegroundWindow(), name, sizeof name);
    facts.console = std::strcmp(name, "ConsoleWindowClass") == 0;
    return facts;
}

// Waits until the keys of the request are let go, so that none of them
// mixes with the keys typed here.
void waitForKeysLetGo() {
    const DWORD start = GetTickCount();
    for (;;) {
        bool held = false;
        for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_PAUSE}) held = held || (GetAsyncKeyState(key) & 0x8000) != 0;
        if (!held || GetTickCount() - start >= kKeysLetGoDeadline) return;
        Sleep(10);
    }
}

// The table's keys as an 8-bit window shows them: its bytes read in the
// system's code page.
void signsOfBytes(const layouts::BuiltinTable& table, char16_t* signs) {
    for (int i = 0; i < layouts::kBuiltinEntryCount; ++i) {
        const char bytes[2] = {static_cast<char>(table[i].unshifted), static_cast<char>(table[i].shifted)};
        for (int shift = 0; shift < 2; ++shift) {
            wchar_t sign = 0;
            if (bytes[shift] == 0 || MultiByteToWideChar(CP_ACP, 0, &bytes[shift], 1, &sign, 1) != 1) sign = 0;
            signs[2 * i + shift] = static_cast<char16_t>(sign);
        }
    }
}

void type(const mend::Keystroke* strokes, std::size_t count) {
    tavrilex::KeySender keys;
    for (std::size_t i = 0; i < count; ++i) {
        const mend::Keystroke& stroke = strokes[i];
        switch (stroke.kind) {
            case mend::Keystroke::Kind::Key:
                keys.Stroke(stroke.scanCode, stroke.shifted);
                break;
            case mend::Keystroke::Kind::Enter:
                keys.Press(VK_RETURN);
                break;
            case mend::Keystroke::Kind::Character:
                keys.Character(static_cast<wchar_t>(stroke.character));
                break;
        }
    }
}

void beepNothingMended() { Beep(kNothingMendedHertz, kNothingMendedMilliseconds); }

// The room a mend needs, kept off the thread's stack.
struct Work {
    char16_t text[mend::kLongestSelection + 1];
    char16_t byteSigns[2 * layouts::kBuiltinEntryCount];
    mend::Keystroke strokes[mend::kLongestSelection];
};

}  // namespace

void SelectionMender::Request(HWND owner, const Builtin& builtin) {
    if (thread_ != nullptr) {
        if (WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT) return;
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    owner_ = owner;
    table_ = &builtin.table;
    letters_ = &builtin.letters;
    DWORD id = 0;
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &id);
}

void SelectionMender::Finish() {
    if (thread_ == nullptr) return;
    // The mend may open the clipboard for a window of this thread, whose
    // emptying sends that window a message: handle it while waiting.
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= kFinishDeadline) break;
        const DWORD result = MsgWaitForMultipleObjects(1, &thread_, FALSE, kFinishDeadline - waited, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) break;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI SelectionMender::Run(LPVOID self) {
    static_cast<SelectionMender*>(self)->Mend();
    return 0;
}

void SelectionMender::Mend() {
    waitForKeysLetGo();
    const Foreground foreground = readForeground();
    if (foreground.console) {
        beepNothingMended();
        return;
    }
    Work* work = new Work;
    std::size_t length = 0;
    const SelectionCopy copied = copySelection(owner_, work->text, mend::kLongestSelection + 1, length);
    if (copied != SelectionCopy::Copied || length > mend::kLongestSelection) {
        beepNothingMended();
        delete work;
        return;
    }

    const char16_t* signs = letters_->data();
    if (!foreground.unicodeWindow) {
        signsOfBytes(*table_, work->byteSigns);
        signs = work->byteSigns;
    }
    const mend::SourceKeys keys{*table_, signs};
    const std::u16string_view text(work->text, length);
    const mend::Side target = mend::targetSideOf(text, keys);
    const std::size_t count = mend::retype(text, target, keys, foreground.capsLock, work->strokes);

    // Under a method that toggles nothing, typing is always translated:
    // only a mend toward Ukrainian can be typed then.
    const std::optional<LONG> switched = [&] {
        const JoinedInput joined;
        return library_.SwitchTyping(target == mend::Side::Ukrainian);
    }();
    if (!switched || (*switched < 0 && target == mend::Side::Latin)) {
        beepNothingMended();
    } else {
        type(work->strokes, count);
    }
    delete work;
}

}  // namespace vyrtel

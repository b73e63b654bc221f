#include "app/selection_mend/selection_mender.h"

#include "app/selection_mend/clipboard_paste.h"
#include "app/selection_mend/control_selection.h"
#include "app/selection_mend/selection_copy.h"
#include "app/selection_mend/selection_mapping.h"
#include "app/selection_mend/window_kind.h"
#include "hooklib/key_sender.h"

#include <cstring>

namespace vyrtel {

// What the foreground window's thread sees: its focused window, what kind
// of window that is (window_kind.h: a terminal if the foreground window is
// one), whether it takes Unicode characters, its process, and Caps Lock.
// Read with this thread's input joined to that thread's, whose key state it
// then shares.
struct MendForeground {
    HWND focus = nullptr;
    DWORD process = 0;
    mend::WindowKind kind = mend::WindowKind::Other;
    bool unicodeWindow = true;
    bool capsLock = false;
};

// The room a mend needs, kept off the thread's stack.
struct MendWork {
    char16_t text[mend::kLongestSelection + 1];
    char16_t mended[mend::kLongestSelection];
    char16_t byteSigns[2 * layouts::kBuiltinEntryCount];
    mend::Keystroke strokes[mend::kLongestSelection];
};

namespace {

constexpr DWORD kKeysLetGoDeadline = 1000;
constexpr DWORD kFinishDeadline = 5000;

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

// Windows 95 and NT 4 before SP3 lack these: looked up, never imported.
template <typename Function>
Function user32(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("USER32.DLL"), name)));
}

mend::WindowKind kindOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    mend::WindowKind kind = mend::kindOfClass(name);
    // A class made from a system control: its real class says which.
    using RealClassFn = UINT(WINAPI*)(HWND, LPSTR, UINT);
    const auto realClass = user32<RealClassFn>("RealGetWindowClassA");
    if (kind == mend::WindowKind::Other && realClass != nullptr && realClass(window, name, sizeof name) != 0) {
        kind = mend::kindOfClass(name);
    }
    return kind;
}

MendForeground readForeground() {
    const JoinedInput joined;
    MendForeground facts;
    HWND foreground = GetForegroundWindow();
    const DWORD threadId = GetWindowThreadProcessId(foreground, &facts.process);
    using ThreadInfoFn = BOOL(WINAPI*)(DWORD, GUITHREADINFO*);
    const auto threadInfo = user32<ThreadInfoFn>("GetGUIThreadInfo");
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    // Joined to that thread's input, GetFocus tells its focus too.
    facts.focus = threadInfo != nullptr && threadInfo(threadId, &thread) && thread.hwndFocus != nullptr
                      ? thread.hwndFocus
                      : GetFocus();
    if (facts.focus == nullptr) facts.focus = foreground;
    facts.unicodeWindow = facts.focus == nullptr || IsWindowUnicode(facts.focus);
    facts.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    facts.kind = kindOf(foreground) == mend::WindowKind::Terminal ? mend::WindowKind::Terminal : kindOf(facts.focus);
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

// The table's bytes, one unit each, as an 8-bit control's text holds them.
void tableBytes(const layouts::BuiltinTable& table, char16_t* signs) {
    for (int i = 0; i < layouts::kBuiltinEntryCount; ++i) {
        signs[2 * i] = table[i].unshifted;
        signs[2 * i + 1] = table[i].shifted;
    }
}

// The table's keys as an 8-bit window shows them on the clipboard: its
// bytes read in the system's code page.
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
            case mend::Keystroke::Kind::Enter:  // never typed: a text of lines is refused
                break;
            case mend::Keystroke::Kind::Character:
                keys.Character(static_cast<wchar_t>(stroke.character));
                break;
        }
    }
}

void beepNothingMended() { Beep(kNothingMendedHertz, kNothingMendedMilliseconds); }


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

// Switches the mode to the target side through the library (its beep and
// mode message included). Under a method that toggles nothing, typing is
// always translated: only a mend toward Ukrainian is made then.
bool SelectionMender::SwitchTo(mend::Side target) const {
    const JoinedInput joined;
    const std::optional<LONG> switched = library_.SwitchTyping(target == mend::Side::Ukrainian);
    return switched && !(*switched < 0 && target == mend::Side::Latin);
}

void SelectionMender::Mend() {
    waitForKeysLetGo();
    const MendForeground foreground = readForeground();
    if (foreground.kind == mend::WindowKind::Terminal) {
        beepNothingMended();
        return;
    }
    MendWork* work = new MendWork;
    const bool mended = foreground.kind == mend::WindowKind::Other ? MendThroughClipboard(foreground, *work)
                                                                   : MendControl(foreground, *work);
    if (!mended) beepNothingMended();
    delete work;
}

bool SelectionMender::MendControl(const MendForeground& foreground, MendWork& work) {
    std::size_t length = 0;
    const bool unicode = foreground.unicodeWindow;
    if (readControlSelection(foreground.focus, unicode, foreground.kind == mend::WindowKind::RichEdit, work.text,
                             mend::kLongestSelection, length) != ControlRead::Selected) {
        return false;
    }
    const char16_t* signs = letters_->data();
    if (!unicode) {
        tableBytes(*table_, work.byteSigns);
        signs = work.byteSigns;
    }
    const mend::SourceKeys keys{*table_, signs};
    const std::u16string_view text(work.text, length);
    const mend::Side target = mend::targetSideOf(text, keys);
    mend::replaceText(text, target, keys, work.mended);
    return SwitchTo(target) && replaceControlSelection(foreground.focus, unicode, work.mended, length);
}

bool SelectionMender::MendThroughClipboard(const MendForeground& foreground, MendWork& work) {
    std::size_t length = 0;
    ClipboardSnapshot saved;
    if (copySelection(owner_, foreground.process, saved, work.text, mend::kLongestSelection + 1, length) !=
        SelectionCopy::Copied) {
        return false;
    }
    const std::u16string_view text(work.text, length);
    bool mended = false;
    if (length > mend::kLongestSelection) {
        // left as it is
    } else if (foreground.unicodeWindow) {
        // Pasted, so that its line breaks stay line breaks, not Enter.
        const mend::SourceKeys keys{*table_, letters_->data()};
        const mend::Side target = mend::targetSideOf(text, keys);
        mend::replaceText(text, target, keys, work.mended);
        static_assert(sizeof(wchar_t) == sizeof(char16_t));
        if (SwitchTo(target)) {
            ClipboardPaste paste(reinterpret_cast<const wchar_t*>(work.mended), length);
            mended = paste.Paste();
            restoreClipboard(owner_, saved);
            return mended;
        }
    } else if (!mend::hasLineBreak(text)) {
        // Typed as keys, so that the hook gives it the coding's bytes.
        signsOfBytes(*table_, work.byteSigns);
        const mend::SourceKeys keys{*table_, work.byteSigns};
        const mend::Side target = mend::targetSideOf(text, keys);
        const std::size_t count = mend::retype(text, target, keys, foreground.capsLock, work.strokes);
        restoreClipboard(owner_, saved);
        if (!SwitchTo(target)) return false;
        type(work.strokes, count);
        return true;
    }
    restoreClipboard(owner_, saved);
    return mended;
}

}  // namespace vyrtel

#include "app/selection_mend/selection_copy.h"

#include "hooklib/key_sender.h"

namespace vyrtel {

namespace {

constexpr DWORD kCopyDeadline = 1000;
constexpr DWORD kOpenDeadline = 1000;
constexpr DWORD kPutBackDeadline = 5000;

// Whether the clipboard changed since the watch began: by its sequence
// number, or where the system has none (Windows 95, NT 4) by its owner,
// the watch having made `owner` the owner of an emptied clipboard first.
// Only a change whose owner is a window of `process` counts: a clipboard
// manager or a remote desktop's sync that sets the clipboard meanwhile
// copied no selection.
class ClipboardWatch {
public:
    ClipboardWatch(HWND owner, DWORD process)
        : owner_(owner), process_(process),
          sequence_(reinterpret_cast<SequenceFn>(reinterpret_cast<void*>(
              GetProcAddress(GetModuleHandleA("USER32.DLL"), "GetClipboardSequenceNumber")))) {
        if (sequence_ != nullptr) {
            before_ = sequence_();
        } else if (openClipboard(owner_, kOpenDeadline)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }

    bool Changed() {
        const bool changed = sequence_ != nullptr ? sequence_() != before_ : GetClipboardOwner() != owner_;
        if (!changed) return false;
        DWORD process = 0;
        if (HWND now = GetClipboardOwner()) GetWindowThreadProcessId(now, &process);
        if (process == process_) return true;
        if (sequence_ != nullptr) before_ = sequence_();  // another's: wait on
        return false;
    }

    // Whether the clipboard was touched before anything was copied.
    bool Emptied() const { return sequence_ == nullptr; }

private:
    using SequenceFn = DWORD(WINAPI*)();
    HWND owner_;
    DWORD process_;
    SequenceFn sequence_;
    DWORD before_ = 0;
};

// Editors that copy the caret's whole line when nothing is selected (Visual
// Studio, Scintilla-based ones) say so with one of these formats: nothing
// was selected there.
bool copiedAWholeLine() {
    return IsClipboardFormatAvailable(RegisterClipboardFormatA("MSDEVLineSelect")) ||
           IsClipboardFormatAvailable(RegisterClipboardFormatA("VisualStudioEditorOperationsLineCutCopyClipboardTag"));
}

void typeCopyKey() {
    tavrilex::KeySender keys;
    keys.Up(VK_SHIFT);
    keys.Up(VK_RSHIFT);
    keys.Down(VK_CONTROL);
    keys.Press('C');
    keys.Up(VK_CONTROL);
}

bool waitFor(ClipboardWatch& watch) {
    const DWORD start = GetTickCount();
    while (!watch.Changed()) {
        if (GetTickCount() - start >= kCopyDeadline) return false;
        Sleep(10);
    }
    return true;
}

std::size_t unitsIn(const wchar_t* from, SIZE_T bytes, std::size_t room) {
    const std::size_t most = bytes / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < most && length < room && from[length] != 0) ++length;
    return length;
}

// The clipboard's text, as Unicode or else as the system's 8-bit text.
bool readText(HWND owner, char16_t* text, std::size_t room, std::size_t& length) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    if (!openClipboard(owner, kOpenDeadline)) return false;
    length = 0;
    bool found = false;
    if (HANDLE unicode = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* from = static_cast<const wchar_t*>(GlobalLock(unicode))) {
            length = unitsIn(from, GlobalSize(unicode), room);
            for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char16_t>(from[i]);
            found = true;
            GlobalUnlock(unicode);
        }
    } else if (HANDLE ansi = GetClipboardData(CF_TEXT)) {
        if (const auto* from = static_cast<const char*>(GlobalLock(ansi))) {
            const SIZE_T most = GlobalSize(ansi);
            SIZE_T bytes = 0;
            while (bytes < most && from[bytes] != 0) ++bytes;
            const int units = bytes == 0 ? 0
                                         : MultiByteToWideChar(CP_ACP, 0, from, static_cast<int>(bytes),
                                                               reinterpret_cast<wchar_t*>(text), static_cast<int>(room));
            // A text that does not fit counts as longer than the room.
            length = units == 0 && bytes != 0 ? room : static_cast<std::size_t>(units);
            found = true;
            GlobalUnlock(ansi);
        }
    }
    CloseClipboard();
    return found;
}

}  // namespace

SelectionCopy copySelection(HWND owner, DWORD process, ClipboardSnapshot& saved, char16_t* text, std::size_t room,
                            std::size_t& length) {
    if (saved.Take(owner) != SnapshotTaken::Taken) return SelectionCopy::ClipboardBusy;
    ClipboardWatch watch(owner, process);
    typeCopyKey();
    if (!waitFor(watch)) {
        if (watch.Emptied()) restoreClipboard(owner, saved);
        return SelectionCopy::NothingSelected;
    }
    const bool wholeLine = copiedAWholeLine();
    const bool read = !wholeLine && readText(owner, text, room, length);
    if (wholeLine || !read || length == 0) {
        restoreClipboard(owner, saved);
        return wholeLine ? SelectionCopy::NothingSelected : SelectionCopy::NoText;
    }
    return SelectionCopy::Copied;
}

void restoreClipboard(HWND owner, ClipboardSnapshot& saved) {
    while (!saved.PutBack(owner, kPutBackDeadline)) {
        const int answer = MessageBoxW(nullptr,
                                       L"Another program holds the clipboard, so Vyrtel could not put back what it "
                                       L"held before the selection was mended.\n\nTry again, or cancel to leave "
                                       L"the clipboard as it is now (what it held is lost).",
                                       L"Vyrtel: clipboard not put back", MB_RETRYCANCEL | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
        if (answer != IDRETRY) {
            saved.Release();
            return;
        }
    }
}

}  // namespace vyrtel

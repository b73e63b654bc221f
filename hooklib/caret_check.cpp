#include "hooklib/caret_check.h"

#include "hooklib/ansi_characters.h"

namespace tavrilex {

namespace {

// The longest stretch of a line that is read to find the caret's column.
constexpr int kLineRoom = 1024;

bool startsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix != 0; ++text, ++prefix) {
        const char c = *text >= 'A' && *text <= 'Z' ? static_cast<char>(*text + ('a' - 'A')) : *text;
        if (c != *prefix) return false;
    }
    return true;
}

// RealGetWindowClassA names the system class a superclass is built on;
// Windows 95 lacks it, and the window's own class name serves there.
using RealGetWindowClassFn = UINT(WINAPI*)(HWND, LPSTR, UINT);

bool isEditControl(HWND window) {
    char name[64];
    const auto real = reinterpret_cast<RealGetWindowClassFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("USER32.DLL"), "RealGetWindowClassA")));
    UINT length = real != nullptr ? real(window, name, sizeof name) : 0;
    if (length == 0) length = static_cast<UINT>(GetClassNameA(window, name, sizeof name));
    name[length < sizeof name ? length : sizeof name - 1] = 0;
    return startsWithNoCase(name, "edit") || startsWithNoCase(name, "richedit");
}

inline char16_t unitOf(WCHAR unit) { return static_cast<char16_t>(unit); }
inline char16_t unitOf(char unit) { return static_cast<unsigned char>(unit); }

template <class Unit>
bool lineEndsIn(const Unit* line, int column, const char16_t* shown, int count) {
    for (int i = 0; i < count; ++i) {
        if (unitOf(line[column - count + i]) != shown[i]) return false;
    }
    return true;
}

}  // namespace

bool caretAfterWord(HWND window, const char16_t* shown, int count) {
    if (!isEditControl(window)) return true;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start != end) return false;
    const LRESULT line = SendMessageA(window, EM_LINEFROMCHAR, end, 0);
    const LRESULT lineStart = SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (line < 0 || lineStart < 0 || static_cast<DWORD>(lineStart) > end) return false;
    const int column = static_cast<int>(end - static_cast<DWORD>(lineStart));
    if (column < count || column > kLineRoom) return false;
    // The hook is handed Unicode messages where the system has Unicode
    // hooks, and `shown` is in their form; the line is read in the same.
    if (systemHasUnicodeHooks()) {
        WCHAR text[kLineRoom + 1];
        text[0] = static_cast<WCHAR>(kLineRoom);
        const LRESULT got = SendMessageW(window, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text));
        return got >= column && lineEndsIn(text, column, shown, count);
    }
    char text[kLineRoom + 1];
    *reinterpret_cast<WORD*>(text) = static_cast<WORD>(kLineRoom);
    const LRESULT got = SendMessageA(window, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text));
    return got >= column && lineEndsIn(text, column, shown, count);
}

}  // namespace tavrilex

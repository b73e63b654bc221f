// The clipboard as the selection-mending tests set and read it, from a
// process of its own:
//
//   clipboard_tool
// Commands, one per line on stdin, each answered with one line:
//   fill    empties the clipboard and puts on it Unicode text, a private
//           registered format ("Vyrtel.Test.Private", 37 bytes) and a
//           5 x 3 pixel DIB: "fill ok"
//   pictures  empties the clipboard and puts on it Unicode text, a bitmap
//           object (CF_BITMAP) and an enhanced metafile: "pictures ok"
//   letters <n>  empties the clipboard and puts n letters "a" on it as
//           Unicode text: "letters ok"
//   dump    "dump seq=<n> formats=<f,f,...> unicode=<hex> private=<hex>
//           dib=<hex> bitmap=<hex> emf=<hex>": the clipboard's sequence
//           number, its formats in the order listed (hex), the first three
//           as the whole memory block holds them, the bitmap's pixels as
//           24-bit rows and the metafile's bytes ("-" when absent)
//   empty   empties the clipboard: "empty ok"
//   seq     "seq <n>": the clipboard's sequence number, the clipboard not opened
// and windows of its own, on a thread that also sees every injected key
// (a low-level keyboard hook):
//   terminal  a window of Windows Terminal's class, "Vyrtel terminal":
//           "terminal ok"
//   copier <hex>  a Unicode window of no control's class, "Vyrtel copier",
//           holding that text (UTF-16 units, four hex digits each), all of
//           it selected: Ctrl+C copies it, Ctrl+V replaces it with the
//           clipboard's text, a character typed is added: "copier ok"
//   copier-text  "copier-text <hex>" ("-" when empty)
//   copier8 <hex>  the same as an 8-bit window, "Vyrtel 8-bit copier",
//           holding those bytes (two hex digits each): Ctrl+C copies them as
//           CF_TEXT, the first character typed after it replaces them, the
//           others are added: "copier8 ok"
//   copier8-text  "copier8-text <hex>" ("-" when empty)
//   copier-hold <ms>  each paste keeps the clipboard open that long once
//           it has read it, from a thread opening it for no window, as a
//           clipboard manager reading it does: "copier-hold ok"
//   active  "active <class>": the class of the foreground window
//   keylog  "keylog <vk,vk,...>": the virtual keys of the injected key
//           presses since the last keylog (hex; "-" for none)
//   slow-owner <ms>  a window of a thread of its own owns the clipboard,
//           with Unicode text and the private format rendered late, each
//           after sleeping that long: "slow-owner ok"
// The dump leaves the marks for clipboard monitors out of its formats and
// counts them: " marks=<n>".
//   quit
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../common/line_log.h"

namespace {

using testio::say;

UINT privateFormat() { return RegisterClipboardFormatA("Vyrtel.Test.Private"); }

bool open() {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(10);
    }
    return false;
}

HGLOBAL block(const void* data, SIZE_T size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    return memory;
}

bool isMark(UINT format) {
    char name[64] = {};
    if (format < 0xC000 || GetClipboardFormatNameA(format, name, sizeof name) == 0) return false;
    return std::strcmp(name, "ExcludeClipboardContentFromMonitorProcessing") == 0 ||
           std::strcmp(name, "CanIncludeInClipboardHistory") == 0 ||
           std::strcmp(name, "CanUploadToCloudClipboard") == 0;
}

// The windows' thread, and what it shares with the thread that reads commands.
CRITICAL_SECTION g_lock;
DWORD g_windowThread = 0;
HANDLE g_done = nullptr;
HWND g_copier = nullptr;
wchar_t g_copierText[8192];
int g_copierLength = 0;
DWORD g_holdMilliseconds = 0;
BYTE g_injected[4096];
int g_injectedCount = 0;

HWND g_copier8 = nullptr;
char g_copier8Text[8192];
int g_copier8Length = 0;
bool g_copier8Selected = false;

enum : UINT { kMakeTerminal = WM_APP + 1, kMakeCopier, kMakeCopier8 };

LRESULT CALLBACK keyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN) && (key->flags & LLKHF_INJECTED)) {
        EnterCriticalSection(&g_lock);
        if (g_injectedCount < static_cast<int>(sizeof g_injected)) g_injected[g_injectedCount++] = static_cast<BYTE>(key->vkCode);
        LeaveCriticalSection(&g_lock);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void copierCopy(HWND window) {
    EnterCriticalSection(&g_lock);
    const SIZE_T size = (g_copierLength + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), g_copierText, size);
    GlobalUnlock(memory);
    LeaveCriticalSection(&g_lock);
    if (OpenClipboard(window)) {
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
}

// The paste, on a thread of its own, which keeps the clipboard open for the
// hold once it has read it, with no gap in which another program could
// open it first.
DWORD WINAPI pasteAndHold(LPVOID milliseconds) {
    if (!open()) return 0;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
        EnterCriticalSection(&g_lock);
        g_copierLength = 0;
        while (text[g_copierLength] != 0 && g_copierLength + 1 < 8192) {
            g_copierText[g_copierLength] = text[g_copierLength];
            ++g_copierLength;
        }
        g_copierText[g_copierLength] = 0;
        LeaveCriticalSection(&g_lock);
        GlobalUnlock(data);
    }
    Sleep(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(milliseconds)));
    CloseClipboard();
    InvalidateRect(g_copier, nullptr, TRUE);
    return 0;
}

void copierPaste() {
    const auto hold = reinterpret_cast<LPVOID>(static_cast<ULONG_PTR>(g_holdMilliseconds));
    CloseHandle(CreateThread(nullptr, 0, pasteAndHold, hold, 0, nullptr));
}

LRESULT CALLBACK copierProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (message == WM_KEYDOWN && control && wParam == 'C') {
        copierCopy(window);
        return 0;
    }
    if (message == WM_KEYDOWN && control && wParam == 'V') {
        copierPaste();
        return 0;
    }
    if (message == WM_CHAR && wParam >= 0x20) {
        EnterCriticalSection(&g_lock);
        if (g_copierLength + 1 < 8192) g_copierText[g_copierLength++] = static_cast<wchar_t>(wParam);
        g_copierText[g_copierLength] = 0;
        LeaveCriticalSection(&g_lock);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        EnterCriticalSection(&g_lock);
        DrawTextW(dc, g_copierText, g_copierLength, &area, 0);
        LeaveCriticalSection(&g_lock);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK copier8Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 && wParam == 'C') {
        EnterCriticalSection(&g_lock);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, g_copier8Length + 1);
        std::memcpy(GlobalLock(memory), g_copier8Text, g_copier8Length + 1);
        GlobalUnlock(memory);
        g_copier8Selected = true;
        LeaveCriticalSection(&g_lock);
        if (OpenClipboard(window)) {
            EmptyClipboard();
            SetClipboardData(CF_TEXT, memory);
            CloseClipboard();
        }
        return 0;
    }
    if (message == WM_CHAR && wParam >= 0x20) {
        EnterCriticalSection(&g_lock);
        if (g_copier8Selected) g_copier8Length = 0;
        g_copier8Selected = false;
        if (g_copier8Length + 1 < 8192) g_copier8Text[g_copier8Length++] = static_cast<char>(wParam);
        g_copier8Text[g_copier8Length] = 0;
        LeaveCriticalSection(&g_lock);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI windowThread(LPVOID) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
    SetWindowsHookExW(WH_KEYBOARD_LL, keyboardHook, GetModuleHandleW(nullptr), 0);
    WNDCLASSW terminal{};
    terminal.lpfnWndProc = DefWindowProcW;
    terminal.hInstance = GetModuleHandleW(nullptr);
    terminal.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    terminal.lpszClassName = L"CASCADIA_HOSTING_WINDOW_CLASS";
    RegisterClassW(&terminal);
    WNDCLASSW copier = terminal;
    copier.lpfnWndProc = copierProcedure;
    copier.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    copier.lpszClassName = L"VyrtelCopier";
    RegisterClassW(&copier);
    WNDCLASSA copier8{};
    copier8.lpfnWndProc = copier8Procedure;
    copier8.hInstance = copier.hInstance;
    copier8.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    copier8.lpszClassName = "VyrtelCopier8";
    RegisterClassA(&copier8);
    SetEvent(g_done);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == kMakeTerminal) {
            CreateWindowW(terminal.lpszClassName, L"Vyrtel terminal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 320,
                          160, nullptr, nullptr, terminal.hInstance, nullptr);
            SetEvent(g_done);
        } else if (message.hwnd == nullptr && message.message == kMakeCopier) {
            if (g_copier == nullptr) {
                g_copier = CreateWindowW(copier.lpszClassName, L"Vyrtel copier", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60,
                                         260, 320, 160, nullptr, nullptr, copier.hInstance, nullptr);
            }
            InvalidateRect(g_copier, nullptr, TRUE);
            SetEvent(g_done);
        } else if (message.hwnd == nullptr && message.message == kMakeCopier8) {
            if (g_copier8 == nullptr) {
                g_copier8 = CreateWindowA(copier8.lpszClassName, "Vyrtel 8-bit copier", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          400, 260, 320, 160, nullptr, nullptr, copier8.hInstance, nullptr);
            }
            SetEvent(g_done);
        } else {
            TranslateMessage(&message);
            // An 8-bit window's messages go the 8-bit way.
            if (message.hwnd != nullptr && !IsWindowUnicode(message.hwnd)) {
                DispatchMessageA(&message);
            } else {
                DispatchMessageW(&message);
            }
        }
    }
    return 0;
}

// Starts the windows' thread, once; then asks it for `request`, if any.
void windows(UINT request) {
    if (g_windowThread == 0) {
        InitializeCriticalSection(&g_lock);
        g_done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        CloseHandle(CreateThread(nullptr, 0, windowThread, nullptr, 0, &g_windowThread));
        WaitForSingleObject(g_done, INFINITE);
    }
    if (request != 0) {
        PostThreadMessageW(g_windowThread, request, 0, 0);
        WaitForSingleObject(g_done, INFINITE);
    }
}

void setCopierText(const char* hex) {
    windows(0);
    EnterCriticalSection(&g_lock);
    g_copierLength = 0;
    for (; hex[0] && hex[1] && hex[2] && hex[3] && g_copierLength + 1 < 8192; hex += 4) {
        char unit[5] = {hex[0], hex[1], hex[2], hex[3], 0};
        g_copierText[g_copierLength++] = static_cast<wchar_t>(std::strtoul(unit, nullptr, 16));
    }
    g_copierText[g_copierLength] = 0;
    LeaveCriticalSection(&g_lock);
    windows(kMakeCopier);
}

void printCopierText() {
    windows(0);
    EnterCriticalSection(&g_lock);
    std::printf("copier-text ");
    for (int i = 0; i < g_copierLength; ++i) std::printf("%04x", g_copierText[i]);
    if (g_copierLength == 0) std::printf("-");
    LeaveCriticalSection(&g_lock);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void setCopier8Text(const char* hex) {
    windows(0);
    EnterCriticalSection(&g_lock);
    g_copier8Length = 0;
    g_copier8Selected = false;
    for (; hex[0] && hex[1] && g_copier8Length + 1 < 8192; hex += 2) {
        char byte[3] = {hex[0], hex[1], 0};
        g_copier8Text[g_copier8Length++] = static_cast<char>(std::strtoul(byte, nullptr, 16));
    }
    g_copier8Text[g_copier8Length] = 0;
    LeaveCriticalSection(&g_lock);
    windows(kMakeCopier8);
}

void printCopier8Text() {
    windows(0);
    EnterCriticalSection(&g_lock);
    std::printf("copier8-text ");
    for (int i = 0; i < g_copier8Length; ++i) std::printf("%02x", static_cast<unsigned char>(g_copier8Text[i]));
    if (g_copier8Length == 0) std::printf("-");
    LeaveCriticalSection(&g_lock);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printKeylog() {
    windows(0);
    EnterCriticalSection(&g_lock);
    std::printf("keylog ");
    for (int i = 0; i < g_injectedCount; ++i) std::printf("%s%x", i == 0 ? "" : ",", g_injected[i]);
    if (g_injectedCount == 0) std::printf("-");
    g_injectedCount = 0;
    LeaveCriticalSection(&g_lock);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The slow owner: a window on a thread of its own, which renders late.
DWORD g_slowMilliseconds = 0;

LRESULT CALLBACK slowOwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RENDERFORMAT) {
        Sleep(g_slowMilliseconds);
        static const wchar_t text[] = L"late";
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
        std::memcpy(GlobalLock(memory), text, sizeof text);
        GlobalUnlock(memory);
        SetClipboardData(static_cast<UINT>(wParam), memory);
        return 0;
    }
    if (message == WM_RENDERALLFORMATS) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI slowOwnerThread(LPVOID) {
    WNDCLASSW owner{};
    owner.lpfnWndProc = slowOwnerProcedure;
    owner.hInstance = GetModuleHandleW(nullptr);
    owner.lpszClassName = L"VyrtelSlowOwner";
    RegisterClassW(&owner);
    HWND window = CreateWindowW(owner.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, owner.hInstance, nullptr);
    bool set = false;
    for (int attempt = 0; attempt < 200 && !OpenClipboard(window); ++attempt) Sleep(10);
    if (EmptyClipboard()) {
        SetClipboardData(CF_UNICODETEXT, nullptr);
        SetClipboardData(privateFormat(), nullptr);
        set = true;
    }
    CloseClipboard();
    say("slow-owner %s", set ? "ok" : "failed");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

void fill() {
    static const wchar_t text[] = L"Kept: \x0442\x0435\x043A\x0441\x0442 \x2713 1\r\n2";
    unsigned char opaque[37];
    for (int i = 0; i < 37; ++i) opaque[i] = static_cast<unsigned char>(0xA5 ^ (i * 7));
    // A 5 x 3 DIB, 24 bits: rows of 15 bytes padded to 16.
    struct {
        BITMAPINFOHEADER header;
        unsigned char bits[3 * 16];
    } dib{};
    dib.header = {sizeof(BITMAPINFOHEADER), 5, 3, 1, 24, BI_RGB, sizeof dib.bits, 0, 0, 0, 0};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i < 15; ++i) dib.bits[row * 16 + i] = static_cast<unsigned char>(row * 80 + i * 11);
    }
    if (!open()) {
        say("fill busy");
        return;
    }
    EmptyClipboard();
    const bool all = SetClipboardData(CF_UNICODETEXT, block(text, sizeof text)) != nullptr &&
                     SetClipboardData(privateFormat(), block(opaque, sizeof opaque)) != nullptr &&
                     SetClipboardData(CF_DIB, block(&dib, sizeof dib)) != nullptr;
    CloseClipboard();
    say("fill %s", all ? "ok" : "failed");
}

void pictures() {
    static const wchar_t text[] = L"pictures";
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 5, 3);
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 5, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    unsigned char bits[3 * 16];
    for (int i = 0; i < 48; ++i) bits[i] = static_cast<unsigned char>(i * 5 + 3);
    SetDIBits(screen, bitmap, 0, 3, bits, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    Rectangle(recorder, 1, 2, 30, 40);
    Ellipse(recorder, 5, 5, 25, 35);
    HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
    if (!open()) {
        say("pictures busy");
        return;
    }
    EmptyClipboard();
    const bool all = SetClipboardData(CF_UNICODETEXT, block(text, sizeof text)) != nullptr &&
                     SetClipboardData(CF_BITMAP, bitmap) != nullptr &&
                     SetClipboardData(CF_ENHMETAFILE, metafile) != nullptr;
    CloseClipboard();
    say("pictures %s", all ? "ok" : "failed");
}

void letters(int count) {
    const SIZE_T size = (count + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    auto* text = static_cast<wchar_t*>(GlobalLock(memory));
    for (int i = 0; i < count; ++i) text[i] = L'a';
    text[count] = 0;
    GlobalUnlock(memory);
    if (!open()) {
        say("letters busy");
        return;
    }
    EmptyClipboard();
    const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    say("letters %s", set ? "ok" : "failed");
}

void printHex(const char* name, const unsigned char* bytes, SIZE_T size) {
    std::printf(" %s=", name);
    for (SIZE_T i = 0; i < size; ++i) std::printf("%02x", bytes[i]);
    if (size == 0) std::printf("-");
}

void printBitmap() {
    unsigned char bits[64 * 64 * 4] = {};
    SIZE_T size = 0;
    if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP facts{};
        GetObjectA(bitmap, sizeof facts, &facts);
        BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), facts.bmWidth, facts.bmHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        const SIZE_T stride = (facts.bmWidth * 3 + 3) / 4 * 4;
        HDC screen = GetDC(nullptr);
        if (stride * facts.bmHeight <= sizeof bits &&
            GetDIBits(screen, bitmap, 0, facts.bmHeight, bits, reinterpret_cast<BITMAPINFO*>(&header),
                      DIB_RGB_COLORS) == facts.bmHeight) {
            size = stride * facts.bmHeight;
        }
        ReleaseDC(nullptr, screen);
    }
    printHex("bitmap", bits, size);
}

void printMetafile() {
    static unsigned char bytes[65536];
    UINT size = 0;
    if (auto metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) {
        size = GetEnhMetaFileBits(metafile, sizeof bytes, bytes);
    }
    printHex("emf", bytes, size);
}

void printBlock(const char* name, UINT format) {
    std::printf(" %s=", name);
    HANDLE data = GetClipboardData(format);
    const auto* bytes = data != nullptr ? static_cast<const unsigned char*>(GlobalLock(data)) : nullptr;
    if (bytes == nullptr) {
        std::printf("-");
        return;
    }
    const SIZE_T size = GlobalSize(data);
    for (SIZE_T i = 0; i < size; ++i) std::printf("%02x", bytes[i]);
    GlobalUnlock(data);
}

void dump() {
    const DWORD sequence = GetClipboardSequenceNumber();
    if (!open()) {
        say("dump busy");
        return;
    }
    std::printf("dump seq=%lu formats=", static_cast<unsigned long>(sequence));
    const char* separator = "";
    int marks = 0;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        if (isMark(format)) {
            ++marks;
            continue;
        }
        std::printf("%s%x", separator, format);
        separator = ",";
    }
    if (*separator == '\0') std::printf("-");
    std::printf(" marks=%d", marks);
    printBlock("unicode", CF_UNICODETEXT);
    printBlock("private", privateFormat());
    printBlock("dib", CF_DIB);
    printBitmap();
    printMetafile();
    CloseClipboard();
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

int main() {
    static char line[65536];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        line[std::strcspn(line, "\r\n")] = '\0';
        if (std::strcmp(line, "quit") == 0) break;
        if (std::strcmp(line, "fill") == 0) {
            fill();
        } else if (std::strcmp(line, "pictures") == 0) {
            pictures();
        } else if (std::strncmp(line, "letters ", 8) == 0) {
            letters(std::atoi(line + 8));
        } else if (std::strcmp(line, "dump") == 0) {
            dump();
        } else if (std::strcmp(line, "empty") == 0) {
            const bool opened = open();
            if (opened) {
                EmptyClipboard();
                CloseClipboard();
            }
            say("empty %s", opened ? "ok" : "busy");
        } else if (std::strcmp(line, "seq") == 0) {
            say("seq %lu", static_cast<unsigned long>(GetClipboardSequenceNumber()));
        } else if (std::strcmp(line, "terminal") == 0) {
            windows(kMakeTerminal);
            say("terminal ok");
        } else if (std::strncmp(line, "copier ", 7) == 0) {
            setCopierText(line + 7);
            say("copier ok");
        } else if (std::strncmp(line, "copier8 ", 8) == 0) {
            setCopier8Text(line + 8);
            say("copier8 ok");
        } else if (std::strcmp(line, "copier8-text") == 0) {
            printCopier8Text();
        } else if (std::strcmp(line, "copier-text") == 0) {
            printCopierText();
        } else if (std::strncmp(line, "copier-hold ", 12) == 0) {
            g_holdMilliseconds = static_cast<DWORD>(std::atoi(line + 12));
            say("copier-hold ok");
        } else if (std::strcmp(line, "active") == 0) {
            char name[128] = "-";
            GetClassNameA(GetForegroundWindow(), name, sizeof name);
            say("active %s", name);
        } else if (std::strcmp(line, "keylog") == 0) {
            printKeylog();
        } else if (std::strncmp(line, "slow-owner ", 11) == 0) {
            g_slowMilliseconds = static_cast<DWORD>(std::atoi(line + 11));
            CloseHandle(CreateThread(nullptr, 0, slowOwnerThread, nullptr, 0, nullptr));
        } else if (line[0] != '\0') {
            say("unknown command %s", line);
        }
    }
    return 0;
}

// A client under load for the robustness test: an ordinary Unicode window
// (GetMessageW, TranslateMessage, DispatchMessageW), into which the system
// injects the hook, flooded with posted messages by a thread of its own
// while the tests type into it and change the hook's settings.
//
//   flood_client [title]
// Prints "ready <hwnd>" once its window exists.
//
// The flood: message i of the flood (i = 0, 1, 2, ...) is
//   i even: WM_CHAR, wParam 0x100 + scan code (no table gives such a
//           character, so an untranslated one is known by it), lParam:
//           bits 0-15 i, 16-23 the scan code, 24 extended, 28 the flood
//           mark, 29 Alt; the keys cycle through kKeys below
//   i odd:  WM_APP + 2, wParam i, lParam ~i
// posted in chunks; the next chunk goes once the window has handled the
// last, so that typed keys (input comes after posted messages) get through
// between chunks. The window checks that every flood message arrives once,
// in order, with its lParam (and for WM_APP + 2 its wParam) untouched.
//
// Every WM_CHAR is tallied by: epoch, source (p flood, t typed), scan code,
// extended and Alt flags, the states of Shift, Caps Lock and Ctrl as the
// window's thread sees them when the message is handled (the states the
// hook read when the thread retrieved it: no input is retrieved in
// between), and the character that arrived.
//
// Commands, one per line on stdin, run on the window's thread between
// messages:
//   flood <count>   starts a flood of count messages (unless one is running;
//                   the numbering goes on from the last); "flood done
//                   posted=<n>" once all of them have been handled
//   stop            ends the flood after the current chunk
//   epoch <n>       messages handled from now on belong to epoch n;
//                   answer "epoch <n> handled=<flood messages so far>"
//   state           "state foreground=<0|1> caps=<0|1> num=<0|1> scroll=<0|1>
//                   typed=<typed characters so far>"
//   report          "tally <epoch> <p|t> <scan> <ext> <alt> <shift> <caps>
//                   <ctrl> <char> <count>" lines (hex scan and char), then
//                   "report end handled=<n> chars=<n> typed=<n> apps=<n>
//                   order_errors=<n> lparam_errors=<n> wparam_errors=<n>"
//   quit
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>

#include "../common/line_log.h"
#include "../common/message_loop.h"
#include "../common/test_window.h"

namespace {

using testio::say;

constexpr UINT kFloodApp = WM_APP + 2;
constexpr LPARAM kFloodMark = 1 << 28;
constexpr LPARAM kExtended = 1 << 24;
constexpr LPARAM kAlt = 1 << 29;
constexpr std::uint32_t kChunk = 256;

struct FloodKey {
    std::uint8_t scan;
    LPARAM flags;
};

// The 46 keys of the tables, the backslash key (in no table), scan code 0
// (no key: what input methods send), the keypad slash and Q with Alt.
constexpr FloodKey kKeys[] = {
    {0x02, 0}, {0x03, 0}, {0x04, 0}, {0x05, 0}, {0x06, 0}, {0x07, 0}, {0x08, 0}, {0x09, 0}, {0x0A, 0}, {0x0B, 0},
    {0x0C, 0}, {0x0D, 0}, {0x10, 0}, {0x11, 0}, {0x12, 0}, {0x13, 0}, {0x14, 0}, {0x15, 0}, {0x16, 0}, {0x17, 0},
    {0x18, 0}, {0x19, 0}, {0x1A, 0}, {0x1B, 0}, {0x1E, 0}, {0x1F, 0}, {0x20, 0}, {0x21, 0}, {0x22, 0}, {0x23, 0},
    {0x24, 0}, {0x25, 0}, {0x26, 0}, {0x27, 0}, {0x28, 0}, {0x29, 0}, {0x2C, 0}, {0x2D, 0}, {0x2E, 0}, {0x2F, 0},
    {0x30, 0}, {0x31, 0}, {0x32, 0}, {0x33, 0}, {0x34, 0}, {0x35, 0}, {0x2B, 0}, {0x00, 0}, {0x35, kExtended},
    {0x10, kAlt},
};
constexpr std::uint32_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

LPARAM floodLParam(std::uint32_t i) {
    const FloodKey& key = kKeys[(i / 2) % kKeyCount];
    return static_cast<LPARAM>((i & 0xFFFF) | (std::uint32_t(key.scan) << 16)) | key.flags | kFloodMark;
}

WPARAM floodChar(std::uint32_t i) { return 0x100 + kKeys[(i / 2) % kKeyCount].scan; }

HWND g_window = nullptr;

// Written by the UI thread, read by the flood thread.
volatile LONG g_handled = 0;  // flood messages handled by the window
volatile LONG g_stop = 0;
volatile LONG g_flooding = 0;
std::uint32_t g_floodEnd = 0;  // number of the message after the flood's last
HANDLE g_floodThread = nullptr;

// The UI thread's own.
std::uint32_t g_epoch = 0;
std::uint32_t g_chars = 0, g_typed = 0, g_apps = 0;
std::uint32_t g_orderErrors = 0, g_lparamErrors = 0, g_wparamErrors = 0;
std::map<std::uint64_t, std::uint32_t> g_tally;

bool down(const BYTE* keys, int vk) { return (keys[vk] & 0x80) != 0; }

// Checks a flood message's place in the sequence; returns its number.
std::uint32_t arrivedInOrder(std::uint32_t lowBits) {
    const std::uint32_t expected = static_cast<std::uint32_t>(g_handled);
    if ((expected & 0xFFFF) != lowBits) ++g_orderErrors;
    InterlockedIncrement(&g_handled);
    return expected;
}

void tallyChar(WPARAM wParam, LPARAM lParam) {
    ++g_chars;
    const bool flood = (lParam & kFloodMark) != 0;
    if (flood) {
        const std::uint32_t i = arrivedInOrder(static_cast<std::uint32_t>(lParam) & 0xFFFF);
        if (i % 2 != 0 || lParam != floodLParam(i)) ++g_lparamErrors;
    } else {
        ++g_typed;
    }
    BYTE keys[256];
    GetKeyboardState(keys);
    const std::uint64_t key = (std::uint64_t(g_epoch) << 40) | (std::uint64_t(flood ? 1 : 0) << 39) |
                              (std::uint64_t((lParam >> 16) & 0xFF) << 28) |
                              (std::uint64_t((lParam & kExtended) ? 1 : 0) << 27) |
                              (std::uint64_t((lParam & kAlt) ? 1 : 0) << 26) |
                              (std::uint64_t(down(keys, VK_SHIFT)) << 25) |
                              (std::uint64_t(keys[VK_CAPITAL] & 1) << 24) |
                              (std::uint64_t(down(keys, VK_CONTROL)) << 23) | (std::uint64_t(wParam) & 0x7FFFFF);
    ++g_tally[key];
}

void report() {
    for (const auto& [key, count] : g_tally) {
        std::printf("tally %u %c %02x %u %u %u %u %u %x %u\n", unsigned(key >> 40), (key >> 39) & 1 ? 'p' : 't',
                    unsigned((key >> 28) & 0xFF), unsigned((key >> 27) & 1), unsigned((key >> 26) & 1),
                    unsigned((key >> 25) & 1), unsigned((key >> 24) & 1), unsigned((key >> 23) & 1),
                    unsigned(key & 0x7FFFFF), count);
    }
    say("report end handled=%ld chars=%u typed=%u apps=%u order_errors=%u lparam_errors=%u wparam_errors=%u",
        g_handled, g_chars, g_typed, g_apps, g_orderErrors, g_lparamErrors, g_wparamErrors);
}

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
            tallyChar(wParam, lParam);
            return 0;
        case kFloodApp: {
            ++g_apps;
            const std::uint32_t i = arrivedInOrder(static_cast<std::uint32_t>(wParam) & 0xFFFF);
            if (wParam != i || lParam != static_cast<LPARAM>(~i)) ++g_wparamErrors;
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI Flood(LPVOID) {
    std::uint32_t posted = static_cast<std::uint32_t>(g_handled);
    const std::uint32_t first = posted;
    while (posted < g_floodEnd && !g_stop) {
        const std::uint32_t end = posted + kChunk < g_floodEnd ? posted + kChunk : g_floodEnd;
        for (; posted < end; ++posted) {
            BOOL ok = posted % 2 == 0 ? PostMessageW(g_window, WM_CHAR, floodChar(posted), floodLParam(posted))
                                      : PostMessageW(g_window, kFloodApp, posted, static_cast<LPARAM>(~posted));
            while (!ok) {  // a full queue: wait for room
                Sleep(1);
                ok = posted % 2 == 0 ? PostMessageW(g_window, WM_CHAR, floodChar(posted), floodLParam(posted))
                                     : PostMessageW(g_window, kFloodApp, posted, static_cast<LPARAM>(~posted));
            }
        }
        while (static_cast<std::uint32_t>(g_handled) < posted) Sleep(1);
    }
    say("flood done posted=%u", posted - first);
    InterlockedExchange(&g_flooding, 0);
    return 0;
}

bool isOn(int key) { return (GetKeyState(key) & 1) != 0; }

void execute(char* line) {
    char word[32] = "";
    unsigned long value = 0;
    const int fields = std::sscanf(line, "%31s %lu", word, &value);
    if (fields < 1) return;
    if (std::strcmp(word, "quit") == 0) {
        DestroyWindow(g_window);
    } else if (std::strcmp(word, "flood") == 0 && fields == 2 && g_flooding == 0) {
        if (g_floodThread != nullptr) CloseHandle(g_floodThread);
        g_floodEnd = static_cast<std::uint32_t>(g_handled) + static_cast<std::uint32_t>(value);
        g_stop = 0;
        g_flooding = 1;
        g_floodThread = CreateThread(nullptr, 0, Flood, nullptr, 0, nullptr);
    } else if (std::strcmp(word, "stop") == 0) {
        InterlockedExchange(&g_stop, 1);
    } else if (std::strcmp(word, "epoch") == 0 && fields == 2) {
        g_epoch = static_cast<std::uint32_t>(value);
        say("epoch %u handled=%ld", g_epoch, g_handled);
    } else if (std::strcmp(word, "state") == 0) {
        say("state foreground=%d caps=%d num=%d scroll=%d typed=%u", GetForegroundWindow() == g_window ? 1 : 0,
            isOn(VK_CAPITAL) ? 1 : 0, isOn(VK_NUMLOCK) ? 1 : 0, isOn(VK_SCROLL) ? 1 : 0, g_typed);
    } else if (std::strcmp(word, "report") == 0) {
        report();
    } else {
        say("unknown command %s", word);
    }
}

}  // namespace

int main(int argc, char** argv) {
    g_window = testio::showClientWindow(argc, argv, L"VyrtelFloodClient", ClientProc, L"Vyrtel flood client",
                                        40, 320, 400, 120);
    if (g_window == nullptr) return 3;
    testio::pumpMessages<testio::Chars::Unicode>(execute);
    if (g_flooding != 0) {
        // The flood thread waits for messages this loop no longer handles.
        TerminateThread(g_floodThread, 0);
    }
    if (g_floodThread != nullptr) CloseHandle(g_floodThread);
    return 0;
}

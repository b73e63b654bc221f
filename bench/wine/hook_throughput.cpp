// Messages per second through a PeekMessage loop, in one Wine process:
//   a  no hook installed
//   b  NullHook.dll, a global WH_GETMESSAGE hook that does nothing
//   c  Tavrilex.dll installed with the KOI8 typewriter table, translation
//      switched on (Ctrl+Shift left/right, switched on by a Ctrl+right
//      Shift key-down passed through the hook)
// and two streams of messages posted to a Unicode window: "other",
// messages the hook passes at once (as are nearly all that a GUI thread
// retrieves), and "char", WM_CHAR of the Q key, each of which the hook
// translates into its letter (the table is handed over with its letters
// through DllCtrlW, where the library has it).
//
// Each round also times, in a plain loop without any hook, the key-state
// reads a hook can make: one GetKeyState, one GetKeyboardState, and three
// GetKeyState calls in a row (what a translated letter asks one by one).
//
// Only the retrieval is timed: a batch of 1000 messages is posted, then the
// clock runs while PeekMessageW(PM_REMOVE) drains it. The machine is shared
// and noisy, so the modes are interleaved finely: every round installs each
// mode in turn (the order rotating from round to round), measures one batch
// of each stream, and removes it again. Both hooks are installed alike
// (SetWindowsHookExW, all threads, from this process). One line per batch:
//   <round> <stream> <mode> <messages> <seconds>
// and one per kind of key-state read:
//   <round> keystate <GetKeyState|GetKeyboardState|GetKeyState*3> <calls> <seconds>
//
// Usage: hook_throughput <rounds>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "hooklib/tavrilex_api.h"
#include "layouts/builtin_tables.h"

namespace {

namespace api = tavrilex::api;

constexpr int kBatch = 1000;
constexpr UINT kOtherMessage = WM_USER + 7;
constexpr LPARAM kCharQ = 0x00100001;  // scan code 0x10, one repeat

struct Tavrilex {
    HMODULE module;
    api::DllCtrlFn ctrl;
    api::DllCtrlWFn ctrlW;  // null in a library without letters
    api::DllLockFn lock;
    api::SetTogglerFn toggler;
};

[[noreturn]] void fail(const char* what) {
    std::printf("error %s (%lu)\n", what, GetLastError());
    std::fflush(stdout);
    ExitProcess(2);
}

double seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// Drains what is queued; returns how many messages came and the last one.
int drain(MSG& last) {
    int count = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        last = msg;
        ++count;
    }
    return count;
}

// The window the messages are posted to: a Unicode one, as nearly every
// window a person types into today.
HWND g_window;

HWND makeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HookThroughput";
    if (!RegisterClassW(&wc)) fail("RegisterClassW");
    HWND window = CreateWindowW(L"HookThroughput", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    if (!window || !IsWindowUnicode(window)) fail("CreateWindowW");
    return window;
}

// The character a WM_CHAR of the Q key should come out as, translated.
WPARAM g_translatedQ;

// Seconds taken to retrieve `messages` posted messages of one stream.
double measure(bool chars, int messages) {
    double total = 0;
    for (int done = 0; done < messages; done += kBatch) {
        const int batch = messages - done < kBatch ? messages - done : kBatch;
        for (int i = 0; i < batch; ++i) {
            if (chars ? !PostMessageW(g_window, WM_CHAR, 'q', kCharQ)
                      : !PostMessageW(g_window, kOtherMessage, i, 0)) {
                fail("PostMessageW");
            }
        }
        LARGE_INTEGER start, stop;
        MSG last;
        QueryPerformanceCounter(&start);
        const int got = drain(last);
        QueryPerformanceCounter(&stop);
        if (got != batch) fail("a batch came back incomplete");
        total += seconds(start, stop);
    }
    return total;
}

constexpr int kKeyStateCalls = 200;

// Seconds taken by kKeyStateCalls repetitions of `read`.
template <class Read>
double timeCalls(Read read) {
    LARGE_INTEGER start, stop;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kKeyStateCalls; ++i) read();
    QueryPerformanceCounter(&stop);
    return seconds(start, stop);
}

// The reads are kept alive by summing what they return.
volatile int g_sink;

void measureKeyStateReads(int round) {
    const auto one = [] { g_sink = g_sink + GetKeyState(VK_CONTROL); };
    const auto all = [] {
        BYTE keys[256];
        GetKeyboardState(keys);
        g_sink = g_sink + keys[VK_CONTROL];
    };
    const auto three = [] {
        g_sink = g_sink + GetKeyState(VK_CONTROL) + GetKeyState(VK_SHIFT) + GetKeyState(VK_CAPITAL);
    };
    std::printf("%d keystate GetKeyState %d %.7f\n", round, kKeyStateCalls, timeCalls(one));
    std::printf("%d keystate GetKeyboardState %d %.7f\n", round, kKeyStateCalls, timeCalls(all));
    std::printf("%d keystate GetKeyState*3 %d %.7f\n", round, kKeyStateCalls, timeCalls(three));
}

Tavrilex loadTavrilex() {
    Tavrilex t;
    t.module = LoadLibraryA(api::kLibraryName);
    if (!t.module) fail("LoadLibrary Tavrilex.dll");
    t.ctrl = reinterpret_cast<api::DllCtrlFn>(reinterpret_cast<void*>(GetProcAddress(t.module, api::kDllCtrl)));
    t.lock = reinterpret_cast<api::DllLockFn>(reinterpret_cast<void*>(GetProcAddress(t.module, api::kDllLock)));
    t.toggler = reinterpret_cast<api::SetTogglerFn>(
        reinterpret_cast<void*>(GetProcAddress(t.module, api::kSetToggler)));
    if (!t.ctrl || !t.lock || !t.toggler) fail("GetProcAddress");
    t.ctrlW = reinterpret_cast<api::DllCtrlWFn>(reinterpret_cast<void*>(GetProcAddress(t.module, api::kDllCtrlW)));
    g_translatedQ = t.ctrlW ? WPARAM(u'й') : WPARAM(0xCA);
    if (t.lock(t.module) != 1) fail("DllLock");
    return t;
}

// Switches translation on the way a user does, through the hook itself,
// and proves it is on: a WM_CHAR of the Q key must come out translated.
void switchTranslationOn() {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(g_window, WM_KEYDOWN, VK_SHIFT, 0x00360001);  // right Shift
    MSG last;
    drain(last);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    PostMessageW(g_window, WM_CHAR, 'q', kCharQ);
    if (drain(last) != 1 || last.wParam != g_translatedQ) fail("translation is not on");
}

void install(char mode, HOOKPROC nullProc, HMODULE nullHook, const Tavrilex& tavrilex, HHOOK& hook) {
    if (mode == 'b') {
        hook = SetWindowsHookExW(WH_GETMESSAGE, nullProc, nullHook, 0);
        if (!hook) fail("SetWindowsHookExW");
    } else if (mode == 'c') {
        const auto* letters = reinterpret_cast<const WCHAR*>(vyrtel::layouts::kKoi8TypewriterLetters.data());
        if ((tavrilex.ctrlW ? tavrilex.ctrlW(vyrtel::layouts::kKoi8Typewriter.data(), letters, 47)
                            : tavrilex.ctrl(vyrtel::layouts::kKoi8Typewriter.data(), 47)) != 1) {
            fail("DllCtrl");
        }
        switchTranslationOn();
    }
}

void remove(char mode, const Tavrilex& tavrilex, HHOOK hook) {
    if (mode == 'b') UnhookWindowsHookEx(hook);
    if (mode == 'c') tavrilex.ctrl(nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 60;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here on
    g_window = makeWindow();

    HMODULE nullHook = LoadLibraryA("NullHook.dll");
    if (!nullHook) fail("LoadLibrary NullHook.dll");
    auto nullProc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(nullHook, "NullHookProc")));
    if (!nullProc) fail("GetProcAddress NullHookProc");
    const Tavrilex tavrilex = loadTavrilex();
    tavrilex.toggler(3);

    static const char* const kOrders[] = {"abc", "bca", "cab", "acb", "bac", "cba"};
    for (int round = 0; round < rounds; ++round) {
        for (const char* at = kOrders[round % 6]; *at != '\0'; ++at) {
            const char mode = *at;
            HHOOK hook = nullptr;
            install(mode, nullProc, nullHook, tavrilex, hook);
            for (int stream = 0; stream < 2; ++stream) {
                const bool chars = stream == 1;
                measure(chars, 100);  // warm-up
                std::printf("%d %s %c %d %.7f\n", round, chars ? "char" : "other", mode, kBatch, measure(chars, kBatch));
            }
            remove(mode, tavrilex, hook);
        }
        measureKeyStateReads(round);
        std::fflush(stdout);
    }
    return 0;
}

// The control exports: the single-instance lock, the window it brings
// forward, the toggle method, the beeper, and installing the hook with its
// table. They are called by the control program from its one UI thread, but
// a second copy of it, or any other process, may call them at the same time,
// while hook procedures read the same record in every GUI process.
#include <windows.h>

#include <type_traits>

#include "hooklib/ansi_characters.h"
#include "hooklib/hook_logic.h"
#include "hooklib/key_sender.h"
#include "hooklib/mode_message.h"
#include "hooklib/shared_record.h"
#include "hooklib/tavrilex_api.h"

static_assert(std::is_same_v<decltype(&DllCtrl), tavrilex::api::DllCtrlFn>);
static_assert(std::is_same_v<decltype(&DllCtrlW), tavrilex::api::DllCtrlWFn>);
static_assert(std::is_same_v<decltype(&DllLock), tavrilex::api::DllLockFn>);
static_assert(std::is_same_v<decltype(&DllReg), tavrilex::api::DllRegFn>);
static_assert(std::is_same_v<decltype(&SetBeeper), tavrilex::api::SetBeeperFn>);
static_assert(std::is_same_v<decltype(&SetToggler), tavrilex::api::SetTogglerFn>);
static_assert(std::is_same_v<decltype(&DllMode), tavrilex::api::DllModeFn>);
static_assert(std::is_same_v<decltype(&DllSwitch), tavrilex::api::DllSwitchFn>);
static_assert(std::is_same_v<decltype(&DllAutoMend), tavrilex::api::DllAutoMendFn>);
static_assert(std::is_same_v<decltype(&GetMsgHookProc), tavrilex::api::GetMsgHookProcFn>);

// This image as mapped in the calling process (provided by the linker).
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

using tavrilex::detail::readShared;
using tavrilex::detail::writeShared;
using vyrtel::layouts::KeyEntry;
using vyrtel::layouts::kTableCapacity;

tavrilex::SharedHookState& state() { return g_sharedState; }

using tavrilex::HandleWord;

template <class Handle>
HandleWord word(Handle handle) { return reinterpret_cast<HandleWord>(handle); }

// One interlocked step: stores `desired` when the field holds `expected`;
// returns what the field held before.
template <class Word>
Word compareExchange(Word& field, std::type_identity_t<Word> expected, std::type_identity_t<Word> desired) {
    __atomic_compare_exchange_n(&field, &expected, desired, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
    return expected;
}

// Each entry is stored whole, so a lookup running meanwhile in another
// process meets an old or a new entry, never half of each.
void copyEntries(KeyEntry* area, const KeyEntry* table, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint32_t entry;
        __builtin_memcpy(&entry, &table[i], sizeof entry);
        __atomic_store_n(reinterpret_cast<std::uint32_t*>(&area[i]), entry, __ATOMIC_RELAXED);
    }
}

// The letters of the same entries, two units each, stored as one word per
// entry so that a lookup meets both signs of one table or of the other.
// Without letters every unit is cleared: the record then holds none.
void copyLetters(std::uint16_t* area, const WCHAR* letters, std::int32_t count) {
    std::uint32_t* const pairs = reinterpret_cast<std::uint32_t*>(area);
    for (std::int32_t i = 0; i < kTableCapacity; ++i) {
        if (letters == nullptr) {
            __atomic_store_n(&pairs[i], 0u, __ATOMIC_RELAXED);
        } else if (i < count) {
            const std::uint32_t pair = std::uint32_t{std::uint16_t(letters[2 * i])} |
                                       std::uint32_t{std::uint16_t(letters[2 * i + 1])} << 16;
            __atomic_store_n(&pairs[i], pair, __ATOMIC_RELAXED);
        }
    }
}

// SetWindowsHookExW is looked up rather than imported: Windows 95 has no
// Unicode hooks, and a library importing what a system lacks does not load.
using SetWindowsHookExFn = HHOOK(WINAPI*)(int, HOOKPROC, HINSTANCE, DWORD);

SetWindowsHookExFn hookInstaller() {
    if (!tavrilex::systemHasUnicodeHooks()) return SetWindowsHookExA;
    HMODULE user = GetModuleHandleA("USER32.DLL");
    FARPROC found = user != nullptr ? GetProcAddress(user, "SetWindowsHookExW") : nullptr;
    return found != nullptr ? reinterpret_cast<SetWindowsHookExFn>(reinterpret_cast<void*>(found)) : SetWindowsHookExA;
}

HHOOK installHook() {
    // The module is this image in the calling process, the one the hook
    // procedure's address below belongs to. The system derives the
    // procedure's place in every other process from this pair; a handle
    // stored by another process (the lock holder's) might not match it.
    // Installed as a Unicode hook wherever the system has them, it is handed
    // the Unicode form of every message there (ansi_characters.h).
    return hookInstaller()(WH_GETMESSAGE, GetMsgHookProc, reinterpret_cast<HINSTANCE>(&__ImageBase), 0);
}

// GetProcessTimes came with Windows NT: Windows 95 lacks it, and a library
// importing it would not load there at all. So it is looked up when first
// needed; without it a process is known by its id alone.
using GetProcessTimesFn = BOOL(WINAPI*)(HANDLE, LPFILETIME, LPFILETIME, LPFILETIME, LPFILETIME);

GetProcessTimesFn processTimes() {
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "GetProcessTimes") : nullptr;
    return reinterpret_cast<GetProcessTimesFn>(reinterpret_cast<void*>(found));
}

// The low 32 bits of a process's creation time, or 0 when it cannot be read.
// Sets `ended` when the process has ended: a process lives on as an object
// while anyone holds a handle to it, with an exit time and an exit code.
std::uint32_t creationTimeLow(HANDLE process, bool& ended) {
    DWORD exitCode = 0;
    ended = GetExitCodeProcess(process, &exitCode) && exitCode != STILL_ACTIVE;
    FILETIME created, exited, kernel, user;
    GetProcessTimesFn times = processTimes();
    if (times == nullptr || !times(process, &created, &exited, &kernel, &user)) return 0;
    ended = ended || exited.dwLowDateTime != 0 || exited.dwHighDateTime != 0;
    return created.dwLowDateTime;
}

std::uint64_t thisProcess() {
    bool ended;
    return tavrilex::lockHolderWord(GetCurrentProcessId(), creationTimeLow(GetCurrentProcess(), ended));
}

// Whether the process a lock word names is still running. A process that
// cannot be opened because no process has its id has ended; one that exists
// but may not be opened (another user's, say) is taken to be the holder:
// refusing a start is the lesser harm than a second running copy.
bool holderRuns(std::uint64_t holder) {
    const DWORD id = tavrilex::holderProcessId(holder);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr && GetLastError() == ERROR_ACCESS_DENIED) {
        // Systems before Vista know no limited query right.
        process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id);
    }
    if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
    bool ended;
    const std::uint32_t created = creationTimeLow(process, ended);
    CloseHandle(process);
    return !ended && created == tavrilex::holderCreationTimeLow(holder);
}

// What an ended holder left behind in the record: its registered window,
// gone with it (its handle value may come to name another window), and the
// hook handle. The system removes a thread's hooks when it ends (Windows),
// or goes on calling them (Wine 8); either way the hook must be unhooked
// and its handle cleared, or the next DllCtrl would count a hook that is
// not there as installed, or add a second one to the chain.
void clearAfterEndedHolder(tavrilex::SharedHookState& shared) {
    writeShared(shared.registeredWindow, HandleWord{0});
    const HandleWord hook = __atomic_exchange_n(&shared.hookHandle, HandleWord{0}, __ATOMIC_SEQ_CST);
    if (hook != 0) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook));
}

}  // namespace

// The table and its letters are taken before the hook goes in, so no
// message is ever translated by the table of an earlier call. A count
// outside 0..64 is clamped to that range: the table area holds 64 entries,
// so a caller asking for more gets the 64 it can have (read from its table
// and letters, stored, counted), and a negative count copies nothing and
// stores 0. Nothing beyond the 64 entries of the record, or beyond 64
// entries of the caller's table and letters, is ever read or written.
extern "C" std::int32_t WINAPI DllCtrlW(const KeyEntry* table, const WCHAR* letters, std::int32_t count) {
    tavrilex::SharedHookState& shared = state();
    if (table == nullptr) {
        // One exchange: of two concurrent removals only one unhooks.
        const HandleWord hook = __atomic_exchange_n(&shared.hookHandle, HandleWord{0}, __ATOMIC_SEQ_CST);
        if (hook != 0) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook));
        return 0;
    }

    const std::int32_t entries = count < 0 ? 0 : count > kTableCapacity ? kTableCapacity : count;
    copyEntries(shared.tableArea, table, entries);
    copyLetters(shared.letterArea, letters, entries);
    // The count is published after the entries it covers.
    __atomic_store_n(&shared.entryCount, entries, __ATOMIC_RELEASE);

    if (readShared(shared.hookHandle) == 0 && readShared(shared.libraryHandle) != 0) {
        if (HHOOK hook = installHook()) {
            // Two processes may get here at once; the loser takes its own
            // hook back out, so there is never a second hook in the chain.
            if (compareExchange(shared.hookHandle, 0, word(hook)) != 0) {
                UnhookWindowsHookEx(hook);
            }
        }
    }
    return readShared(shared.hookHandle) != 0 ? 1 : 0;
}

extern "C" std::int32_t WINAPI DllCtrl(const KeyEntry* table, std::int32_t count) {
    return DllCtrlW(table, nullptr, count);
}

// The lock belongs to a process, not to the record: the record outlives the
// copy of the control program that took the lock for as long as any process
// maps the library (under Wine the desktop process does once the hook has
// been injected into it; on Windows any program that has not retrieved a
// message since the hook went). So the lock word names its holder by process
// id and creation time, and a lock whose holder has ended is taken over.
//
// Every change of the lock word is one compare-exchange against the value
// just judged: of any number of copies started at the same instant, free
// lock or ended holder alike, exactly one gets 1, and a caller that judged
// a holder ended never displaces a successor that took over meanwhile.
// While the holder runs, the caller is refused and the holder's registered
// window, if there is one, is restored and brought forward.
//
// A null module takes nothing: the call returns 1 and the lock is free
// afterwards (an ended holder's lock is released).
extern "C" std::int32_t WINAPI DllLock(HINSTANCE module) {
    tavrilex::SharedHookState& shared = state();
    const std::uint64_t taker = module != nullptr ? thisProcess() : 0;
    std::uint64_t holder = readShared(shared.lockHolder);
    for (;;) {
        if (holder != 0 && holderRuns(holder)) break;
        const std::uint64_t seen = compareExchange(shared.lockHolder, holder, taker);
        if (seen == holder) {
            writeShared(shared.libraryHandle, word(module));
            // Each start of the program begins with words left as typed.
            if (module != nullptr) writeShared(shared.autoMendFlag, 0u);
            if (holder != 0) clearAfterEndedHolder(shared);
            return 1;
        }
        holder = seen;  // another caller changed it first: judge the new holder
    }

    HWND window = reinterpret_cast<HWND>(readShared(shared.registeredWindow));
    if (window != nullptr && IsWindow(window)) {
        if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
    }
    return 0;
}

extern "C" std::int32_t WINAPI DllReg(HWND window) {
    writeShared(state().registeredWindow, word(window));
    return 1;
}

extern "C" std::uint32_t WINAPI SetBeeper(std::uint32_t flag) {
    const std::uint32_t on = flag & 1u;
    writeShared(state().beeperFlag, on);
    return on;
}

extern "C" std::int32_t WINAPI SetToggler(std::int32_t method) {
    writeShared(state().toggleMethod, method);
    return method;
}

extern "C" LONG WINAPI DllAutoMend(LONG on) {
    const std::uint32_t flag = on != 0 ? 1u : 0u;
    writeShared(state().autoMendFlag, flag);
    return static_cast<LONG>(flag);
}

extern "C" LONG WINAPI DllMode(void) { return readShared(state().translationSwitch) != 0 ? 1 : 0; }

namespace {

// DllSwitch's view of the system: the calling thread's key state, and keys
// pressed through the input queue as the user's would be.
struct SwitchPlatform {
    std::int16_t keyState(int virtualKey) { return GetKeyState(virtualKey); }
    void beep(std::uint32_t hertz, std::uint32_t milliseconds) { Beep(hertz, milliseconds); }
    void postMode(std::uintptr_t window, std::uint32_t translated, std::int32_t method) {
        if (const UINT message = tavrilex::modeMessage()) {
            PostMessageA(reinterpret_cast<HWND>(window), message, translated, static_cast<LPARAM>(method));
        }
    }
    void pressLock(int virtualKey) {
        tavrilex::KeySender keys;
        keys.Press(static_cast<std::uint8_t>(virtualKey));
    }
};

}  // namespace

extern "C" LONG WINAPI DllSwitch(LONG on) {
    SwitchPlatform platform;
    return tavrilex::detail::switchTranslation(state(), on != 0, platform);
}

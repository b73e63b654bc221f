// The control exports: the single-instance lock, the window it brings
// forward, the toggle method, the beeper, and installing the hook with its
// table. They are called by the control program from its one UI thread, but
// a second copy of it, or any other process, may call them at the same time,
// while hook procedures read the same record in every GUI process.
#include <windows.h>

#include <type_traits>

#include "hooklib/hook_logic.h"
#include "hooklib/shared_record.h"
#include "hooklib/tavrilex_api.h"

static_assert(std::is_same_v<decltype(&DllCtrl), tavrilex::api::DllCtrlFn>);
static_assert(std::is_same_v<decltype(&DllLock), tavrilex::api::DllLockFn>);
static_assert(std::is_same_v<decltype(&DllReg), tavrilex::api::DllRegFn>);
static_assert(std::is_same_v<decltype(&SetBeeper), tavrilex::api::SetBeeperFn>);
static_assert(std::is_same_v<decltype(&SetToggler), tavrilex::api::SetTogglerFn>);
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
HandleWord compareExchange(HandleWord& field, HandleWord expected, HandleWord desired) {
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

HHOOK installHook() {
    // The module is this image in the calling process, the one the hook
    // procedure's address below belongs to. The system derives the
    // procedure's place in every other process from this pair; a handle
    // stored by another process (the lock holder's) might not match it.
    return SetWindowsHookExA(WH_GETMESSAGE, GetMsgHookProc, reinterpret_cast<HINSTANCE>(&__ImageBase), 0);
}

}  // namespace

// The table is taken before the hook goes in, so no message is ever
// translated by the table of an earlier call. A count outside 0..64 is
// clamped to that range: the table area holds 64 entries, so a caller asking
// for more gets the 64 it can have (read from its table, stored, counted),
// and a negative count copies nothing and stores 0. Nothing beyond the 64
// entries of the table area, or beyond 64 entries of the caller's table, is
// ever read or written.
extern "C" std::int32_t WINAPI DllCtrl(const KeyEntry* table, std::int32_t count) {
    tavrilex::SharedHookState& shared = state();
    if (table == nullptr) {
        // One exchange: of two concurrent removals only one unhooks.
        const HandleWord hook = __atomic_exchange_n(&shared.hookHandle, HandleWord{0}, __ATOMIC_SEQ_CST);
        if (hook != 0) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook));
        return 0;
    }

    const std::int32_t entries = count < 0 ? 0 : count > kTableCapacity ? kTableCapacity : count;
    copyEntries(shared.tableArea, table, entries);
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

// The test and the store are one interlocked step: of any number of copies
// of the control program started at the same instant, exactly one gets 1.
//
// The lock is never released, and the shared record outlives the copy that
// took it for as long as any process maps the library, which every process
// the hook was injected into may go on doing. So a held lock whose
// registered window no longer exists is a lock whose holder has ended (its
// window goes only when it closes or dies): the caller takes it over rather
// than being refused by a copy that is not running. A held lock with no
// registered window belongs to a copy that is still starting, and refuses.
extern "C" std::int32_t WINAPI DllLock(HINSTANCE module) {
    tavrilex::SharedHookState& shared = state();
    if (compareExchange(shared.libraryHandle, 0, word(module)) == 0) return 1;

    // The lock is never given back: it lasts as long as the record, even
    // when its holder has ended while other processes still map the library
    // (its window then fails IsWindow and nothing is brought forward).
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

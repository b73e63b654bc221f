// Drives Tavrilex.dll the way the control program does, one export call per
// command, and reports each result on stdout. Commands come from the
// command line (one argument each) and then, after "stdin", line by line
// from standard input, so a test can keep the process (and the hook it
// installed) alive while other processes act.
//
//   lock self|<handle>     DllLock with this process's module handle or a value
//   reg <hwnd>             DllReg
//   ctrl <table> <count>   DllCtrl; table: null, koi8t, koi8p, cp1251t,
//                          cp1251p, pattern:<byte> (128 entries: scan code
//                          i+1, caps 0, the byte, i), guarded (64 pattern
//                          entries that end where unreadable memory begins)
//   ctrlw <table> <letters> <count>
//                          DllCtrlW; table as for ctrl; letters: null, koi8t,
//                          koi8p, cp1251t, cp1251p (the built-in letters, 47
//                          entries), pattern:<unit> (128 entries: units
//                          <unit>+2i and <unit>+2i+1), guarded (64 pattern
//                          entries that end where unreadable memory begins)
//   toggler <n>, beeper <n>, automend <n>
//   record                 the shared section as this process sees it, in hex
//   initial                the record the library file must start with
//   table <table>          the bytes of a table named as for ctrl (47 entries)
//   gate <name>            waits until the named event is set, then "gate open"
//   open <name>            sets the named event (creating it if need be)
//   terminate              ends the process at once (TerminateProcess, code 99),
//                          as a crash would, without removing anything
//   terminate <pid>        ends that process so (TerminateProcess, code 99)
//   hold <pid>             opens that process and keeps the handle, so that
//                          its process object outlives it
//   holder <word>          stores a 64-bit value as the record's lock holder,
//                          as a process that once held it would have left it
//   identity <pid>         "identity <pid> <creation time low>": the lock word
//                          halves of that process
//   exit
// It starts by printing "loaded <module> pid <process id>".
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hooklib/shared_state.h"
#include "hooklib/tavrilex_api.h"
#include "layouts/builtin_tables.h"
#include "record_view.h"
#include "script_words.h"

namespace {

using vyrtel::layouts::KeyEntry;
namespace api = tavrilex::api;

struct Library {
    HMODULE module = nullptr;
    api::DllCtrlFn dllCtrl = nullptr;
    api::DllCtrlWFn dllCtrlW = nullptr;
    api::DllLockFn dllLock = nullptr;
    api::DllRegFn dllReg = nullptr;
    api::SetBeeperFn setBeeper = nullptr;
    api::SetTogglerFn setToggler = nullptr;
    api::DllAutoMendFn dllAutoMend = nullptr;
};

Library g_library;
KeyEntry g_pattern[128];
WCHAR g_letterPattern[256];

template <class Fn>
bool bind(Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(g_library.module, name)));
    if (fn == nullptr) std::printf("missing %s\n", name);
    return fn != nullptr;
}

bool loadLibrary() {
    g_library.module = LoadLibraryA(api::kLibraryName);
    if (g_library.module == nullptr) {
        std::printf("load failed %lu\n", GetLastError());
        return false;
    }
    return bind(g_library.dllCtrl, api::kDllCtrl) & bind(g_library.dllLock, api::kDllLock) &
           bind(g_library.dllReg, api::kDllReg) & bind(g_library.setBeeper, api::kSetBeeper) &
           bind(g_library.setToggler, api::kSetToggler) & bind(g_library.dllCtrlW, api::kDllCtrlW) &
           bind(g_library.dllAutoMend, api::kDllAutoMend);
}

void printHex(const char* label, const unsigned char* bytes, unsigned size) {
    std::printf("%s ", label);
    for (unsigned i = 0; i < size; ++i) std::printf("%02x", bytes[i]);
    std::printf("\n");
}

// A copy of `size` bytes whose last byte is the last readable one: reading
// past it faults, and the fault ends this process with an exception code.
const void* guardedCopy(const void* bytes, unsigned size) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    auto* pages = static_cast<unsigned char*>(
        VirtualAlloc(nullptr, 2 * info.dwPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(pages + info.dwPageSize, info.dwPageSize, PAGE_NOACCESS, &old);
    unsigned char* copy = pages + info.dwPageSize - size;
    std::memcpy(copy, bytes, size);
    return copy;
}

// 64 entries: a 65th is unreadable.
const KeyEntry* guardedTable() {
    return static_cast<const KeyEntry*>(guardedCopy(g_pattern, 64 * sizeof(KeyEntry)));
}

const KeyEntry* tableNamed(const char* name) {
    using namespace vyrtel::layouts;
    if (std::strcmp(name, "null") == 0) return nullptr;
    if (std::strcmp(name, "koi8t") == 0) return kKoi8Typewriter.data();
    if (std::strcmp(name, "koi8p") == 0) return kKoi8Phonetic.data();
    if (std::strcmp(name, "cp1251t") == 0) return kCp1251Typewriter.data();
    if (std::strcmp(name, "cp1251p") == 0) return kCp1251Phonetic.data();
    if (std::strncmp(name, "pattern:", 8) == 0) {
        const auto fill = static_cast<std::uint8_t>(hooktest::number(name + 8));
        for (int i = 0; i < 128; ++i) {
            g_pattern[i] = KeyEntry{static_cast<std::uint8_t>(i + 1), 0, fill, static_cast<std::uint8_t>(i)};
        }
        return g_pattern;
    }
    if (std::strcmp(name, "guarded") == 0) {
        tableNamed("pattern:0x5A");
        return guardedTable();
    }
    return reinterpret_cast<const KeyEntry*>(-1);
}

const WCHAR* const kNoLetters = reinterpret_cast<const WCHAR*>(-1);

const WCHAR* lettersNamed(const char* name) {
    using namespace vyrtel::layouts;
    const auto wide = [](const BuiltinLetters& letters) { return reinterpret_cast<const WCHAR*>(letters.data()); };
    if (std::strcmp(name, "null") == 0) return nullptr;
    if (std::strcmp(name, "koi8t") == 0) return wide(kKoi8TypewriterLetters);
    if (std::strcmp(name, "koi8p") == 0) return wide(kKoi8PhoneticLetters);
    if (std::strcmp(name, "cp1251t") == 0) return wide(kCp1251TypewriterLetters);
    if (std::strcmp(name, "cp1251p") == 0) return wide(kCp1251PhoneticLetters);
    if (std::strncmp(name, "pattern:", 8) == 0) {
        const auto first = static_cast<WCHAR>(hooktest::number(name + 8));
        for (int i = 0; i < 256; ++i) g_letterPattern[i] = static_cast<WCHAR>(first + i);
        return g_letterPattern;
    }
    if (std::strcmp(name, "guarded") == 0) {
        lettersNamed("pattern:0x0400");
        return static_cast<const WCHAR*>(guardedCopy(g_letterPattern, 64 * 2 * sizeof(WCHAR)));
    }
    return kNoLetters;
}

HANDLE gateEvent(const char* name) { return CreateEventA(nullptr, TRUE, FALSE, name); }

DWORD creationTimeLow(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    FILETIME created{}, exited, kernel, user;
    if (process != nullptr) {
        GetProcessTimes(process, &created, &exited, &kernel, &user);
        CloseHandle(process);
    }
    return created.dwLowDateTime;
}

// The shared record as this process maps it, writable as any mapper may.
tavrilex::SharedHookState& sharedRecord() {
    const hooktest::SectionView view = hooktest::findSection(g_library.module, ".swdata");
    return *reinterpret_cast<tavrilex::SharedHookState*>(const_cast<unsigned char*>(view.bytes));
}

// Runs one command; returns false when the driver should end.
bool execute(char* line) {
    char* w[8];
    const int n = hooktest::splitWords(line, w, 8);
    if (n == 0) return true;
    const char* cmd = w[0];
    if (std::strcmp(cmd, "exit") == 0) return false;
    if (std::strcmp(cmd, "terminate") == 0 && n == 1) TerminateProcess(GetCurrentProcess(), 99);

    if (std::strcmp(cmd, "lock") == 0 && n == 2) {
        HINSTANCE module = std::strcmp(w[1], "self") == 0
                               ? g_library.module
                               : reinterpret_cast<HINSTANCE>(hooktest::handle(w[1]));
        std::printf("lock %d\n", int(g_library.dllLock(module)));
    } else if (std::strcmp(cmd, "reg") == 0 && n == 2) {
        HWND window = reinterpret_cast<HWND>(hooktest::handle(w[1]));
        std::printf("reg %d\n", int(g_library.dllReg(window)));
    } else if (std::strcmp(cmd, "ctrl") == 0 && n == 3) {
        const KeyEntry* table = tableNamed(w[1]);
        if (table == reinterpret_cast<const KeyEntry*>(-1)) {
            std::printf("unknown table %s\n", w[1]);
        } else {
            std::printf("ctrl %d\n", int(g_library.dllCtrl(table, static_cast<std::int32_t>(hooktest::number(w[2])))));
        }
    } else if (std::strcmp(cmd, "ctrlw") == 0 && n == 4) {
        const KeyEntry* table = tableNamed(w[1]);
        const WCHAR* letters = lettersNamed(w[2]);
        if (table == reinterpret_cast<const KeyEntry*>(-1) || letters == kNoLetters) {
            std::printf("unknown table or letters %s %s\n", w[1], w[2]);
        } else {
            std::printf("ctrlw %d\n",
                        int(g_library.dllCtrlW(table, letters, static_cast<std::int32_t>(hooktest::number(w[3])))));
        }
    } else if (std::strcmp(cmd, "toggler") == 0 && n == 2) {
        std::printf("toggler %d\n", int(g_library.setToggler(static_cast<std::int32_t>(hooktest::number(w[1])))));
    } else if (std::strcmp(cmd, "automend") == 0 && n == 2) {
        std::printf("automend %ld\n", long(g_library.dllAutoMend(static_cast<LONG>(hooktest::number(w[1])))));
    } else if (std::strcmp(cmd, "beeper") == 0 && n == 2) {
        std::printf("beeper %u\n", unsigned(g_library.setBeeper(hooktest::number(w[1]))));
    } else if (std::strcmp(cmd, "record") == 0) {
        const hooktest::SectionView view = hooktest::findSection(g_library.module, ".swdata");
        printHex("record", view.bytes, view.size);
    } else if (std::strcmp(cmd, "initial") == 0) {
        static constexpr tavrilex::SharedHookState kInitial = tavrilex::initialSharedState();
        printHex("initial", reinterpret_cast<const unsigned char*>(&kInitial), sizeof kInitial);
    } else if (std::strcmp(cmd, "table") == 0 && n == 2) {
        const KeyEntry* table = tableNamed(w[1]);
        if (table == nullptr || table == reinterpret_cast<const KeyEntry*>(-1)) {
            std::printf("unknown table %s\n", w[1]);
        } else {
            printHex("table", reinterpret_cast<const unsigned char*>(table), 47 * sizeof(KeyEntry));
        }
    } else if (std::strcmp(cmd, "terminate") == 0 && n == 2) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, hooktest::number(w[1]));
        const bool ended = process != nullptr && TerminateProcess(process, 99) &&
                           WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
        if (process != nullptr) CloseHandle(process);
        std::printf("terminate %d\n", ended ? 1 : 0);
    } else if (std::strcmp(cmd, "hold") == 0 && n == 2) {
        // Deliberately never closed.
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, hooktest::number(w[1]));
        std::printf("hold %d\n", process != nullptr ? 1 : 0);
    } else if (std::strcmp(cmd, "holder") == 0 && n == 2) {
        const std::uint64_t holder = std::strtoull(w[1], nullptr, 0);
        __atomic_store_n(&sharedRecord().lockHolder, holder, __ATOMIC_SEQ_CST);
        std::printf("holder ok\n");
    } else if (std::strcmp(cmd, "identity") == 0 && n == 2) {
        const DWORD id = hooktest::number(w[1]);
        std::printf("identity %lu %lu\n", static_cast<unsigned long>(id),
                    static_cast<unsigned long>(creationTimeLow(id)));
    } else if (std::strcmp(cmd, "gate") == 0 && n == 2) {
        HANDLE gate = gateEvent(w[1]);
        std::printf("gate waiting\n");
        std::fflush(stdout);
        std::printf(WaitForSingleObject(gate, 60000) == WAIT_OBJECT_0 ? "gate open\n" : "gate timeout\n");
    } else if (std::strcmp(cmd, "open") == 0 && n == 2) {
        std::printf("open %d\n", SetEvent(gateEvent(w[1])) ? 1 : 0);
    } else {
        std::printf("unknown command %s\n", cmd);
    }
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!loadLibrary()) return 2;
    std::printf("loaded %p pid %lu\n", static_cast<void*>(g_library.module),
                static_cast<unsigned long>(GetCurrentProcessId()));
    std::fflush(stdout);
    bool fromStdin = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "stdin") == 0) {
            fromStdin = true;
            break;
        }
        char line[256];
        std::snprintf(line, sizeof line, "%s", argv[i]);
        if (!execute(line)) return 0;
    }
    if (fromStdin) {
        char line[256];
        while (std::fgets(line, sizeof line, stdin) != nullptr) {
            if (!execute(line)) break;
        }
    }
    return 0;
}

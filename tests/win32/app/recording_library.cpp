// A stand-in for Tavrilex.dll used only by the control program's Wine
// tests: it has the same control exports, appends every call and its
// arguments to the log file named by VYRTEL_RECORD_LOG, and with
// VYRTEL_RECORD_LOCK=held in the environment DllLock reports the lock as
// held by another copy (0). Every table it is given is "hooked" (1). Built
// with and without DllCtrlW (the letters of a table), as a library with
// and without it.
// Loading and unloading are logged too ("attach"; "detach unload" when the
// program frees the library, "detach exit" when its process ends with the
// library still loaded), so a test can tell whether and how it was unloaded.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "layouts/builtin_tables.h"

namespace {

HMODULE g_self;

// Whether the environment variable `name` is `value`.
bool steered(const char* name, const char* value) {
    char buf[32];
    const DWORD m = GetEnvironmentVariableA(name, buf, sizeof buf);
    return m > 0 && m < sizeof buf && std::strcmp(buf, value) == 0;
}

void log(const char* line) {
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("VYRTEL_RECORD_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(f, line, DWORD(std::strlen(line)), &written, nullptr);
    WriteFile(f, "\r\n", 2, &written, nullptr);
    CloseHandle(f);
}

// Names a table by the built-in table it equals, else by its bytes.
void describeTable(const void* table, LONG count, char* out, std::size_t size) {
    using namespace vyrtel::layouts;
    if (!table) {
        std::snprintf(out, size, "null");
        return;
    }
    const struct {
        const char* name;
        const BuiltinTable* table;
    } known[] = {{"koi8-typewriter", &kKoi8Typewriter}, {"koi8-phonetic", &kKoi8Phonetic},
                 {"cp1251-typewriter", &kCp1251Typewriter}, {"cp1251-phonetic", &kCp1251Phonetic}};
    if (count == kBuiltinEntryCount) {
        for (const auto& k : known) {
            if (std::memcmp(table, k.table->data(), sizeof(BuiltinTable)) == 0) {
                std::snprintf(out, size, "%s", k.name);
                return;
            }
        }
    }
    std::size_t at = std::snprintf(out, size, "bytes:");
    const auto* bytes = static_cast<const unsigned char*>(table);
    for (LONG i = 0; i < count * 4 && at + 3 < size && i < 256; ++i) at += std::snprintf(out + at, size - at, "%02X", bytes[i]);
}

// Names letters by the built-in letters they equal (the KOI8 and CP1251
// twins of a layout hold the same), else by their units.
void describeLetters(const WCHAR* letters, LONG count, char* out, std::size_t size) {
    using namespace vyrtel::layouts;
    if (!letters) {
        std::snprintf(out, size, "null");
        return;
    }
    if (count == kBuiltinEntryCount) {
        if (std::memcmp(letters, kCp1251TypewriterLetters.data(), sizeof(BuiltinLetters)) == 0) {
            std::snprintf(out, size, "typewriter-letters");
            return;
        }
        if (std::memcmp(letters, kCp1251PhoneticLetters.data(), sizeof(BuiltinLetters)) == 0) {
            std::snprintf(out, size, "phonetic-letters");
            return;
        }
    }
    std::size_t at = std::snprintf(out, size, "units:");
    for (LONG i = 0; i < count * 2 && at + 5 < size && i < 128; ++i) at += std::snprintf(out + at, size - at, "%04X", unsigned(letters[i]));
}

}  // namespace

extern "C" {

LONG WINAPI RecDllCtrl(const void* table, LONG count) {
    char desc[600], line[700];
    describeTable(table, count, desc, sizeof desc);
    const LONG result = table ? 1 : 0;
    std::snprintf(line, sizeof line, "DllCtrl %s %ld -> %ld", desc, long(count), long(result));
    log(line);
    return result;
}

LONG WINAPI RecDllCtrlW(const void* table, const WCHAR* letters, LONG count) {
    char desc[600], lettersDesc[600], line[1300];
    describeTable(table, count, desc, sizeof desc);
    describeLetters(letters, count, lettersDesc, sizeof lettersDesc);
    const LONG result = table ? 1 : 0;
    std::snprintf(line, sizeof line, "DllCtrlW %s %s %ld -> %ld", desc, lettersDesc, long(count), long(result));
    log(line);
    return result;
}

LONG WINAPI RecDllReg(HWND window) {
    char title[128] = "", line[256];
    GetWindowTextA(window, title, sizeof title);
    std::snprintf(line, sizeof line, "DllReg %08lx %s title=\"%s\" -> 1",
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)),
                  IsWindow(window) ? "window" : "not-a-window", title);
    log(line);
    return 1;
}

LONG WINAPI RecDllLock(HMODULE module) {
    const LONG result = steered("VYRTEL_RECORD_LOCK", "held") ? 0 : 1;
    char line[128];
    std::snprintf(line, sizeof line, "DllLock %s -> %ld", module == g_self ? "self" : "other", long(result));
    log(line);
    return result;
}

LONG WINAPI RecSetToggler(LONG method) {
    char line[64];
    std::snprintf(line, sizeof line, "SetToggler %ld -> %ld", long(method), long(method));
    log(line);
    return method;
}

LONG WINAPI RecSetBeeper(LONG flag) {
    char line[64];
    std::snprintf(line, sizeof line, "SetBeeper %ld -> %ld", long(flag), long(flag & 1));
    log(line);
    return flag & 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        log("attach");
    } else if (reason == DLL_PROCESS_DETACH) {
        log(reserved ? "detach exit" : "detach unload");
    }
    return TRUE;
}

}  // extern "C"

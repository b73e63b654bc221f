#include "hooklib/ansi_characters.h"

#include <windows.h>

namespace {

// Per process: the DLL's ordinary data is private to each process mapping
// it. Threads of one process may build the table at the same time; each
// stores the same values, and the flag is raised only after a whole table.
std::uint16_t g_characters[256];
int g_built;

void buildTable() {
    const bool unicode = tavrilex::systemHasUnicodeHooks();
    for (int byte = 0; byte < 256; ++byte) {
        const char narrow = static_cast<char>(byte);
        WCHAR wide = 0;
        const bool single =
            unicode && MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &narrow, 1, &wide, 1) == 1;
        __atomic_store_n(&g_characters[byte], single ? std::uint16_t(wide) : std::uint16_t(byte), __ATOMIC_RELAXED);
    }
    __atomic_store_n(&g_built, 1, __ATOMIC_RELEASE);
}

}  // namespace

// The high bit of GetVersion is set on Windows 95 and its successors only.
bool tavrilex::systemHasUnicodeHooks() { return (GetVersion() & 0x80000000u) == 0; }

std::uint16_t tavrilex::ansiCharacter(std::uint8_t byte) {
    if (__atomic_load_n(&g_built, __ATOMIC_ACQUIRE) == 0) [[unlikely]] buildTable();
    return __atomic_load_n(&g_characters[byte], __ATOMIC_RELAXED);
}

#include "message_box_spy.h"

#include <windows.h>

#include <cstring>

#include "test_log.h"

namespace {

using MessageBoxExFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD);
MessageBoxExFunction realMessageBoxEx = nullptr;
bool answerSilently = false;

int WINAPI spyMessageBoxEx(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD language) {
    testLog("MessageBoxExA owner=%s type=%04X lang=%u caption=%s text=%s", owner ? "window" : "none", type,
            language, caption, text);
    if (answerSilently) return IDRETRY;
    return realMessageBoxEx(owner, text, caption, type, language);
}

}  // namespace

bool installMessageBoxSpy(bool silent) {
    answerSilently = silent;
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; import->Name; ++import) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + import->Name), "USER32.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), "MessageBoxExA") != 0) continue;
            DWORD oldProtection;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &oldProtection);
            realMessageBoxEx = reinterpret_cast<MessageBoxExFunction>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<DWORD_PTR>(&spyMessageBoxEx);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, oldProtection, &oldProtection);
            return true;
        }
    }
    return false;
}

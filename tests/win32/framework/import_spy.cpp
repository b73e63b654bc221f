#include "import_spy.h"

#include <windows.h>

#include <cstring>

#include "test_log.h"

namespace {

using MessageBoxExFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD);
using LoadLibraryFunction = HMODULE(WINAPI*)(LPCSTR);
using FreeLibraryFunction = BOOL(WINAPI*)(HMODULE);

MessageBoxExFunction realMessageBoxEx = nullptr;
LoadLibraryFunction realLoadLibrary = nullptr;
FreeLibraryFunction realFreeLibrary = nullptr;
bool answerSilently = false;

int WINAPI spyMessageBoxEx(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD language) {
    testLog("MessageBoxExA owner=%s type=%04X lang=%u caption=%s text=%s", owner ? "window" : "none", type,
            language, caption, text);
    if (answerSilently) return IDRETRY;
    return realMessageBoxEx(owner, text, caption, type, language);
}

HMODULE WINAPI spyLoadLibrary(LPCSTR name) {
    HMODULE module = realLoadLibrary(name);
    if (name && lstrcmpiA(name, "BWCC32.DLL") == 0) testLog("LoadLibraryA %s", name);
    return module;
}

BOOL WINAPI spyFreeLibrary(HMODULE module) {
    if (module && module == GetModuleHandleA("BWCC32.DLL")) testLog("FreeLibrary BWCC32.DLL");
    return realFreeLibrary(module);
}

// Points the program's import of `function` from `library` at `spy`;
// returns the real function.
void* redirectImport(const char* library, const char* function, void* spy) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; import->Name; ++import) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + import->Name), library) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
            DWORD oldProtection;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &oldProtection);
            void* real = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<DWORD_PTR>(spy);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, oldProtection, &oldProtection);
            return real;
        }
    }
    testLog("spy: %s!%s is not imported", library, function);
    return nullptr;
}

}  // namespace

void installImportSpies(bool silentBoxes) {
    answerSilently = silentBoxes;
    realMessageBoxEx = reinterpret_cast<MessageBoxExFunction>(
        redirectImport("USER32.dll", "MessageBoxExA", reinterpret_cast<void*>(&spyMessageBoxEx)));
    realLoadLibrary = reinterpret_cast<LoadLibraryFunction>(
        redirectImport("KERNEL32.dll", "LoadLibraryA", reinterpret_cast<void*>(&spyLoadLibrary)));
    realFreeLibrary = reinterpret_cast<FreeLibraryFunction>(
        redirectImport("KERNEL32.dll", "FreeLibrary", reinterpret_cast<void*>(&spyFreeLibrary)));
}

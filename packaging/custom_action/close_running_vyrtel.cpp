// VyrtelSetup.dll: the installer's own custom action. Before an uninstall
// (or the removal of an older version by an upgrade) takes the files away,
// it closes every Vyrtel started from the installation folder the way its
// Exit button does, so that the hook goes with the program, and waits for
// each to end. A copy that does not end in time stops the uninstall with a
// message saying why, and nothing is removed.
//
// An uninstall then waits until no process holds the hook library any
// more: programs the hook entered keep it mapped until they let go of it
// (Windows unloads it as each one next handles a message, which a
// broadcast nudges; Wine keeps it until they end). A file still in use
// could only be removed at the next restart, leaving a half-removed folder
// behind, so the uninstall stops instead and says why.
//
// The program's main window is recognised from outside, without any help
// from the program: the framework's window class with the frame's title
// (framework/window_class.h, app/frame_title.h), owned by a process whose
// program file is Vyrtel.exe in that folder. Closing that frame (WM_CLOSE) is the path Exit takes too: the
// dialog closes, the frame with it, and the program removes its hook.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <tlhelp32.h>

#include "app/frame_title.h"
#include "framework/window_class.h"
#include "packaging/custom_action/running_copy.h"

namespace {

constexpr wchar_t kProgram[] = L"Vyrtel.exe";
constexpr wchar_t kLibrary[] = L"Tavrilex.dll";
constexpr DWORD kWaitMilliseconds = 15000;
constexpr DWORD kLibraryWaitMilliseconds = 5000;
constexpr int kMaxCopies = 32;
constexpr DWORD kPathChars = 520;  // twice MAX_PATH; frames stay under a page

// The full program path of a process, as a long path; false when the
// process cannot be looked at.
bool ImageOf(DWORD pid, wchar_t* path) {
    using QueryImage = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    const auto query = reinterpret_cast<QueryImage>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
    if (!query) return false;
    HANDLE process = OpenProcess(0x1000 /* PROCESS_QUERY_LIMITED_INFORMATION */, FALSE, pid);
    if (!process) return false;
    DWORD size = kPathChars;
    const bool ok = query(process, 0, path, &size);
    CloseHandle(process);
    if (!ok) return false;
    wchar_t longPath[kPathChars];
    const DWORD n = GetLongPathNameW(path, longPath, kPathChars);
    if (n > 0 && n < kPathChars) lstrcpyW(path, longPath);
    return true;
}

struct Copies {
    const wchar_t* folder;
    DWORD pids[kMaxCopies];
    HANDLE processes[kMaxCopies];
    int count = 0;
    int windows = 0;
};

// Every running Vyrtel.exe of the folder, opened to wait on.
void FindCopies(Copies& copies) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && copies.count < kMaxCopies;
         more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, kProgram) != 0) continue;
        wchar_t image[kPathChars];
        if (!ImageOf(entry.th32ProcessID, image) ||
            !vyrtel_setup::IsProgramInFolder(image, copies.folder, kProgram)) {
            continue;
        }
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (!process) continue;
        copies.pids[copies.count] = entry.th32ProcessID;
        copies.processes[copies.count++] = process;
    }
    CloseHandle(snapshot);
}

BOOL CALLBACK CloseFrame(HWND window, LPARAM data) {
    auto& copies = *reinterpret_cast<Copies*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    for (int i = 0; i < copies.count; ++i) {
        if (copies.pids[i] != pid) continue;
        char text[64];
        if (GetClassNameA(window, text, 64) && lstrcmpA(text, framework::kWindowClassName) == 0 &&
            GetWindowTextA(window, text, 64) && lstrcmpA(text, vyrtel::kFrameTitle) == 0) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            ++copies.windows;
        }
    }
    return TRUE;
}

void Report(MSIHANDLE install, INSTALLMESSAGE kind, const wchar_t* text, const wchar_t* folder) {
    PMSIHANDLE record = MsiCreateRecord(2);
    MsiRecordSetStringW(record, 0, text);
    MsiRecordSetStringW(record, 1, folder);
    MsiProcessMessage(install, kind, record);
}

// Closes each copy's frame as Exit would and waits for it to end; false
// (with the message said) when one is still running.
bool CloseCopies(MSIHANDLE install, Copies& copies) {
    const wchar_t* folder = copies.folder;
    EnumWindows(CloseFrame, reinterpret_cast<LPARAM>(&copies));

    const DWORD start = GetTickCount();
    int running = 0;
    for (int i = 0; i < copies.count; ++i) {
        const DWORD spent = GetTickCount() - start;
        const DWORD left = spent < kWaitMilliseconds ? kWaitMilliseconds - spent : 0;
        if (WaitForSingleObject(copies.processes[i], left) != WAIT_OBJECT_0) ++running;
        CloseHandle(copies.processes[i]);
    }
    if (running == 0) {
        Report(install, INSTALLMESSAGE_INFO, L"Closed the Vyrtel running from [1].", folder);
        return true;
    }
    Report(install, INSTALLMESSAGE_ERROR,
           L"Vyrtel is running from [1] and did not close. Close it with its Exit button "
           L"(or end Vyrtel.exe in Task Manager), then try again. Nothing has been removed.",
           folder);
    return false;
}

// A mapped image cannot be opened for writing: while any process holds the
// library, this fails with a sharing violation.
bool LibraryInUse(const wchar_t* folder) {
    wchar_t path[kPathChars];
    const int length = lstrlenW(folder);
    if (length + 2 + lstrlenW(kLibrary) >= static_cast<int>(kPathChars)) return false;
    lstrcpyW(path, folder);
    if (length > 0 && path[length - 1] != L'\\') lstrcatW(path, L"\\");
    lstrcatW(path, kLibrary);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

bool LibraryReleased(const wchar_t* folder) {
    const DWORD start = GetTickCount();
    DWORD_PTR ignored;
    SendMessageTimeoutW(HWND_BROADCAST, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
    while (LibraryInUse(folder)) {
        if (GetTickCount() - start > kLibraryWaitMilliseconds) return false;
        Sleep(100);
    }
    return true;
}

bool Uninstalling(MSIHANDLE install) {
    wchar_t remove[8];
    DWORD size = 8;
    return MsiGetPropertyW(install, L"REMOVE", remove, &size) == ERROR_SUCCESS && lstrcmpiW(remove, L"ALL") == 0;
}

}  // namespace

extern "C" BOOL WINAPI SetupEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" UINT WINAPI CloseRunningVyrtel(MSIHANDLE install) {
    wchar_t folder[kPathChars];
    DWORD size = kPathChars;
    if (MsiGetPropertyW(install, L"INSTALLDIR", folder, &size) != ERROR_SUCCESS || folder[0] == 0) {
        return ERROR_SUCCESS;  // nothing installed, nothing of ours runs
    }
    wchar_t longFolder[kPathChars];
    const DWORD n = GetLongPathNameW(folder, longFolder, kPathChars);
    if (n > 0 && n < kPathChars) lstrcpyW(folder, longFolder);

    Copies copies;
    copies.folder = folder;
    FindCopies(copies);
    if (copies.count > 0 && !CloseCopies(install, copies)) return ERROR_INSTALL_FAILURE;
    if (Uninstalling(install) && !LibraryReleased(folder)) {
        Report(install, INSTALLMESSAGE_ERROR,
               L"Vyrtel's keyboard library ([1]Tavrilex.dll) is still loaded in programs it served, so it "
               L"cannot be removed yet. Nothing has been removed. Close those programs, or sign out and back "
               L"in, then try again.",
               folder);
        return ERROR_INSTALL_FAILURE;
    }
    return ERROR_SUCCESS;
}

// Acts as a taskbar that is re-created does, on a Wine virtual desktop:
// it forgets a program's notification-area icon, then announces itself.
//
//   taskbar_poker <desktop> forget <window in hex> <icon id>
//       removes the icon (NIM_DELETE) as the taskbar's end would
//   taskbar_poker <desktop> announce
//       broadcasts the registered message "TaskbarCreated" to the desktop's
//       top-level windows, as a new taskbar does
//
// Prints one line, "forget 1" / "announce 1" (0 when the call failed), and
// ends with 0; 2 when the desktop or the arguments are wrong.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    HDESK desktop = OpenDesktopA(argv[1], 0, FALSE, GENERIC_ALL);
    if (!desktop || !SetThreadDesktop(desktop)) {
        std::printf("failed desktop %s (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    BOOL done = FALSE;
    if (std::strcmp(argv[2], "forget") == 0 && argc == 5) {
        NOTIFYICONDATAA data{};
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoull(argv[3], nullptr, 16)));
        data.uID = static_cast<UINT>(std::strtoul(argv[4], nullptr, 10));
        done = Shell_NotifyIconA(NIM_DELETE, &data);
    } else if (std::strcmp(argv[2], "announce") == 0) {
        const UINT message = RegisterWindowMessageA("TaskbarCreated");
        done = message != 0 && PostMessageA(HWND_BROADCAST, message, 0, 0);
    } else {
        return 2;
    }
    std::printf("%s %d\n", argv[2], done ? 1 : 0);
    return 0;
}

// Reads the text of another program's edit control, the way any process may
// (WM_GETTEXT), in both forms:
//
//   window_text <window class> [<control class>]
// finds the top-level window of that class, takes its first child of the
// control class ("Edit" unless named), and prints
//   wtext <hex>   the text as UTF-16 code units, four hex digits each
//   atext <hex>   the same text as this process's ANSI code page gives it
//   acp <code page>
// Exit code 0, or 2 when there is no such window or edit control.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND top = FindWindowA(argv[1], nullptr);
    HWND edit = top != nullptr ? FindWindowExA(top, nullptr, argc > 2 ? argv[2] : "Edit", nullptr) : nullptr;
    if (edit == nullptr) {
        std::printf("none\n");
        return 2;
    }
    static wchar_t wide[32768];
    static char ansi[65536];
    // Asked while another thread changes the text, the answer has been seen
    // to be no length at all: never read past what the buffers hold.
    const auto within = [](LRESULT length, LRESULT room) { return length < 0 ? 0 : length < room ? length : room - 1; };
    const LRESULT wideLength = within(
        SendMessageW(edit, WM_GETTEXT, sizeof wide / sizeof wide[0], reinterpret_cast<LPARAM>(wide)),
        sizeof wide / sizeof wide[0]);
    const LRESULT ansiLength = within(SendMessageA(edit, WM_GETTEXT, sizeof ansi, reinterpret_cast<LPARAM>(ansi)),
                                      sizeof ansi);
    std::printf("wtext ");
    for (LRESULT i = 0; i < wideLength; ++i) std::printf("%04x", unsigned(wide[i]));
    std::printf("%s\natext ", wideLength == 0 ? "-" : "");
    for (LRESULT i = 0; i < ansiLength; ++i) std::printf("%02x", unsigned(static_cast<unsigned char>(ansi[i])));
    std::printf("%s\nacp %u\n", ansiLength == 0 ? "-" : "", GetACP());
    return 0;
}

// The clipboard as the selection-mending tests set and read it, from a
// process of its own:
//
//   clipboard_tool
// Commands, one per line on stdin, each answered with one line:
//   fill    empties the clipboard and puts on it Unicode text, a private
//           registered format ("Vyrtel.Test.Private", 37 bytes) and a
//           5 x 3 pixel DIB: "fill ok"
//   dump    "dump seq=<n> formats=<f,f,...> unicode=<hex> private=<hex>
//           dib=<hex>": the clipboard's sequence number, its formats in the
//           order listed (hex), and each of the three as the whole memory
//           block holds it ("-" when absent)
//   empty   empties the clipboard: "empty ok"
//   mend    posts the mend request to Vyrtel's window, as the library does
//           for Shift+Pause: "mend ok", or "mend none" without the window
//   quit
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "../common/line_log.h"
#include "hooklib/tavrilex_api.h"

namespace {

using testio::say;

UINT privateFormat() { return RegisterClipboardFormatA("Vyrtel.Test.Private"); }

bool open() {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(10);
    }
    return false;
}

HGLOBAL block(const void* data, SIZE_T size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    return memory;
}

void fill() {
    static const wchar_t text[] = L"Kept: \x0442\x0435\x043A\x0441\x0442 \x2713 1\r\n2";
    unsigned char opaque[37];
    for (int i = 0; i < 37; ++i) opaque[i] = static_cast<unsigned char>(0xA5 ^ (i * 7));
    // A 5 x 3 DIB, 24 bits: rows of 15 bytes padded to 16.
    struct {
        BITMAPINFOHEADER header;
        unsigned char bits[3 * 16];
    } dib{};
    dib.header = {sizeof(BITMAPINFOHEADER), 5, 3, 1, 24, BI_RGB, sizeof dib.bits, 0, 0, 0, 0};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i < 15; ++i) dib.bits[row * 16 + i] = static_cast<unsigned char>(row * 80 + i * 11);
    }
    if (!open()) {
        say("fill busy");
        return;
    }
    EmptyClipboard();
    const bool all = SetClipboardData(CF_UNICODETEXT, block(text, sizeof text)) != nullptr &&
                     SetClipboardData(privateFormat(), block(opaque, sizeof opaque)) != nullptr &&
                     SetClipboardData(CF_DIB, block(&dib, sizeof dib)) != nullptr;
    CloseClipboard();
    say("fill %s", all ? "ok" : "failed");
}

void printBlock(const char* name, UINT format) {
    std::printf(" %s=", name);
    HANDLE data = GetClipboardData(format);
    const auto* bytes = data != nullptr ? static_cast<const unsigned char*>(GlobalLock(data)) : nullptr;
    if (bytes == nullptr) {
        std::printf("-");
        return;
    }
    const SIZE_T size = GlobalSize(data);
    for (SIZE_T i = 0; i < size; ++i) std::printf("%02x", bytes[i]);
    GlobalUnlock(data);
}

void dump() {
    const DWORD sequence = GetClipboardSequenceNumber();
    if (!open()) {
        say("dump busy");
        return;
    }
    std::printf("dump seq=%lu formats=", static_cast<unsigned long>(sequence));
    const char* separator = "";
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        std::printf("%s%x", separator, format);
        separator = ",";
    }
    if (*separator == '\0') std::printf("-");
    printBlock("unicode", CF_UNICODETEXT);
    printBlock("private", privateFormat());
    printBlock("dib", CF_DIB);
    CloseClipboard();
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

int main() {
    char line[256];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        line[std::strcspn(line, "\r\n")] = '\0';
        if (std::strcmp(line, "quit") == 0) break;
        if (std::strcmp(line, "fill") == 0) {
            fill();
        } else if (std::strcmp(line, "dump") == 0) {
            dump();
        } else if (std::strcmp(line, "empty") == 0) {
            const bool opened = open();
            if (opened) {
                EmptyClipboard();
                CloseClipboard();
            }
            say("empty %s", opened ? "ok" : "busy");
        } else if (std::strcmp(line, "mend") == 0) {
            HWND frame = FindWindowA(nullptr, "Vyrtel");
            if (frame != nullptr) {
                PostMessageA(frame, RegisterWindowMessageA(tavrilex::kMendSelectionMessageName), 0, 0);
            }
            say("mend %s", frame != nullptr ? "ok" : "none");
        } else if (line[0] != '\0') {
            say("unknown command %s", line);
        }
    }
    return 0;
}

// The clipboard as the selection-mending tests set and read it, from a
// process of its own:
//
//   clipboard_tool
// Commands, one per line on stdin, each answered with one line:
//   fill    empties the clipboard and puts on it Unicode text, a private
//           registered format ("Vyrtel.Test.Private", 37 bytes) and a
//           5 x 3 pixel DIB: "fill ok"
//   pictures  empties the clipboard and puts on it Unicode text, a bitmap
//           object (CF_BITMAP) and an enhanced metafile: "pictures ok"
//   letters <n>  empties the clipboard and puts n letters "a" on it as
//           Unicode text: "letters ok"
//   dump    "dump seq=<n> formats=<f,f,...> unicode=<hex> private=<hex>
//           dib=<hex> bitmap=<hex> emf=<hex>": the clipboard's sequence
//           number, its formats in the order listed (hex), the first three
//           as the whole memory block holds them, the bitmap's pixels as
//           24-bit rows and the metafile's bytes ("-" when absent)
//   empty   empties the clipboard: "empty ok"
//   quit
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../common/line_log.h"

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

void pictures() {
    static const wchar_t text[] = L"pictures";
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 5, 3);
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 5, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    unsigned char bits[3 * 16];
    for (int i = 0; i < 48; ++i) bits[i] = static_cast<unsigned char>(i * 5 + 3);
    SetDIBits(screen, bitmap, 0, 3, bits, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    Rectangle(recorder, 1, 2, 30, 40);
    Ellipse(recorder, 5, 5, 25, 35);
    HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
    if (!open()) {
        say("pictures busy");
        return;
    }
    EmptyClipboard();
    const bool all = SetClipboardData(CF_UNICODETEXT, block(text, sizeof text)) != nullptr &&
                     SetClipboardData(CF_BITMAP, bitmap) != nullptr &&
                     SetClipboardData(CF_ENHMETAFILE, metafile) != nullptr;
    CloseClipboard();
    say("pictures %s", all ? "ok" : "failed");
}

void letters(int count) {
    const SIZE_T size = (count + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    auto* text = static_cast<wchar_t*>(GlobalLock(memory));
    for (int i = 0; i < count; ++i) text[i] = L'a';
    text[count] = 0;
    GlobalUnlock(memory);
    if (!open()) {
        say("letters busy");
        return;
    }
    EmptyClipboard();
    const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    say("letters %s", set ? "ok" : "failed");
}

void printHex(const char* name, const unsigned char* bytes, SIZE_T size) {
    std::printf(" %s=", name);
    for (SIZE_T i = 0; i < size; ++i) std::printf("%02x", bytes[i]);
    if (size == 0) std::printf("-");
}

void printBitmap() {
    unsigned char bits[64 * 64 * 4] = {};
    SIZE_T size = 0;
    if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP facts{};
        GetObjectA(bitmap, sizeof facts, &facts);
        BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), facts.bmWidth, facts.bmHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        const SIZE_T stride = (facts.bmWidth * 3 + 3) / 4 * 4;
        HDC screen = GetDC(nullptr);
        if (stride * facts.bmHeight <= sizeof bits &&
            GetDIBits(screen, bitmap, 0, facts.bmHeight, bits, reinterpret_cast<BITMAPINFO*>(&header),
                      DIB_RGB_COLORS) == facts.bmHeight) {
            size = stride * facts.bmHeight;
        }
        ReleaseDC(nullptr, screen);
    }
    printHex("bitmap", bits, size);
}

void printMetafile() {
    static unsigned char bytes[65536];
    UINT size = 0;
    if (auto metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) {
        size = GetEnhMetaFileBits(metafile, sizeof bytes, bytes);
    }
    printHex("emf", bytes, size);
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
    printBitmap();
    printMetafile();
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
        } else if (std::strcmp(line, "pictures") == 0) {
            pictures();
        } else if (std::strncmp(line, "letters ", 8) == 0) {
            letters(std::atoi(line + 8));
        } else if (std::strcmp(line, "dump") == 0) {
            dump();
        } else if (std::strcmp(line, "empty") == 0) {
            const bool opened = open();
            if (opened) {
                EmptyClipboard();
                CloseClipboard();
            }
            say("empty %s", opened ? "ok" : "busy");
        } else if (line[0] != '\0') {
            say("unknown command %s", line);
        }
    }
    return 0;
}

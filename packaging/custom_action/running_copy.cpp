#include "packaging/custom_action/running_copy.h"

namespace vyrtel_setup {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t Folded(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - (L'a' - L'A'));
    if (c >= 0x0430 && c <= 0x044F) return static_cast<wchar_t>(c - 0x20);   // а..я
    if (c >= 0x0450 && c <= 0x045F) return static_cast<wchar_t>(c - 0x50);   // ѐ..џ (є, і, ї)
    if (c == 0x0491) return 0x0490;                                          // ґ
    if (c == L'/') return L'\\';
    return c;
}

// Matches `text` at `*at` against `expected`; moves `*at` past it on success.
bool Consume(const wchar_t*& at, const wchar_t* expected, int length) {
    for (int i = 0; i < length; ++i) {
        if (Folded(at[i]) != Folded(expected[i])) return false;
    }
    at += length;
    return true;
}

int Length(const wchar_t* s) {
    int n = 0;
    while (s[n]) ++n;
    return n;
}

}  // namespace

bool IsProgramInFolder(const wchar_t* image, const wchar_t* folder, const wchar_t* program) {
    if (!image || !folder || !program) return false;
    int folderLength = Length(folder);
    while (folderLength > 0 && IsSeparator(folder[folderLength - 1])) --folderLength;
    if (folderLength == 0 || Length(image) != folderLength + 1 + Length(program)) return false;
    const wchar_t* at = image;
    if (!Consume(at, folder, folderLength)) return false;
    if (!IsSeparator(*at)) return false;
    ++at;
    return Consume(at, program, Length(program));
}

}  // namespace vyrtel_setup

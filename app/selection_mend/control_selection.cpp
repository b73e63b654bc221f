#include "app/selection_mend/control_selection.h"

namespace vyrtel {

namespace {

constexpr UINT kAnswerDeadline = 1000;

bool send(HWND control, bool unicode, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
    result = 0;
    const auto call = unicode ? SendMessageTimeoutW : SendMessageTimeoutA;
    return call(control, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerDeadline, &result) != 0;
}

// The first `units` units of the control's text (in its own form), on the
// process heap; null when it did not answer.
void* readText(HWND control, bool unicode, std::size_t units, std::size_t& read) {
    const std::size_t unit = unicode ? sizeof(wchar_t) : 1;
    void* text = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (units + 1) * unit);
    DWORD_PTR copied = 0;
    if (text == nullptr || !send(control, unicode, WM_GETTEXT, units + 1, reinterpret_cast<LPARAM>(text), copied)) {
        if (text != nullptr) HeapFree(GetProcessHeap(), 0, text);
        return nullptr;
    }
    read = copied < units ? copied : units;
    return text;
}

}  // namespace

ControlRead readControlSelection(HWND control, bool unicode, bool richEdit, char16_t* text, std::size_t room,
                                 std::size_t& length) {
    length = 0;
    DWORD_PTR passwordChar = 0;
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if ((style & ES_PASSWORD) != 0) return ControlRead::Hidden;
    if ((style & ES_READONLY) != 0) return ControlRead::ReadOnly;  // a replacement would still go in
    if (!richEdit && send(control, unicode, EM_GETPASSWORDCHAR, 0, 0, passwordChar) && passwordChar != 0) {
        return ControlRead::Hidden;
    }
    DWORD start = 0, end = 0;
    DWORD_PTR ignored = 0;
    if (!send(control, unicode, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end), ignored)) {
        return ControlRead::NoAnswer;
    }
    if (end < start) {
        const DWORD first = end;
        end = start;
        start = first;
    }
    if (end == start) return ControlRead::NothingSelected;
    if (end - start > room) return ControlRead::TooLong;

    // Up to the selection's end; a rich edit's text is read with room for
    // each of its line breaks as two units.
    const std::size_t wanted = richEdit ? 2 * static_cast<std::size_t>(end) : end;
    std::size_t read = 0;
    void* whole = readText(control, unicode, wanted, read);
    if (whole == nullptr) return ControlRead::NoAnswer;
    const auto* wide = static_cast<const wchar_t*>(whole);
    const auto* bytes = static_cast<const unsigned char*>(whole);
    std::size_t position = 0;  // in the control's positions
    for (std::size_t at = 0; at < read && position < end; ++at) {
        const char16_t unit = unicode ? static_cast<char16_t>(wide[at]) : bytes[at];
        if (richEdit && unit == u'\n' && at > 0 && (unicode ? wide[at - 1] : bytes[at - 1]) == '\r') continue;
        if (position >= start) text[length++] = unit;
        ++position;
    }
    HeapFree(GetProcessHeap(), 0, whole);
    // A rich edit's whole text selected takes in its last paragraph's
    // mark, which its text leaves out.
    const bool lastMark = richEdit && read < wanted && position + 1 == end;
    if (length == end - start || (lastMark && length > 0)) return ControlRead::Selected;
    return ControlRead::NoAnswer;
}

bool replaceControlSelection(HWND control, bool unicode, const char16_t* text, std::size_t length) {
    const std::size_t unit = unicode ? sizeof(wchar_t) : 1;
    void* replacement = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (length + 1) * unit);
    if (replacement == nullptr) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (unicode) {
            static_cast<wchar_t*>(replacement)[i] = static_cast<wchar_t>(text[i]);
        } else {
            static_cast<unsigned char*>(replacement)[i] = static_cast<unsigned char>(text[i]);
        }
    }
    DWORD_PTR ignored = 0;
    const bool taken = send(control, unicode, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(replacement), ignored);
    HeapFree(GetProcessHeap(), 0, replacement);
    return taken;
}

}  // namespace vyrtel

#include "app/selection_mend/window_kind.h"

namespace vyrtel::mend {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

constexpr std::string_view kTerminals[] = {
    "ConsoleWindowClass", "WineConsoleClass", "CASCADIA_HOSTING_WINDOW_CLASS",
    "mintty", "PuTTY", "KiTTY", "VirtualConsoleClass",
};

// Rich edit 2.0 and later, whose text holds a line break as "\r".
constexpr std::string_view kRichEdits[] = {"RichEdit20A", "RichEdit20W", "RICHEDIT50W", "RICHEDIT60W"};

WindowKind kindOfControl(std::string_view name) {
    if (same(name, "Edit") || same(name, "RichEdit")) return WindowKind::Edit;  // 1.0 keeps "\r\n"
    for (std::string_view richEdit : kRichEdits) {
        if (same(name, richEdit)) return WindowKind::RichEdit;
    }
    return WindowKind::Other;
}

}  // namespace

WindowKind kindOfClass(std::string_view className) {
    for (std::string_view terminal : kTerminals) {
        if (same(className, terminal)) return WindowKind::Terminal;
    }
    // Windows Forms names its controls "WindowsForms10.<control>.<application>".
    constexpr std::string_view kForms = "WindowsForms10.";
    // (Views made by hand: substr would bring in the C++ run time's exceptions.)
    if (className.size() > kForms.size() && same(std::string_view(className.data(), kForms.size()), kForms)) {
        const std::string_view rest(className.data() + kForms.size(), className.size() - kForms.size());
        std::size_t control = 0;
        while (control < rest.size() && rest[control] != '.') ++control;
        return kindOfControl(std::string_view(rest.data(), control));
    }
    return kindOfControl(className);
}

}  // namespace vyrtel::mend

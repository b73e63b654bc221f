// Which way a window's selection is mended, by its class name.
#include <gtest/gtest.h>

#include "app/selection_mend/window_kind.h"

namespace {

using vyrtel::mend::kindOfClass;
using vyrtel::mend::WindowKind;

TEST(WindowKind, TerminalsEditsAndRichEditsByClassWhateverTheCase) {
    const std::pair<const char*, WindowKind> cases[] = {
        {"ConsoleWindowClass", WindowKind::Terminal},
        {"WineConsoleClass", WindowKind::Terminal},
        {"CASCADIA_HOSTING_WINDOW_CLASS", WindowKind::Terminal},
        {"mintty", WindowKind::Terminal},
        {"PuTTY", WindowKind::Terminal},
        {"KiTTY", WindowKind::Terminal},
        {"VirtualConsoleClass", WindowKind::Terminal},
        {"Edit", WindowKind::Edit},
        {"EDIT", WindowKind::Edit},
        {"RichEdit", WindowKind::Edit},  // 1.0 holds "\r\n" like an edit
        {"RichEdit20W", WindowKind::RichEdit},
        {"RICHEDIT20A", WindowKind::RichEdit},
        {"RichEdit50W", WindowKind::RichEdit},
        {"RICHEDIT60W", WindowKind::RichEdit},
        {"WindowsForms10.EDIT.app.0.141b42a_r9_ad1", WindowKind::Edit},
        {"WindowsForms10.RichEdit20W.app.0.2bf8098", WindowKind::RichEdit},
        {"WindowsForms10.Window.8.app.0.2bf8098", WindowKind::Other},
        {"WindowsForms10.", WindowKind::Other},
        {"Notepad", WindowKind::Other},
        {"Scintilla", WindowKind::Other},
        {"EditX", WindowKind::Other},
        {"Edi", WindowKind::Other},
        {"ConsoleWindowClas", WindowKind::Other},
        {"", WindowKind::Other},
    };
    for (const auto& [name, kind] : cases) EXPECT_EQ(kindOfClass(name), kind) << name;
}

}  // namespace

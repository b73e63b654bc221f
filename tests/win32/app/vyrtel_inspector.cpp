// Looks at a running Vyrtel.exe from another process, the way the Wine
// tests need to: its frame, the control dialog and its controls, the
// program's other top-level windows (message boxes, the About box), and a
// few acts on the frame. It only reads what any process may read of another
// one's windows (styles, rectangles, texts, check marks) and sends nothing
// but queries, restores, minimises and closes.
//
//   vyrtel_inspector [desktop name]
// With a name, it looks at the windows of that desktop (a Wine virtual
// desktop started with explorer /desktop=name) instead of its own.
//
// Commands, one per line on stdin; each answer is one line starting with
// the command's word (lists end with "<word> end n=<count>"):
//   screen            screen size
//   frame             the top-level window titled "Vyrtel" (and how many)
//   dialog            the frame's client dialog
//   controls          the dialog's child windows in z-order
//   checks            the check marks of the nine radio buttons
//   top <title>       every top-level window with exactly this title (and
//                     its client size and origin, and how many visible
//                     windows are above it), with
//                     its children (message boxes, the About box)
//   focus             where the frame's thread has the keyboard focus
//   edittext <title>  the text of the first edit control of the top-level
//                     window with this title (Notepad's, say), asked with
//                     WM_GETTEXT: "edittext wtext=<hex>", four hex digits
//                     per UTF-16 unit, "-" when empty; "edittext none"
//                     without such a window
//   hits              the hit-test codes found around and on the frame's
//                     non-client area (title bar buttons, sizing borders),
//                     each as code@x,y with the centre of the points found
//   restore | minimize | close [title]   acts on the frame, or on the
//                     top-level window with this title
//   quit
// Rectangles are "left,top,right,bottom"; the dialog's in the frame's
// client coordinates, controls' in the dialog's client coordinates, the
// others on the screen. "centre=x,y" is a control's centre on the screen.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "../common/line_log.h"
#include "resource_ids.h"

namespace {

using testio::say;

constexpr UINT kTimeoutMs = 5000;
const int kRadioIds[] = {IDC_KOI8, IDC_CP1251, IDC_DISABLE, IDC_CTRL_SHIFT_LEFT_RIGHT, IDC_SCROLL_LOCK,
                         IDC_NUM_LOCK, IDC_CTRL_SHIFT_CYCLED, IDC_TYPEWRITER, IDC_PHONETIC};

std::string rectText(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return text;
}

// `rect` (screen) in the client coordinates of `window`.
RECT relativeTo(HWND window, RECT rect) {
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string textOf(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    // One line per answer: line breaks are shown as \n.
    std::string out;
    for (const char* c = text; *c; ++c) {
        if (*c == '\n') {
            out += "\\n";
        } else if (*c != '\r') {
            out += *c;
        }
    }
    return out;
}

std::string classOf(HWND window) {
    char name[128] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

LRESULT query(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result)) return -1;
    return static_cast<LRESULT>(result);
}

struct TitleSearch {
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTitled(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TitleSearch*>(data);
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    if (std::strcmp(text, search->title) == 0) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> topLevelTitled(const char* title) {
    TitleSearch search{title, {}};
    EnumWindows(collectTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND frame() {
    const std::vector<HWND> frames = topLevelTitled("Vyrtel");
    return frames.empty() ? nullptr : frames.front();
}

HWND dialogOf(HWND frameWindow) { return frameWindow ? GetWindow(frameWindow, GW_CHILD) : nullptr; }

// A window's rectangle on the screen, its client size and its client origin
// on the screen.
struct Placement {
    RECT window;
    RECT client;
    POINT origin;
};

Placement placementOf(HWND w) {
    Placement p{{}, {}, {0, 0}};
    GetWindowRect(w, &p.window);
    GetClientRect(w, &p.client);
    ClientToScreen(w, &p.origin);
    return p;
}

void showFrame() {
    const std::vector<HWND> frames = topLevelTitled("Vyrtel");
    if (frames.empty()) {
        say("frame none count=0");
        return;
    }
    HWND f = frames.front();
    const auto [window, client, origin] = placementOf(f);
    DWORD pid = 0;
    GetWindowThreadProcessId(f, &pid);
    say("frame hwnd=%08lx count=%u style=%08lX ex=%08lX visible=%d iconic=%d zoomed=%d foreground=%d enabled=%d "
        "rect=%s client=%ld,%ld origin=%ld,%ld pid=%lu class=%s",
        static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(f)), static_cast<unsigned>(frames.size()),
        GetWindowLongA(f, GWL_STYLE), GetWindowLongA(f, GWL_EXSTYLE), IsWindowVisible(f) ? 1 : 0,
        IsIconic(f) ? 1 : 0, IsZoomed(f) ? 1 : 0, GetForegroundWindow() == f ? 1 : 0, IsWindowEnabled(f) ? 1 : 0,
        rectText(window).c_str(), client.right, client.bottom, origin.x, origin.y, pid, classOf(f).c_str());
}

void showDialog() {
    HWND f = frame();
    HWND d = dialogOf(f);
    if (!d) {
        say("dialog none");
        return;
    }
    const auto [window, client, origin] = placementOf(d);
    say("dialog hwnd=%08lx style=%08lX ex=%08lX rect=%s client=%ld,%ld origin=%ld,%ld parent=%s visible=%d "
        "class=%s title=%s",
        static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(d)), GetWindowLongA(d, GWL_STYLE),
        GetWindowLongA(d, GWL_EXSTYLE), rectText(relativeTo(f, window)).c_str(), client.right, client.bottom,
        origin.x, origin.y, GetParent(d) == f ? "frame" : "other", IsWindowVisible(d) ? 1 : 0,
        classOf(d).c_str(), textOf(d).c_str());
}

void showChildren(const char* word, HWND parent) {
    int count = 0;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(c, &rect);
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        const std::string cls = classOf(c);
        // Only buttons answer BM_GETCHECK; other classes may not expect it.
        const bool button = cls == "BorRadio" || cls == "BorBtn" || cls == "Button";
        say("%s id=%d class=%s style=%08lX rect=%s centre=%ld,%ld visible=%d check=%ld text=%s", word,
            GetDlgCtrlID(c), cls.c_str(), style, rectText(relativeTo(parent, rect)).c_str(),
            (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, IsWindowVisible(c) ? 1 : 0,
            button ? static_cast<long>(query(c, BM_GETCHECK)) : -1L, textOf(c).c_str());
        ++count;
    }
    say("%s end n=%d", word, count);
}

void showChecks() {
    HWND d = dialogOf(frame());
    if (!d) {
        say("checks none");
        return;
    }
    std::string line = "checks";
    for (int id : kRadioIds) {
        HWND button = GetDlgItem(d, id);
        char item[32];
        std::snprintf(item, sizeof item, " %d=%ld", id, button ? static_cast<long>(query(button, BM_GETCHECK)) : -1L);
        line += item;
    }
    say("%s", line.c_str());
}

// How many visible top-level windows lie above `window` in the z-order.
int visibleAbove(HWND window) {
    int above = 0;
    for (HWND w = GetWindow(window, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
        if (IsWindowVisible(w)) ++above;
    }
    return above;
}

void showTop(const char* title) {
    const std::vector<HWND> windows = topLevelTitled(title);
    for (HWND w : windows) {
        const auto [rect, client, origin] = placementOf(w);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        HWND owner = GetWindow(w, GW_OWNER);
        say("top hwnd=%08lx class=%s style=%08lX ex=%08lX rect=%s owner=%08lx owner_enabled=%d enabled=%d visible=%d "
            "foreground=%d pid=%lu client=%ld,%ld origin=%ld,%ld above=%d",
            static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)), classOf(w).c_str(),
            GetWindowLongA(w, GWL_STYLE), GetWindowLongA(w, GWL_EXSTYLE), rectText(rect).c_str(),
            static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)), owner && IsWindowEnabled(owner) ? 1 : 0,
            IsWindowEnabled(w) ? 1 : 0, IsWindowVisible(w) ? 1 : 0, GetForegroundWindow() == w ? 1 : 0, pid,
            client.right, client.bottom, origin.x, origin.y, visibleAbove(w));
        showChildren("child", w);
    }
    say("top end n=%u", static_cast<unsigned>(windows.size()));
}

void showEditText(const char* title) {
    const std::vector<HWND> windows = topLevelTitled(title);
    HWND edit = windows.empty() ? nullptr : FindWindowExA(windows.front(), nullptr, "Edit", nullptr);
    if (!edit) {
        say("edittext none");
        return;
    }
    static wchar_t text[32768];
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(edit, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kTimeoutMs, &length)) {
        length = 0;
    }
    std::string hex;
    char unit[8];
    for (DWORD_PTR i = 0; i < length; ++i) {
        std::snprintf(unit, sizeof unit, "%04x", unsigned(text[i]));
        hex += unit;
    }
    say("edittext wtext=%s", hex.empty() ? "-" : hex.c_str());
}

void showFocus() {
    HWND f = frame();
    if (!f) {
        say("focus none");
        return;
    }
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(f, nullptr), &info);
    HWND d = dialogOf(f);
    const char* where = "none";
    int id = -1;
    if (info.hwndFocus == f) {
        where = "frame";
    } else if (info.hwndFocus && info.hwndFocus == d) {
        where = "dialog";
    } else if (info.hwndFocus && d && GetParent(info.hwndFocus) == d) {
        where = "control";
        id = GetDlgCtrlID(info.hwndFocus);
    } else if (info.hwndFocus) {
        where = "other";
    }
    say("focus in=%s id=%d active=%s", where, id, info.hwndActive == f ? "frame" : info.hwndActive ? "other" : "none");
}

// Hit-tests a band around the frame's edges and its title bar, as the
// pointer would find them, and reports each distinct code found.
void showHits() {
    HWND f = frame();
    if (!f) {
        say("hits none");
        return;
    }
    RECT r;
    GetWindowRect(f, &r);
    POINT origin = {0, 0};
    ClientToScreen(f, &origin);
    struct Found {
        long count = 0, sumX = 0, sumY = 0;
    };
    std::map<long, Found> codes;
    auto probe = [&](long x, long y) {
        Found& found = codes[static_cast<long>(query(f, WM_NCHITTEST, 0, MAKELPARAM(x, y)))];
        ++found.count;
        found.sumX += x;
        found.sumY += y;
    };
    for (long x = r.left; x < r.right; x += 2) {
        for (long y = r.top; y < origin.y; y += 2) probe(x, y);  // title bar and top border
        for (long d = 1; d <= 4; ++d) probe(x, r.bottom - d);
    }
    for (long y = r.top; y < r.bottom; y += 2) {
        for (long d = 0; d < 4; ++d) {
            probe(r.left + d, y);
            probe(r.right - 1 - d, y);
        }
    }
    std::string line = "hits";
    for (const auto& [code, found] : codes) {
        char item[48];
        std::snprintf(item, sizeof item, " %ld@%ld,%ld", code, found.sumX / found.count, found.sumY / found.count);
        line += item;
    }
    say("%s", line.c_str());
}

void act(const char* word, const char* title) {
    HWND f = frame();
    if (title) {
        const std::vector<HWND> windows = topLevelTitled(title);
        f = windows.empty() ? nullptr : windows.front();
    }
    if (!f) {
        say("%s none", word);
        return;
    }
    if (std::strcmp(word, "restore") == 0) {
        ShowWindowAsync(f, SW_RESTORE);
    } else if (std::strcmp(word, "minimize") == 0) {
        ShowWindowAsync(f, SW_MINIMIZE);
    } else {
        PostMessageA(f, WM_CLOSE, 0, 0);
    }
    say("%s ok", word);
}

void execute(char* line) {
    line[std::strcspn(line, "\r\n")] = '\0';
    char* rest = std::strchr(line, ' ');
    if (rest) *rest++ = '\0';
    const char* word = line;
    if (std::strcmp(word, "screen") == 0) {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        say("screen size=%d,%d work=%s", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
            rectText(work).c_str());
    } else if (std::strcmp(word, "frame") == 0) {
        showFrame();
    } else if (std::strcmp(word, "dialog") == 0) {
        showDialog();
    } else if (std::strcmp(word, "controls") == 0) {
        HWND d = dialogOf(frame());
        if (d) {
            showChildren("control", d);
        } else {
            say("control end n=0");
        }
    } else if (std::strcmp(word, "checks") == 0) {
        showChecks();
    } else if (std::strcmp(word, "top") == 0 && rest) {
        showTop(rest);
    } else if (std::strcmp(word, "edittext") == 0 && rest) {
        showEditText(rest);
    } else if (std::strcmp(word, "focus") == 0) {
        showFocus();
    } else if (std::strcmp(word, "hits") == 0) {
        showHits();
    } else if (std::strcmp(word, "restore") == 0 || std::strcmp(word, "minimize") == 0 ||
               std::strcmp(word, "close") == 0) {
        act(word, rest);
    } else {
        say("unknown %s", word);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        HDESK desktop = OpenDesktopA(argv[1], 0, FALSE, GENERIC_ALL);
        if (!desktop || !SetThreadDesktop(desktop)) {
            say("failed desktop %s (error %lu)", argv[1], GetLastError());
            return 2;
        }
    }
    char line[512];
    say("ready");
    while (std::fgets(line, sizeof line, stdin)) {
        if (std::strncmp(line, "quit", 4) == 0) break;
        execute(line);
    }
    return 0;
}

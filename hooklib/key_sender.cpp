#include "hooklib/key_sender.h"

namespace tavrilex {

namespace {

// Keys whose scan code is an extended one (E0 prefix): they must say so, or
// the system takes them for their numeric-keypad twins.
bool isExtendedKey(std::uint8_t virtualKey) {
    return (virtualKey >= VK_PRIOR && virtualKey <= VK_DOWN) || virtualKey == VK_INSERT || virtualKey == VK_DELETE ||
           virtualKey == VK_NUMLOCK || virtualKey == VK_DIVIDE || virtualKey == VK_RCONTROL || virtualKey == VK_RMENU;
}

}  // namespace

KeySender::KeySender()
    : sendInput_(reinterpret_cast<SendInputFn>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("USER32.DLL"), "SendInput")))) {}

void KeySender::Add(WORD virtualKey, WORD scanCode, DWORD flags) {
    if (count_ == kBatch) Flush();
    INPUT& event = events_[count_++];
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = virtualKey;
    event.ki.wScan = scanCode;
    event.ki.dwFlags = flags;
    event.ki.time = 0;
    event.ki.dwExtraInfo = kInjectedKeyMark;
}

void KeySender::Stroke(std::uint8_t scanCode, bool shifted) {
    WORD virtualKey = static_cast<WORD>(MapVirtualKeyA(scanCode, 3 /* MAPVK_VSC_TO_VK_EX */));
    // Systems before Windows 2000 lack that mapping; the plain one gives the
    // same key for every scan code typed again.
    if (virtualKey == 0) virtualKey = static_cast<WORD>(MapVirtualKeyA(scanCode, 1 /* MAPVK_VSC_TO_VK */));
    if (shifted) Key(VK_SHIFT, false);
    Add(virtualKey, scanCode, 0);
    Add(virtualKey, scanCode, KEYEVENTF_KEYUP);
    if (shifted) Key(VK_SHIFT, true);
}

void KeySender::Key(std::uint8_t virtualKey, bool up) {
    // The left Shift's scan code: the hook's left/right toggle method tells
    // the Shift keys apart by it.
    const WORD scanCode = virtualKey == VK_SHIFT ? WORD{0x2A}
                                                 : static_cast<WORD>(MapVirtualKeyA(virtualKey, 0 /* MAPVK_VK_TO_VSC */));
    DWORD flags = up ? KEYEVENTF_KEYUP : 0;
    if (isExtendedKey(virtualKey)) flags |= KEYEVENTF_EXTENDEDKEY;
    Add(virtualKey, scanCode, flags);
}

void KeySender::Press(std::uint8_t virtualKey, int times) {
    for (int i = 0; i < times; ++i) {
        Key(virtualKey, false);
        Key(virtualKey, true);
    }
}

bool KeySender::Character(wchar_t character) {
    if (sendInput_ == nullptr) return false;
    Add(0, static_cast<WORD>(character), KEYEVENTF_UNICODE);
    Add(0, static_cast<WORD>(character), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    return true;
}

bool KeySender::Flush() {
    if (count_ == 0) return allTaken_;
    if (sendInput_ != nullptr) {
        const UINT taken = sendInput_(static_cast<UINT>(count_), events_, sizeof(INPUT));
        if (taken != static_cast<UINT>(count_)) allTaken_ = false;
        if (taken != 0) anyTaken_ = true;
    } else {
        anyTaken_ = true;
        for (int i = 0; i < count_; ++i) {
            const KEYBDINPUT& key = events_[i].ki;
            if (key.dwFlags & KEYEVENTF_UNICODE) continue;
            keybd_event(static_cast<BYTE>(key.wVk), static_cast<BYTE>(key.wScan), key.dwFlags, key.dwExtraInfo);
        }
    }
    count_ = 0;
    return allTaken_;
}

}  // namespace tavrilex

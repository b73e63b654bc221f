// Types keys into whatever window has the keyboard focus, as the keyboard
// would: each key by its virtual key (mapped from the scan code) together
// with its scan code, so that the hook sees the scan code on the character
// and translates it as it translates a real key. Used by the hook library
// (to type a word again) and by the control program (the layout window, the
// selection mender); it needs nothing but USER32 and allocates nothing.
//
// SendInput is looked up, not imported (Windows 95 before OSR2 lacks it);
// without it keybd_event sends the same events one at a time. Events are
// gathered and sent in batches, so that a whole word reaches the input queue
// in one piece, as far as the batch holds it; Flush (or the destructor)
// sends what is left.
#pragma once

#include <windows.h>

#include <cstdint>

#include "hooklib/auto_mend.h"

namespace tavrilex {

// Marks the events this library and the control program inject, in the
// events' extra information (GetMessageExtraInfo reads it back).
inline constexpr ULONG_PTR kInjectedKeyMark = kMarkTyped;

class KeySender {
public:
    KeySender();
    ~KeySender() { Flush(); }
    KeySender(const KeySender&) = delete;
    KeySender& operator=(const KeySender&) = delete;

    // The key of `scanCode` pressed and released, with the left Shift held
    // around it when `shifted`.
    void Stroke(std::uint8_t scanCode, bool shifted);
    // A key given by its virtual key (Backspace, Enter, a lock key, Ctrl),
    // pressed and released `times` times.
    void Press(std::uint8_t virtualKey, int times = 1);
    // One half of a key's press, for chords (Ctrl down, C, Ctrl up).
    void Down(std::uint8_t virtualKey) { Key(virtualKey, false); }
    void Up(std::uint8_t virtualKey) { Key(virtualKey, true); }
    // A character that no key gives, typed as Unicode input (scan code 0,
    // which the hook passes as it is). False where the system has no
    // SendInput; nothing is typed then.
    bool Character(wchar_t character);
    // One event as given, carrying `mark` instead of kInjectedKeyMark.
    void Event(WORD virtualKey, WORD scanCode, DWORD flags, ULONG_PTR mark) {
        Add(virtualKey, scanCode, flags);
        MarkLast(mark);
    }
    // Gives the event added last `mark` instead of kInjectedKeyMark.
    void MarkLast(ULONG_PTR mark) {
        if (count_ != 0) events_[count_ - 1].ki.dwExtraInfo = mark;
    }

    // Sends what has been gathered. True when the system took every event.
    bool Flush();

    // Whether the system took any event sent so far.
    bool AnyTaken() const { return anyTaken_; }

    // Whether SendInput was found (else keybd_event is used).
    bool HasSendInput() const { return sendInput_ != nullptr; }

private:
    using SendInputFn = UINT(WINAPI*)(UINT, LPINPUT, int);
    static constexpr int kBatch = 64;

    void Key(std::uint8_t virtualKey, bool up);
    void Add(WORD virtualKey, WORD scanCode, DWORD flags);

    SendInputFn sendInput_;
    INPUT events_[kBatch];
    int count_ = 0;
    bool allTaken_ = true;
    bool anyTaken_ = false;
};

}  // namespace tavrilex

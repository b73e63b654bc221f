// The translation engine: everything GetMsgHookProc decides, with no
// platform call of its own. The DLL instantiates it with the key states of
// GetKeyboardState, Beep, CallNextHookEx, PostMessage, IsWindowUnicode and
// its per-process code page table; the tests and benchmarks with fakes. It runs on every message that
// every GUI thread retrieves, so the common path (a message that is neither
// WM_KEYDOWN nor WM_CHAR) is a handful of compares and nothing else.
//
// Platform requirements (duck-typed, resolved at compile time):
//   std::int16_t keyState(int virtualKey);        // as GetKeyState gives it
//   void beep(std::uint32_t hertz, std::uint32_t milliseconds);  // Beep
//   std::intptr_t callNextHook(std::uintptr_t hook, std::int32_t code,
//                              std::uintptr_t wParam, std::intptr_t lParam);
//   void postMode(std::uintptr_t window, std::uint32_t translated, std::int32_t method);
//       posts the mode message (kModeMessageName) to the registered window
//   std::uint32_t characterFor(std::uint8_t tableByte);
//       the character code a WM_CHAR carries for a byte of the table, in the
//       form of the messages the hook is handed (the DLL: the UTF-16 unit
//       that the byte stands for in the process's ANSI code page)
//   bool takesLetters(decltype(Message::hwnd) window);
//       whether the window receives a table's letters rather than its bytes
//       (the DLL: a Unicode window, on a system whose hooks are handed the
//       Unicode form of messages)
//   TypedWord& word();  // this process's word being typed (typed_word.h)
//   bool hidesText(std::uintptr_t window);
//       whether the window shows its text as stars (a password edit)
//   void pressLock(int virtualKey);  // presses a lock key as the user would
//   void typeAgain(int backspaces, const TypedKey* keys, int count, int spaces);
//       types `backspaces` Backspaces, then each key (Shift held around the
//       shifted ones), then `spaces` spaces, as keys with their scan codes
//   void postMend(std::uintptr_t window);
//       posts the mend-selection request to the registered window
//   AutoMend& autoMend();  // this process's automatic-mend state (auto_mend.h)
//   std::uintptr_t messageMark();  // the retrieved message's extra information
//   std::uint32_t now();           // a millisecond tick count
//   bool shouldMend(const vyrtel::automend::TypedSigns& word);  // the decision
//   bool caretAfterWord(std::uintptr_t window, const char16_t* shown, int count);
//       false when the window is an edit control whose selection is not
//       empty or whose text before the caret is not `shown`
//   bool typeMend(const TypedKey* keys, int count, bool shiftDown);
//       false when the system took none of its keys
//       types Shift up, `count` Backspaces, the keys and a space, the last
//       event marked kMarkTypedEnd, then Shift down again when `shiftDown`
//   void replay(const HeldKey& key, std::uint32_t mark);
//       injects a held key message's event again with `mark`
// Message requirements: fields `hwnd`, `message`, `wParam`, `lParam` (as in
// MSG).
#pragma once

#include <cstdint>
#include <type_traits>

#include "auto_mend.h"
#include "automend/decision.h"
#include "layouts/latin_keys.h"
#include "shared_state.h"
#include "typed_word.h"

namespace tavrilex {

inline constexpr std::uint32_t kWmNull = 0x0000;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kWmChar = 0x0102;
inline constexpr std::uint32_t kWmSysKeyDown = 0x0104;
inline constexpr std::uint32_t kWmMouseFirstButton = 0x0201;  // WM_LBUTTONDOWN
inline constexpr std::uint32_t kWmMouseWheel = 0x020A;
inline constexpr std::uint32_t kWmMouseLastButton = 0x020D;   // WM_XBUTTONDBLCLK
inline constexpr std::uint32_t kWmTouch = 0x0240;             // WM_TOUCH, then the WM_POINTER... messages
inline constexpr std::uint32_t kWmPointerLast = 0x0257;

inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;
inline constexpr int kVkPause = 0x13;
inline constexpr int kVkCapital = 0x14;
inline constexpr int kVkSpace = 0x20;
inline constexpr int kVkNumLock = 0x90;
inline constexpr int kVkScroll = 0x91;

inline constexpr std::uint8_t kScanLeftShift = 0x2A;

inline constexpr std::uint32_t kBeepOnHertz = 1000;
inline constexpr std::uint32_t kBeepOffHertz = 600;
inline constexpr std::uint32_t kBeepMilliseconds = 40;

namespace detail {

// Another process may rewrite any shared field at any moment; each decision
// works on one read of it, never on a re-read that could differ.
template <class T>
inline T readShared(const T& field) {
    return __atomic_load_n(&field, __ATOMIC_RELAXED);
}

template <class T, class U>
inline void writeShared(T& field, U value) {
    __atomic_store_n(&field, static_cast<T>(value), __ATOMIC_RELAXED);
}

inline bool isDown(std::int16_t keyState) {
    return (static_cast<std::uint16_t>(keyState) & 0xFF80u) != 0;
}

inline bool isToggledOn(std::int16_t keyState) {
    return (keyState & 1) != 0;
}

// A key's state as GetKeyState gives it, from its byte of the array that
// GetKeyboardState fills: 0xFF80 while down, bit 0 the toggle bit.
inline std::int16_t keyStateFromKeyboardByte(std::uint8_t keyboardByte) {
    return static_cast<std::int16_t>(((keyboardByte & 0x80u) != 0 ? 0xFF80u : 0u) | (keyboardByte & 1u));
}

// A message's window as a number, whether the message record holds a
// handle (MSG) or a number (the tests' and benchmarks' records).
template <class Window>
inline std::uintptr_t windowWord(Window window) {
    if constexpr (std::is_pointer_v<Window>) {
        return reinterpret_cast<std::uintptr_t>(window);
    } else {
        return static_cast<std::uintptr_t>(window);
    }
}

inline std::uint8_t scanCodeOf(std::uint32_t lParam) {
    return static_cast<std::uint8_t>(lParam >> 16);
}

inline constexpr std::uint32_t kExtendedKeyBit = 1u << 24;
inline constexpr std::uint32_t kContextCodeBit = 1u << 29;
inline constexpr std::uint32_t kPreviousStateBit = 1u << 30;

// Linear search in stored order, first match wins; returns the position of
// the match, or the number of entries searched when there is none. The count
// comes from shared memory that any process can write: whatever it holds,
// the search stays inside the 64 entries of the table area.
//
// An absent scan code walks the whole table on every character typed, so the
// search is unrolled completely: it jumps to the probe of the first entry and
// falls through to the last, two instructions per entry.
inline std::int32_t findEntry(const KeyEntry* table, std::int32_t count, std::uint8_t scanCode) {
    if (count <= 0) return 0;
    const std::int32_t n = count < kTableCapacity ? count : kTableCapacity;
    const KeyEntry* const end = table + n;
#define TAVRILEX_PROBE(k) \
    case k:               \
        if (end[-(k)].scanCode == scanCode) return n - (k); \
        [[fallthrough]];
    switch (n) {
        TAVRILEX_PROBE(64) TAVRILEX_PROBE(63) TAVRILEX_PROBE(62) TAVRILEX_PROBE(61) TAVRILEX_PROBE(60) TAVRILEX_PROBE(59) TAVRILEX_PROBE(58) TAVRILEX_PROBE(57)
        TAVRILEX_PROBE(56) TAVRILEX_PROBE(55) TAVRILEX_PROBE(54) TAVRILEX_PROBE(53) TAVRILEX_PROBE(52) TAVRILEX_PROBE(51) TAVRILEX_PROBE(50) TAVRILEX_PROBE(49)
        TAVRILEX_PROBE(48) TAVRILEX_PROBE(47) TAVRILEX_PROBE(46) TAVRILEX_PROBE(45) TAVRILEX_PROBE(44) TAVRILEX_PROBE(43) TAVRILEX_PROBE(42) TAVRILEX_PROBE(41)
        TAVRILEX_PROBE(40) TAVRILEX_PROBE(39) TAVRILEX_PROBE(38) TAVRILEX_PROBE(37) TAVRILEX_PROBE(36) TAVRILEX_PROBE(35) TAVRILEX_PROBE(34) TAVRILEX_PROBE(33)
        TAVRILEX_PROBE(32) TAVRILEX_PROBE(31) TAVRILEX_PROBE(30) TAVRILEX_PROBE(29) TAVRILEX_PROBE(28) TAVRILEX_PROBE(27) TAVRILEX_PROBE(26) TAVRILEX_PROBE(25)
        TAVRILEX_PROBE(24) TAVRILEX_PROBE(23) TAVRILEX_PROBE(22) TAVRILEX_PROBE(21) TAVRILEX_PROBE(20) TAVRILEX_PROBE(19) TAVRILEX_PROBE(18) TAVRILEX_PROBE(17)
        TAVRILEX_PROBE(16) TAVRILEX_PROBE(15) TAVRILEX_PROBE(14) TAVRILEX_PROBE(13) TAVRILEX_PROBE(12) TAVRILEX_PROBE(11) TAVRILEX_PROBE(10) TAVRILEX_PROBE(9)
        TAVRILEX_PROBE(8) TAVRILEX_PROBE(7) TAVRILEX_PROBE(6) TAVRILEX_PROBE(5) TAVRILEX_PROBE(4) TAVRILEX_PROBE(3) TAVRILEX_PROBE(2) TAVRILEX_PROBE(1)
        default:
            break;
    }
#undef TAVRILEX_PROBE
    return n;
}

// Tells the control program's registered window that typing under `method`
// is now translated (1) or not (0), so that it can show the mode at once.
// Nothing is posted while no window is registered.
template <class Platform>
void announceMode(const SharedHookState& state, std::uint32_t translated, std::int32_t method, Platform& platform) {
    const HandleWord window = readShared(state.registeredWindow);
    if (window != 0) platform.postMode(window, translated, method);
}

template <class Platform>
void announceSwitch(SharedHookState& state, std::uint32_t nowOn, std::int32_t method, Platform& platform) {
    writeShared(state.translationSwitch, nowOn);
    if (readShared(state.beeperFlag) != 0) {
        platform.beep(nowOn ? kBeepOnHertz : kBeepOffHertz, kBeepMilliseconds);
    }
    announceMode(state, nowOn, method, platform);
}

// Sets typing to translated or not as the user's toggle keys would: under
// the Ctrl+Shift methods through the switch (beep and mode message
// included), under the lock-key methods by a press of that lock key, which
// the platform injects (its key-down then announces the mode wherever it
// arrives). `platform.pressLock(virtualKey)` does the pressing. Returns 1
// when something changed or was pressed, 0 when typing already was so, and
// -1 under a method that toggles nothing.
template <class Platform>
std::int32_t switchTranslation(SharedHookState& state, bool on, Platform& platform) {
    const std::int32_t method = readShared(state.toggleMethod);
    switch (method) {
        case kToggleCtrlShiftCycled:
        case kToggleCtrlShiftLeftRight:
            if ((readShared(state.translationSwitch) != 0) == on) return 0;
            announceSwitch(state, on ? 1u : 0u, method, platform);
            return 1;
        case kToggleScrollLock:
        case kToggleNumLock: {
            const int lock = method == kToggleScrollLock ? kVkScroll : kVkNumLock;
            if (isToggledOn(platform.keyState(lock)) == on) return 0;
            platform.pressLock(lock);
            return 1;
        }
        default:
            return -1;
    }
}

// Whether typing under the active method is translated now: the switch of
// the Ctrl+Shift methods, the lock key's toggle state of the lock-key
// methods; -1 under a method that toggles nothing.
template <class Platform>
std::int32_t translatingNow(const SharedHookState& state, Platform& platform) {
    switch (readShared(state.toggleMethod)) {
        case kToggleCtrlShiftCycled:
        case kToggleCtrlShiftLeftRight:
            return readShared(state.translationSwitch) != 0 ? 1 : 0;
        case kToggleScrollLock:
            return isToggledOn(platform.keyState(kVkScroll)) ? 1 : 0;
        case kToggleNumLock:
            return isToggledOn(platform.keyState(kVkNumLock)) ? 1 : 0;
        default:
            return -1;
    }
}

// Under the lock-key methods the lock key's own toggle state decides, so its
// key-down is announced with the toggle bit read now. The thread's key state
// takes the key as the message is retrieved, before the hook runs, so that
// bit is already the new state (the Wine tests of the icon show it). A
// key-down peeked without removal and retrieved later is announced on each
// pass, and the last announcement is of the state after retrieval. The key
// of the other lock method, and both under the other methods, announce
// nothing.
template <class Platform>
__attribute__((noinline, cold)) void onLockKeyDown(const SharedHookState& state, std::uint32_t virtualKey, bool removed, Platform& platform) {
    const std::int32_t method = readShared(state.toggleMethod);
    const bool governs = (method == kToggleScrollLock && virtualKey == static_cast<std::uint32_t>(kVkScroll)) ||
                         (method == kToggleNumLock && virtualKey == static_cast<std::uint32_t>(kVkNumLock));
    if (!governs) return;
    if (removed) word::forget(platform.word());  // the user's toggle ends the word
    const std::int16_t lock = platform.keyState(static_cast<int>(virtualKey));
    announceMode(state, isToggledOn(lock) ? 1u : 0u, method, platform);
}

// Pause with no modifier types the word again in the other mode: the mode
// flips as its toggle keys flip it, then Backspaces take the word and its
// spaces back and its keys are typed anew, for the hook to translate in the
// new mode. Shift+Pause asks the control program to mend the selection.
// Either way the program never sees the key: it becomes WM_NULL, on a peek
// too, and acts once, when removed. Pause passes unchanged with nothing to
// mend: no word typed into this window, no table, no registered window.
template <class Platform, class Message>
__attribute__((noinline, cold)) std::intptr_t onPause(SharedHookState& state, Platform& platform, Message& msg,
                                                      bool removed) {
    if (readShared(state.entryCount) <= 0) return 0;
    if (isDown(platform.keyState(kVkControl)) || isDown(platform.keyState(kVkMenu))) return 0;
    TypedWord& typed = platform.word();
    if (isDown(platform.keyState(kVkShift))) {
        const HandleWord window = readShared(state.registeredWindow);
        if (window == 0) return 0;
        msg.message = kWmNull;
        if (removed) {
            word::forget(typed);
            platform.postMend(window);
        }
        return 0;
    }
    if (word::empty(typed) || windowWord(msg.hwnd) != typed.window ||
        readShared(state.hookHandle) != typed.hook) {
        return 0;
    }
    const std::int32_t translating = translatingNow(state, platform);
    if (translating < 0) return 0;
    msg.message = kWmNull;
    if (!removed) return 0;

    switchTranslation(state, translating == 0, platform);
    TypedKey keys[kWordCapacity];
    const int count = word::copyKeys(typed, keys);
    AutoMend& mend = platform.autoMend();
    if (mend.mendedKeys != 0) {
        // Pause right after an automatic mend takes it back, for good.
        if (typed.window == mend.mendedWindow && automend::keyHash(keys, count) == mend.mendedKeys) {
            automend::rememberUndone(mend, mend.undoneWord);
        }
        mend.mendedKeys = 0;
    }
    const int spaces = typed.spaces < kWordCapacity ? typed.spaces : kWordCapacity;
    const int backspaces = count + spaces;
    // Forgotten before any of it arrives: the keys make the word anew.
    word::forget(typed);
    platform.typeAgain(backspaces, keys, count, spaces);
    return 0;
}

// Tab, Enter, Esc, Page Up, Page Down, End, Home, the arrows, Insert and
// Delete: keys that move the caret or leave the line. And keys that give no
// character but may make the program do anything: Select, Print, Execute,
// Print Screen, Help, the Windows keys and Apps, the function keys, the
// browser and media keys, an input method's key.
inline bool endsWord(std::uint32_t virtualKey) {
    return virtualKey == 0x09 || virtualKey == 0x0D || virtualKey == 0x1B || virtualKey - 0x21u <= 0x0Bu ||
           virtualKey - 0x2Du <= 2u || virtualKey - 0x5Bu <= 2u || virtualKey - 0x70u <= 0x17u ||
           virtualKey - 0xA6u <= 0x11u || virtualKey == 0xE5;
}

// The signs a word's keys give: the Latin sign with translation off, the
// table's letter with it on (an entry found by scan code as a character is
// translated; Caps Lock inverting Shift for the caps-flag entries), and
// what the window was handed for each key in the mode in force.
struct WordSigns {
    char16_t latin[kWordCapacity];
    char16_t letters[kWordCapacity];
    char16_t shown[kWordCapacity];
};

// The entry of each scan code below kIndexedScans, found once for all the
// keys of a word: entry + 1, 0 for none; the first entry of a scan code
// wins, as in findEntry. The keys that give signs all lie below it.
inline constexpr int kIndexedScans = 64;

union EntryIndex {
    std::uint8_t at[kIndexedScans];
    std::uint64_t words[kIndexedScans / 8];  // cleared eight at a time
};

inline void indexEntries(const SharedHookState& state, EntryIndex& index) {
    for (int i = 0; i < kIndexedScans / 8; ++i) index.words[i] = 0;
    std::int32_t n = readShared(state.entryCount);
    if (n > kTableCapacity) n = kTableCapacity;
    for (std::int32_t i = n - 1; i >= 0; --i) {
        const std::uint8_t scan = state.tableArea[i].scanCode;
        if (scan < kIndexedScans) index.at[scan] = static_cast<std::uint8_t>(i + 1);
    }
}

template <class Platform>
void signsOf(const SharedHookState& state, const EntryIndex& index, Platform& platform, const TypedKey* keys, int count,
             bool translated, bool lettersToWindow, WordSigns& signs) {
    const bool caps = isToggledOn(platform.keyState(kVkCapital));
    for (int i = 0; i < count; ++i) {
        const TypedKey key = keys[i];
        signs.latin[i] = vyrtel::layouts::latinSign(key.scanCode, key.shifted != 0, caps);
        signs.letters[i] = 0;
        char16_t byteSign = 0;
        const int found = key.scanCode < kIndexedScans ? index.at[key.scanCode] : 0;
        if (found != 0) {
            const int at = found - 1;
            const KeyEntry entry = state.tableArea[at];
            const bool shifted = (key.shifted != 0) != (entry.capsFlag != 0 && caps);
            signs.letters[i] = readShared(state.letterArea[2 * at + (shifted ? 1 : 0)]);
            byteSign = static_cast<char16_t>(platform.characterFor(shifted ? entry.shifted : entry.unshifted));
        }
        if (!translated) {
            signs.shown[i] = signs.latin[i];
        } else {
            signs.shown[i] = lettersToWindow && signs.letters[i] != 0 ? signs.letters[i] : byteSign;
        }
    }
}

// The table's layout, told by its Q key: я in the phonetic tables, й in
// the typewriter ones.
inline vyrtel::automend::Layout layoutOf(const SharedHookState& state, const EntryIndex& index) {
    const int at = index.at[0x10] - 1;
    if (at >= 0 && readShared(state.letterArea[2 * at]) == u'я') {
        return vyrtel::automend::Layout::Phonetic;
    }
    return vyrtel::automend::Layout::Typewriter;
}

// The space that ends a word, with the automatic mend on: when the word was
// typed in the wrong mode, the space never reaches the window; the mode
// flips as Pause flips it and the word and its space are typed again,
// while every key of the user's that comes meanwhile is held (auto_mend.h).
// Returns true when it mended. A word is left alone when it is not the
// window's, was typed under an earlier hook, was taken back by Pause
// before, or the caret no longer stands right after it.
template <class Platform, class Message>
__attribute__((noinline, cold)) bool autoMendAtSpace(SharedHookState& state, Platform& platform, Message& msg) {
    TypedWord& typed = platform.word();
    if (word::empty(typed) || typed.spaces != 0 || windowWord(msg.hwnd) != typed.window ||
        readShared(state.hookHandle) != typed.hook) {
        return false;
    }
    if (isTypedMark(platform.messageMark())) return false;
    if (isDown(platform.keyState(kVkControl)) || isDown(platform.keyState(kVkMenu))) return false;
    const std::int32_t translating = translatingNow(state, platform);
    if (translating < 0) return false;

    TypedKey keys[kWordCapacity];
    const int count = word::copyKeys(typed, keys);
    AutoMend& mend = platform.autoMend();
    const bool translated = translating != 0;
    // Asked about only while the process remembers a word taken back.
    if (mend.undoneCount != 0 && automend::wasUndone(mend, automend::wordHash(keys, count, translated))) return false;

    EntryIndex index;
    indexEntries(state, index);
    WordSigns signs;
    signsOf(state, index, platform, keys, count, translated,
            msg.hwnd != decltype(msg.hwnd){} && platform.takesLetters(msg.hwnd), signs);
    const vyrtel::automend::TypedSigns word{translated ? signs.letters : signs.latin,
                                            translated ? signs.latin : signs.letters, count, translated,
                                            layoutOf(state, index)};
    if (!platform.shouldMend(word)) return false;
    if (!platform.caretAfterWord(typed.window, signs.shown, count)) return false;

    msg.message = kWmNull;
    const bool shiftDown = isDown(platform.keyState(kVkShift));
    switchTranslation(state, !translated, platform);
    mend.mendedWindow = typed.window;
    mend.mendedKeys = automend::keyHash(keys, count);
    mend.undoneWord = automend::wordHash(keys, count, translated);
    // Forgotten before any of it arrives: the keys make the word anew.
    word::forget(typed);
    automend::startHolding(mend, platform.now());
    if (!platform.typeMend(keys, count, shiftDown)) {
        // The system took none of it (a window that refuses injected
        // input): the space goes through as typed, and the mode goes back.
        mend.holding = false;
        mend.mendedKeys = 0;
        switchTranslation(state, translated, platform);
        msg.message = kWmKeyDown;
        return false;
    }
    return true;
}

// A key message retrieved while a mend is being typed: the user's is held
// back and typed again behind the mend (auto_mend.h). True when held.
template <class Platform, class Message>
__attribute__((noinline, cold)) bool holdKey(Platform& platform, Message& msg, bool removed) {
    AutoMend& mend = platform.autoMend();
    if (!automend::holds(mend, platform.messageMark(), removed, platform.now())) return false;
    const std::uint32_t lParam = static_cast<std::uint32_t>(msg.lParam);
    const HeldKey key{static_cast<std::uint8_t>(msg.wParam), scanCodeOf(lParam),
                      static_cast<std::uint32_t>(msg.message) == kWmKeyUp, (lParam & kExtendedKeyBit) != 0};
    msg.message = kWmNull;
    if (removed) platform.replay(key, replayMark(mend.round));
    return true;
}

// A Shift key-down while Ctrl is held flips translation (method 2) or sets it
// by the side of the Shift key (method 3). Auto-repeat never toggles. A
// Scroll Lock or Num Lock key-down is announced under its own method. Pause
// mends the last word; Enter, Tab, Esc, the navigation and editing keys and
// the user's toggles end it.
template <class Platform, class Message>
std::intptr_t onKeyDown(SharedHookState& state, Platform& platform, Message& msg, bool removed) {
    const std::uint32_t lParam = static_cast<std::uint32_t>(msg.lParam);
    const std::uint32_t virtualKey = static_cast<std::uint32_t>(msg.wParam);
    if (removed && endsWord(virtualKey)) word::forget(platform.word());
    if ((lParam & kPreviousStateBit) != 0) return 0;
    if (virtualKey == static_cast<std::uint32_t>(kVkSpace) && removed && readShared(state.autoMendFlag) != 0 &&
        readShared(state.entryCount) > 0 && scanCodeOf(lParam) == word::kScanSpace) {
        autoMendAtSpace(state, platform, msg);
        return 0;
    }
    if (virtualKey != static_cast<std::uint32_t>(kVkShift)) {
        if (virtualKey == static_cast<std::uint32_t>(kVkScroll) || virtualKey == static_cast<std::uint32_t>(kVkNumLock)) {
            onLockKeyDown(state, virtualKey, removed, platform);
        } else if (virtualKey == static_cast<std::uint32_t>(kVkPause)) {
            return onPause(state, platform, msg, removed);
        }
        return 0;
    }

    const std::int32_t method = readShared(state.toggleMethod);
    if (method != kToggleCtrlShiftCycled && method != kToggleCtrlShiftLeftRight) return 0;

    const std::int16_t ctrl = platform.keyState(kVkControl);
    writeShared(state.ctrlSlot, ctrl);
    if (!isDown(ctrl)) return 0;
    if (removed) word::forget(platform.word());

    const std::uint32_t current = readShared(state.translationSwitch);
    if (method == kToggleCtrlShiftCycled) {
        announceSwitch(state, current != 0 ? 0u : 1u, method, platform);
        return 0;
    }
    const std::uint8_t scanCode = scanCodeOf(lParam);
    writeShared(state.scanCodeSlot, scanCode);
    if (scanCode == kScanLeftShift) {
        if (current != 0) announceSwitch(state, 0u, method, platform);
    } else {
        if (current == 0) announceSwitch(state, 1u, method, platform);
    }
    return 0;
}

// Keeps a character removed from the queue, with Ctrl up, in this
// process's word. A character with no key (scan code 0: an input method,
// injected Unicode input, posted text) or for no window ends the word, and
// without a table nothing is kept.
template <class Platform, class Message>
__attribute__((always_inline)) inline void noteCharacter(const SharedHookState& state, Platform& platform,
                                                        const Message& msg) {
    TypedWord& typed = platform.word();
    const std::uint8_t scanCode = scanCodeOf(static_cast<std::uint32_t>(msg.lParam));
    const std::uintptr_t window = windowWord(msg.hwnd);
    if (scanCode == 0 || window == 0 || readShared(state.entryCount) <= 0) {
        word::forget(typed);
        return;
    }
    const bool shifted = isDown(platform.keyState(kVkShift));
    word::noteCharacter(typed, window, readShared(state.hookHandle), static_cast<std::uint32_t>(msg.wParam), scanCode,
                        shifted, [&](std::uintptr_t w) { return platform.hidesText(w); });
}

// Replaces the character of a WM_CHAR by the active table's byte for its
// scan code, when translation is active: in a Unicode window by the letter
// the record holds for that byte, where it holds one. Both steps return the
// hook procedure's result, which is always 0.
template <class Platform, class Message>
std::intptr_t onChar(SharedHookState& state, Platform& platform, Message& msg, bool removed) {
    const std::uint32_t lParam = static_cast<std::uint32_t>(msg.lParam);
    if ((lParam & (kExtendedKeyBit | kContextCodeBit)) != 0) {
        if (removed) word::forget(platform.word());
        return 0;
    }

    const std::int16_t ctrl = platform.keyState(kVkControl);
    writeShared(state.ctrlSlot, ctrl);
    if (isDown(ctrl)) {
        if (removed) word::forget(platform.word());
        return 0;
    }
    if (removed) noteCharacter(state, platform, msg);

    switch (readShared(state.toggleMethod)) {
        case kToggleScrollLock: {
            const std::int16_t scroll = platform.keyState(kVkScroll);
            writeShared(state.scrollLockSlot, scroll);
            if (!isToggledOn(scroll)) return 0;
            break;
        }
        case kToggleNumLock: {
            const std::int16_t num = platform.keyState(kVkNumLock);
            writeShared(state.numLockSlot, num);
            if (!isToggledOn(num)) return 0;
            break;
        }
        case kToggleCtrlShiftCycled:
        case kToggleCtrlShiftLeftRight:
            if (readShared(state.translationSwitch) == 0) return 0;
            break;
        default:  // never set by the control program: translate always
            break;
    }

    const std::uint8_t scanCode = scanCodeOf(lParam);
    writeShared(state.scanCodeSlot, scanCode);
    // Scan code 0 is no key: it is what characters carry that come from an
    // input method, an on-screen keyboard, posted text or injected Unicode
    // input. Such a character passes as it came, whatever the table holds
    // (the built-in tables end in an all-zero entry, which would otherwise
    // turn every one of them into character 0).
    if (scanCode == 0) return 0;
    const std::int32_t count = readShared(state.entryCount);
    const std::int32_t at = findEntry(state.tableArea, count, scanCode);
    writeShared(state.searchPositionSlot, at);
    if (at >= count || at >= kTableCapacity) return 0;

    // One read of the entry: a concurrent table load may change it under us.
    const KeyEntry entry = state.tableArea[at];
    const std::int16_t shift = platform.keyState(kVkShift);
    writeShared(state.shiftSlot, static_cast<std::uint16_t>(shift) & 0xFF80u);
    bool shifted = isDown(shift);
    if (entry.capsFlag != 0) {
        const std::uint16_t capsOn = isToggledOn(platform.keyState(kVkCapital)) ? 1 : 0;
        writeShared(state.capsLockSlot, capsOn);
        shifted = shifted != (capsOn != 0);
        writeShared(state.shiftSlot, shifted ? 1u : 0u);
    }
    // The letter is the byte's meaning in the table's own coding, which the
    // system's code page may not share (KOI8, or any coding under a Western
    // code page); a window that reads 8-bit characters gets the byte.
    const std::uint16_t letter = readShared(state.letterArea[2 * at + (shifted ? 1 : 0)]);
    if (letter != 0 && msg.hwnd != decltype(msg.hwnd){} && platform.takesLetters(msg.hwnd)) {
        msg.wParam = letter;
    } else {
        msg.wParam = platform.characterFor(shifted ? entry.shifted : entry.unshifted);
    }
    return 0;
}

// The rest of the input messages, in a step of their own so that the
// character step is reached with no frame set up on the way.
template <class Platform, class Message>
__attribute__((noinline)) std::intptr_t onOtherInput(SharedHookState& state, Platform& platform, Message& msg,
                                                     bool removed) {
    const std::uint32_t message = static_cast<std::uint32_t>(msg.message);
    if (message - kWmKeyDown <= kWmKeyUp - kWmKeyDown) {
        if (platform.autoMend().holding && holdKey(platform, msg, removed)) [[unlikely]] return 0;
        if (message == kWmKeyDown) return onKeyDown(state, platform, msg, removed);
        return 0;
    }
    // A key with Alt, a click or a double click, touch or pen anywhere in
    // the thread: the caret may be elsewhere now.
    if (removed && (message == kWmSysKeyDown ||
                    (message >= kWmMouseFirstButton && message <= kWmMouseLastButton && message != kWmMouseWheel) ||
                    message - kWmTouch <= kWmPointerLast - kWmTouch)) {
        word::forget(platform.word());
    }
    return 0;
}

// The messages the hook acts on. A message peeked without removal is seen
// again when it is removed: the word takes it then, once.
template <class Platform, class Message>
__attribute__((noinline)) std::intptr_t onInput(SharedHookState& state, Platform& platform, Message& msg,
                                                std::uintptr_t removeFlag) {
    const bool removed = (removeFlag & 1u) != 0;
    const std::uint32_t message = static_cast<std::uint32_t>(msg.message);
    if (message == kWmChar) return onChar(state, platform, msg, removed);
    return onOtherInput(state, platform, msg, removed);
}

}  // namespace detail

// GetMsgHookProc itself, but for the platform calls. A negative code is
// handed on to the next hook with the hook handle held in the shared record,
// and its result returned; any other code returns 0. For code 0, lParam
// points to the retrieved message, whose wParam a WM_CHAR may have rewritten.
// A message peeked without removal and then retrieved is examined twice:
// translated both times, kept in the word once (the remove flag tells).
template <class Message, class Platform>
inline std::intptr_t hookProcedure(SharedHookState& state, std::int32_t code, std::uintptr_t removeFlag,
                                   std::intptr_t lParam, Platform& platform) {
    if (code != 0) [[unlikely]] {
        if (code > 0) return 0;
        return platform.callNextHook(detail::readShared(state.hookHandle), code, removeFlag, lParam);
    }
    // The common case leaves after two compares. The key steps stay out of
    // line, so it carries none of their code (with a stateless platform they
    // are reached by tail calls and it sets up no frame at all).
    Message& msg = *reinterpret_cast<Message*>(lParam);
    const std::uint32_t message = static_cast<std::uint32_t>(msg.message);
    // One compare takes the keyboard messages WM_KEYDOWN to WM_SYSKEYDOWN
    // (0x100..0x104) and the mouse buttons' messages (0x201..0x20D) out of
    // line, and leaves WM_MOUSEMOVE (0x200) here: XOR 0x300 maps them to
    // 0x200..0x204 and 0x101..0x10D, and WM_MOUSEMOVE to 0x100. Messages
    // 0x20E..0x2FF come along and are let go there.
    if (((message ^ 0x300u) - 0x101u) <= 0x103u) return detail::onInput(state, platform, msg, removeFlag);
    return 0;
}

}  // namespace tavrilex

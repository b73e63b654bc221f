// The interface of Tavrilex.dll as its callers see it: the toggle methods,
// the names the control program looks up with GetProcAddress and the
// signatures behind them. All exports use the standard Windows calling
// convention and take and return 32-bit values, but for handles and
// pointers, which are as wide as the build's (64 bits in the x86-64
// library); none validates its arguments or reports errors. The numbers
// need no windows.h, so that portable code (the engine, the control
// program's model) shares them.
#pragma once

#include <cstdint>

#include "layouts/key_entry.h"

namespace tavrilex {

// Toggle methods, as SetToggler takes them. Any other value is stored as
// given and means: translate every character, toggle nothing.
inline constexpr std::int32_t kToggleScrollLock = 0;
inline constexpr std::int32_t kToggleNumLock = 1;
inline constexpr std::int32_t kToggleCtrlShiftCycled = 2;
inline constexpr std::int32_t kToggleCtrlShiftLeftRight = 3;

// The window message (registered under this name with
// RegisterWindowMessageA) that the hook posts to the window given to DllReg
// whenever what it does to typing changes: on a switch by Ctrl+Shift under
// methods 2 and 3, and on a Scroll Lock or Num Lock key-down under its own
// method. wParam: 1 when typing is now translated, 0 when not; lParam: the
// toggle method the change belongs to.
inline constexpr char kModeMessageName[] = "Tavrilex.Mode";

// The window message (registered under this name) that the hook posts to
// the window given to DllReg when Shift+Pause is pressed in any program
// while a table is loaded: the request to mend the selected text of the
// foreground window. wParam and lParam: 0. The program that pressed it
// never sees that key.
inline constexpr char kMendSelectionMessageName[] = "Tavrilex.MendSelection";

}  // namespace tavrilex

#ifdef _WIN32
#include <windows.h>

namespace tavrilex::api {

inline constexpr char kLibraryName[] = "Tavrilex.dll";

// Installs the hook (when a table is given, none is installed yet and a
// DllLock has taken the lock with a nonzero module) and makes the first
// `count` entries of `table` the active table, copied, so the caller's
// memory is not kept. A null table removes the hook and leaves table and
// count in place. Returns 1 when a hook is installed after the call, else 0.
// DllCtrl(table, count) is DllCtrlW(table, nullptr, count): the record then
// holds no letters.
using DllCtrlFn = std::int32_t(WINAPI*)(const vyrtel::layouts::KeyEntry* table, std::int32_t count);
inline constexpr char kDllCtrl[] = "DllCtrl";

// DllCtrl with the letters the entries stand for: `letters` holds two UTF-16
// units per entry, letters[2*i] entry i's sign without Shift and
// letters[2*i+1] its sign with Shift, and is read for the same entries as
// the table (the first `count`, at most 64). Where a translated character
// goes to a Unicode window, the hook writes the entry's letter instead of
// the character its byte means in the system's code page; 8-bit windows get
// the table's bytes as before. A null `letters` leaves the record with no
// letters; a null table removes the hook and keeps table and letters.
// Optional for callers: a library without it is driven through DllCtrl.
using DllCtrlWFn = std::int32_t(WINAPI*)(const vyrtel::layouts::KeyEntry* table, const WCHAR* letters,
                                         std::int32_t count);
inline constexpr char kDllCtrlW[] = "DllCtrlW";

// Takes the single-instance lock for the calling process and returns 1;
// `module` (the caller's handle of this library) is recorded beside it.
// While the process holding the lock runs, returns 0 and brings its
// registered window forward, restoring it if minimised; nothing is activated
// while the holder has not yet registered a window. A lock whose holder has
// ended (normally or not) is taken over, and what it left behind is
// cleared: the registered window, and the hook the record still names,
// which is removed. Of callers racing for
// a free or abandoned lock exactly one gets 1. The lock is never given back
// by its holder; it is the holder's end that frees it. DllLock(0) takes
// nothing: it returns 1 when no running process holds the lock, which is
// free afterwards.
using DllLockFn = std::int32_t(WINAPI*)(HINSTANCE module);
inline constexpr char kDllLock[] = "DllLock";

// Registers the window that a refused DllLock brings forward; returns 1.
using DllRegFn = std::int32_t(WINAPI*)(HWND window);
inline constexpr char kDllReg[] = "DllReg";

// Keeps bit 0 of `flag` as the beeper flag and returns it.
using SetBeeperFn = std::uint32_t(WINAPI*)(std::uint32_t flag);
inline constexpr char kSetBeeper[] = "SetBeeper";

// Stores the toggle method (0 Scroll Lock, 1 Num Lock, 2 Ctrl+Shift cycled,
// 3 Ctrl+Shift left/right, anything else: always translate) and returns it.
using SetTogglerFn = std::int32_t(WINAPI*)(std::int32_t method);
inline constexpr char kSetToggler[] = "SetToggler";

// The translation switch of the Ctrl+Shift methods: 1 on, 0 off. Bound
// when present; a library without it is still usable.
using DllModeFn = LONG(WINAPI*)(void);
inline constexpr char kDllMode[] = "DllMode";

// Sets typing to translated (`on` nonzero) or not, as the user's toggle
// keys would: under the Ctrl+Shift methods the switch, with the beep and
// the mode message; under the lock-key methods by pressing that lock key
// (injected) when its state as the calling thread sees it differs. Returns
// 1 when it changed something or pressed the key, 0 when typing already
// was so, -1 under a method that toggles nothing. Optional for callers.
using DllSwitchFn = LONG(WINAPI*)(LONG on);
inline constexpr char kDllSwitch[] = "DllSwitch";

// Turns the automatic mend on (nonzero) or off (0) in every process: while
// on, a word typed in the wrong mode is typed again in the other one at the
// space that ends it, as Pause would. Returns the value stored, 1 or 0. Off
// whenever a new holder takes the lock. Optional for callers.
using DllAutoMendFn = LONG(WINAPI*)(LONG on);
inline constexpr char kDllAutoMend[] = "DllAutoMend";

// The WH_GETMESSAGE hook procedure, exported under its decorated name only.
using GetMsgHookProcFn = LRESULT(CALLBACK*)(int code, WPARAM removeFlag, LPARAM message);
inline constexpr char kGetMsgHookProc[] = "_GetMsgHookProc@12";

}  // namespace tavrilex::api

#endif  // _WIN32

#if defined(_WIN32) && defined(TAVRILEX_BUILDING_LIBRARY)
extern "C" {
std::int32_t WINAPI DllCtrl(const vyrtel::layouts::KeyEntry* table, std::int32_t count);
std::int32_t WINAPI DllCtrlW(const vyrtel::layouts::KeyEntry* table, const WCHAR* letters, std::int32_t count);
std::int32_t WINAPI DllLock(HINSTANCE module);
std::int32_t WINAPI DllReg(HWND window);
std::uint32_t WINAPI SetBeeper(std::uint32_t flag);
std::int32_t WINAPI SetToggler(std::int32_t method);
LONG WINAPI DllMode(void);
LONG WINAPI DllSwitch(LONG on);
LONG WINAPI DllAutoMend(LONG on);
LRESULT CALLBACK GetMsgHookProc(int code, WPARAM removeFlag, LPARAM message);
}
#endif

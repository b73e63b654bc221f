// What each byte means in the ANSI code page of the process the hook runs
// in, as the UTF-16 unit a Unicode WM_CHAR carries.
//
// On Windows NT and its successors (and on Wine) the hook is installed
// through SetWindowsHookExW, so it is handed the Unicode form of the
// messages (Wine hands hooks that form whatever they asked for). Windows 95
// has no Unicode hooks and runs on ANSI messages: there the hook goes in
// through SetWindowsHookExA and writes the table's byte as it is. Both the
// installing process and each process the hook runs in tell the two kinds
// of system apart by GetVersion, so they always agree on the form.
//
// The tables hold code-page bytes, and a hook working in ANSI means its
// byte as the process's ANSI code page reads it; so where it writes no
// letter (an 8-bit window, a message without a window, a table handed over
// without letters), the hook writes the UTF-16 unit of that character. An
// ANSI program then receives the table's byte back through the system's
// own conversion of the message to its ANSI form.
#pragma once

#include <cstdint>

namespace tavrilex {

// Whether this system hands hooks the Unicode form of messages: every
// system of the Windows NT family does; Windows 95 does not.
bool systemHasUnicodeHooks();

// The UTF-16 unit of `byte` in the process's ANSI code page (GetACP). The
// first call builds a table of all 256 bytes, in this process's own memory,
// not the shared record; every later call is one array read. A byte that
// the code page gives no character of its own (a lead byte of a double-byte
// code page, an unassigned byte) is passed as U+00xx, as a hook that wrote
// the bare byte would. On a system without Unicode hooks: the byte itself.
std::uint16_t ansiCharacter(std::uint8_t byte);

}  // namespace tavrilex

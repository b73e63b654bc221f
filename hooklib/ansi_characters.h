// What each byte means in the ANSI code page of the process the hook runs
// in, as the UTF-16 unit a Unicode WM_CHAR carries.
//
// The hook is installed through SetWindowsHookExW, so on every system it is
// handed the Unicode form of the messages (Wine hands hooks that form
// whatever they asked for). The tables hold code-page bytes, and a hook
// working in ANSI means its byte as the process's ANSI code page reads it;
// so the hook writes the UTF-16 unit of that character. A Unicode program
// then receives the letter (under code page 1251, й for the byte E9), and
// an ANSI program receives the table's byte back through the system's own
// conversion of the message to its ANSI form.
#pragma once

#include <cstdint>

namespace tavrilex {

// The UTF-16 unit of `byte` in the process's ANSI code page (GetACP). The
// first call builds a table of all 256 bytes, in this process's own memory,
// not the shared record; every later call is one array read. A byte that
// the code page gives no character of its own (a lead byte of a double-byte
// code page, an unassigned byte) is passed as U+00xx, as a hook that wrote
// the bare byte would.
std::uint16_t ansiCharacter(std::uint8_t byte);

}  // namespace tavrilex

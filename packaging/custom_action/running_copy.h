// Which running copies of Vyrtel an uninstall must close: those started
// from the folder it removes, not a copy of the other build nor one
// unpacked elsewhere. Pure: no windows.h, no C runtime (the custom action
// library has none).
#pragma once

namespace vyrtel_setup {

// True when `image`, a process's full program path, names `program`
// directly inside `folder` (not in a folder below it). Both paths as the
// system gives them: letters compare without regard to case (ASCII and
// Cyrillic, the letters of this program's users' folder names), '/' and
// '\\' are the same separator, and `folder` may end with one or not.
bool IsProgramInFolder(const wchar_t* image, const wchar_t* folder, const wchar_t* program);

}  // namespace vyrtel_setup

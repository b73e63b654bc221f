// The numbers of the messages the hook posts to the control program's
// window (kModeMessageName, kMendSelectionMessageName) in this process.
#pragma once

#include <windows.h>

namespace tavrilex {

// Each registers its message at the first call in each process and keeps
// the number in the process's own data; 0 if the system refused it.
UINT modeMessage();
UINT mendSelectionMessage();

}  // namespace tavrilex

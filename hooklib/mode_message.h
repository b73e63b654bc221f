// The number of the mode message (kModeMessageName) in this process.
#pragma once

#include <windows.h>

namespace tavrilex {

// Registers the message at the first call in each process and keeps its
// number in the process's own data; 0 if the system refused it.
UINT modeMessage();

}  // namespace tavrilex

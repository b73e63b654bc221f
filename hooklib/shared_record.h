// The one instance of the shared hook state, as this library's image holds
// it: in the section ".swdata", which the loader maps once for every process
// that maps Tavrilex.dll.
#pragma once

#include "hooklib/shared_state.h"

extern tavrilex::SharedHookState g_sharedState;

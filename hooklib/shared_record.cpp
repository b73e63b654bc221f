// The shared hook state. Its initial bytes are constant data of the image:
// the library has no start-up code, so nothing could initialise it at run
// time, and nothing must: the first process to map the library sees these
// values, later ones see whatever the earlier ones left.
#include "hooklib/shared_record.h"

__attribute__((section(".swdata"), shared)) constinit tavrilex::SharedHookState g_sharedState =
    tavrilex::initialSharedState();

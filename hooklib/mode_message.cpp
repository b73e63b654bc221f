#include "hooklib/mode_message.h"

#include "hooklib/tavrilex_api.h"

namespace {

// Per process, like all of the library's data outside the shared record.
// Threads racing at the first call each register the name and get the
// same number.
UINT g_modeMessage;

}  // namespace

UINT tavrilex::modeMessage() {
    UINT message = __atomic_load_n(&g_modeMessage, __ATOMIC_RELAXED);
    if (message == 0) [[unlikely]] {
        message = RegisterWindowMessageA(kModeMessageName);
        __atomic_store_n(&g_modeMessage, message, __ATOMIC_RELAXED);
    }
    return message;
}

#include "hooklib/mode_message.h"

#include "hooklib/tavrilex_api.h"

namespace {

// Per process, like all of the library's data outside the shared record.
// Threads racing at the first call each register the name and get the
// same number.
UINT g_modeMessage;
UINT g_mendSelectionMessage;

UINT registered(UINT& kept, const char* name) {
    UINT message = __atomic_load_n(&kept, __ATOMIC_RELAXED);
    if (message == 0) [[unlikely]] {
        message = RegisterWindowMessageA(name);
        __atomic_store_n(&kept, message, __ATOMIC_RELAXED);
    }
    return message;
}

}  // namespace

UINT tavrilex::modeMessage() { return registered(g_modeMessage, kModeMessageName); }

UINT tavrilex::mendSelectionMessage() { return registered(g_mendSelectionMessage, kMendSelectionMessageName); }

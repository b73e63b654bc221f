#include "framework/framework_error.h"

#include <cstdarg>
#include <cstdio>

namespace framework {

namespace {
std::exception_ptr pending;  // one user-interface thread
}

Error::Error(const char* text) noexcept {
    std::snprintf(text_, sizeof text_, "%s", text);  // cut to fit, always terminated
}

void fail(const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    throw Error(text);
}

void keepPendingException() noexcept {
    if (!pending) pending = std::current_exception();
}

bool hasPendingException() noexcept { return static_cast<bool>(pending); }

void rethrowPendingException() {
    if (!pending) return;
    std::exception_ptr taken = pending;
    pending = nullptr;
    std::rethrow_exception(taken);
}

}  // namespace framework

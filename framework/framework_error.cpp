#include "framework/framework_error.h"

#include <windows.h>

#include <cstdarg>

namespace framework {

namespace {
// wvsprintfA writes at most 1024 characters and the terminating zero.
char reason[1025];
}  // namespace

bool fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    wvsprintfA(reason, format, args);
    va_end(args);
    return false;
}

const char* failureReason() { return reason; }

}  // namespace framework

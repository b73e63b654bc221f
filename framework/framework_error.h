// The framework's own failures, as values.
//
// A step of the framework that fails (a window class that cannot be
// registered, a window or dialog that cannot be created, a template control
// that is missing, no main window) records why with `fail` and returns
// false (or the platform's own failure value: -1 from a modal dialog). A
// caller that cannot go on returns false in turn and records nothing more,
// so the reason recorded is the first cause. Whoever has nobody left to
// return to reports it: TApplication shows it in a stop box and ends the
// run with exit code 1 (application.h). The framework, and every program
// built on it, is compiled without C++ exceptions.
// Everything runs on the application's one user-interface thread.
#pragma once

namespace framework {

// Records the reason of a failed step, formatted as wsprintfA formats
// (%d, %u, %lu, %s ...; at most 1024 characters), and returns false, so
// that a failing step can end with `return fail(...)`.
bool fail(const char* format, ...);

// The reason recorded last, or "" when nothing has failed.
const char* failureReason();

}  // namespace framework

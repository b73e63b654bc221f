// The framework's own errors and how they travel.
//
// Failures of the framework itself (a window class that cannot be
// registered, a window or dialog that cannot be created, a template control
// that is missing, no main window) are thrown as framework::Error. No C++
// exception may cross a window or dialog procedure (the platform's frames
// cannot be unwound), so every procedure catches everything, parks it here
// as the pending exception and lets the platform call return; the framework
// code that made that call (window creation, modal execution, the message
// loop) rethrows it. TApplication::Run catches whatever reaches it, shows
// the text in a stop-icon message box and ends the run with exit code 1.
#pragma once

#include <exception>

namespace framework {

class Error : public std::exception {
public:
    explicit Error(const char* text) noexcept;
    const char* what() const noexcept override { return text_; }

private:
    char text_[200];
};

// Throws an Error with a printf-formatted text.
[[noreturn]] void fail(const char* format, ...);

// Inside a catch block: keeps the exception being handled as the pending
// one (the first one wins until it is taken).
void keepPendingException() noexcept;

bool hasPendingException() noexcept;

// Rethrows the pending exception, if any, and clears it.
void rethrowPendingException();

}  // namespace framework

// What test programs write for the tests to read: one line per event or
// answer, flushed at once, so that a test reading the file or the pipe sees
// each line as soon as it is written. Every line goes through writeLine.
#pragma once

#include <cstdarg>
#include <cstdio>

namespace testio {

// The formatted text and a line feed, flushed; whole, though other threads
// write to the same file.
inline void writeLine(FILE* file, const char* format, va_list args) {
    _lock_file(file);
    std::vfprintf(file, format, args);
    std::fputc('\n', file);
    std::fflush(file);
    _unlock_file(file);
}

// An answer on standard output, where the test holds the other end of the pipe.
__attribute__((format(printf, 1, 2))) inline void say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    writeLine(stdout, format, args);
    va_end(args);
}

// The program's log file, kept open: openLog names it, logLine writes to it
// (nothing before openLog, or when the file could not be made).
inline FILE*& logFile() {
    static FILE* file = nullptr;
    return file;
}

inline void openLog(const char* path) { logFile() = std::fopen(path, "w"); }

__attribute__((format(printf, 1, 2))) inline void logLine(const char* format, ...) {
    FILE* log = logFile();
    if (!log) return;
    va_list args;
    va_start(args, format);
    writeLine(log, format, args);
    va_end(args);
}

}  // namespace testio

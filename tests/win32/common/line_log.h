// A test program's log: one line per event, flushed at once, so that a test
// reading the file sees each line as soon as it is written.
#pragma once

#include <cstdarg>
#include <cstdio>

namespace testio {

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
    std::vfprintf(log, format, args);
    va_end(args);
    std::fputc('\n', log);
    std::fflush(log);
}

}  // namespace testio

#include "test_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "../common/line_log.h"

// Opened and closed for each line: the program and the BWCC32 stand-in
// append to the same file from one process, each line in its place.
void testLog(const char* format, ...) {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("FRAMEWORK_TEST_LOG", path, sizeof path)) return;
    FILE* log = std::fopen(path, "a");
    if (!log) return;
    va_list args;
    va_start(args, format);
    testio::writeLine(log, format, args);
    va_end(args);
    std::fclose(log);
}

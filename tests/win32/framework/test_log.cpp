#include "test_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

void testLog(const char* format, ...) {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("FRAMEWORK_TEST_LOG", path, sizeof path)) return;
    FILE* log = std::fopen(path, "a");
    if (!log) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(log, format, args);
    va_end(args);
    std::fputc('\n', log);
    std::fclose(log);
}

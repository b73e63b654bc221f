// One line per event, appended to the file named by the environment
// variable FRAMEWORK_TEST_LOG (set by the test program from its command
// line, read in the same process by the BWCC32 stand-in): the Python tests
// read what the framework did, in order, from both sides.
#pragma once

void testLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The probe's log: one line per event, flushed at once so that a test
// reading the file sees each line as soon as it is written.
#pragma once

#include <windows.h>

void openLog(const char* path);
void logLine(const char* format, ...);

// A picture to put under the owner-drawn button: blue above, yellow below.
HBITMAP makeProbePicture();
inline constexpr COLORREF kPictureTop = RGB(0, 64, 192);
inline constexpr COLORREF kPictureBottom = RGB(255, 212, 0);

// The in-process checks of the library's interface; returns the failures.
int runChecks(HINSTANCE instance);

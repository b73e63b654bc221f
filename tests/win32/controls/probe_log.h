// What the probe's parts share: its log, its picture and its checks.
#pragma once

#include <windows.h>

#include "../common/line_log.h"

using testio::logLine;
using testio::openLog;

// A picture to put under the owner-drawn button: blue above, yellow below.
HBITMAP makeProbePicture();
inline constexpr COLORREF kPictureTop = RGB(0, 64, 192);
inline constexpr COLORREF kPictureBottom = RGB(255, 212, 0);

// The in-process checks of the library's interface; returns the failures.
int runChecks(HINSTANCE instance);

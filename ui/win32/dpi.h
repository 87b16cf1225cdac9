// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Per-monitor DPI where Windows has it (10, version 1607 on), the screen's DPI before that:
// the functions are looked up at run time, so the program starts on older systems too.

#include <windows.h>

namespace styrmark::win32 {

UINT WindowDpi(HWND window);

// The outer size of a window whose client area is `client`, at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi);

// A system metric (SM_CXICON …) at `dpi`.
int SystemMetric(int metric, UINT dpi);

// The font the system draws message boxes with, at `dpi`.
LOGFONTW MessageFont(UINT dpi);

// The user's "Text size" (Settings, Accessibility) in percent, 100 to 225: larger text
// everywhere, which the form honours by growing whole, as with a larger font DPI.
UINT TextScalePercent();

}  // namespace styrmark::win32

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The form's one face, and captions fitted to their controls in it.

#include <windows.h>

#include <string>
#include <string_view>

namespace styrmark::win32 {

// "MS Sans Serif" is a bitmap face with a few fixed sizes on Windows: the TrueType face of
// its metrics stands in ("Microsoft Sans Serif"), else Tahoma, else the message font.
std::wstring ChooseFace();

HFONT CreateFormFont(const std::wstring& face, double points, bool bold, UINT dpi);

// The largest size from `points` down, in half points, at which `text` fits within
// `room` on one line.
double FittingPoints(const std::wstring& face, double points, bool bold, UINT dpi,
                     std::wstring_view text, SIZE room);

}  // namespace styrmark::win32

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The seam speaks UTF-8; the Win32 API speaks UTF-16.

#include <windows.h>

#include <string>
#include <string_view>

namespace styrmark::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

std::wstring WindowText(HWND window);

// UTF-16 text that another program put into global memory (the clipboard, a drop): up to
// its first NUL, and never past the memory's own size, whatever the text claims.
std::wstring GlobalText(HGLOBAL memory);

}  // namespace styrmark::win32

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The form's one face, and text measured in it for fitting captions.

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/toolkit.h"
#include "ui/win32/handles.h"

namespace styrmark::win32 {

// "MS Sans Serif" is a bitmap face with a few fixed sizes on Windows: the TrueType face of
// its metrics stands in ("Microsoft Sans Serif"), else Tahoma, else the message font.
std::wstring ChooseFace();

Font CreateFormFont(const std::wstring& face, double points, bool bold, double dpi);

// What `text` takes on one line in the face at `points`.
toolkit::TextExtent MeasureText(const std::wstring& face, bool bold, double dpi,
                                std::string_view text, double points);

}  // namespace styrmark::win32

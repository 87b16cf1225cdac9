// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Solid brushes by colour, made once and kept while the form lives: WM_CTLCOLOR* hands
// them out on every paint.

#include <windows.h>

#include <utility>
#include <vector>

#include "ui/toolkit.h"

namespace styrmark::win32 {

COLORREF ToColorRef(toolkit::Rgb colour);

class Brushes {
public:
    Brushes() = default;
    ~Brushes();
    Brushes(const Brushes&) = delete;
    Brushes& operator=(const Brushes&) = delete;

    HBRUSH Of(toolkit::Rgb colour);

private:
    std::vector<std::pair<COLORREF, HBRUSH>> m_made;
};

}  // namespace styrmark::win32

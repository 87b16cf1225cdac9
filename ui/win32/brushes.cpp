// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/brushes.h"

#include <algorithm>

namespace styrmark::win32 {

COLORREF ToColorRef(toolkit::Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

Brushes::~Brushes() {
    for (const auto& [colour, brush] : m_made) DeleteObject(brush);
}

HBRUSH Brushes::Of(toolkit::Rgb colour) {
    const COLORREF wanted = ToColorRef(colour);
    const auto made = std::find_if(m_made.begin(), m_made.end(),
                                   [wanted](const auto& entry) { return entry.first == wanted; });
    if (made != m_made.end()) return made->second;
    return m_made.emplace_back(wanted, CreateSolidBrush(wanted)).second;
}

}  // namespace styrmark::win32

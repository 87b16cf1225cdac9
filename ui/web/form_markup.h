// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A form as markup and style, from its layout table: the controls' elements, names and
// captions, and the rules that place them and set their font, put on the page in one piece.

#include <span>
#include <string>

#include "ui/toolkit.h"

namespace styrmark::web {

struct FormMarkup {
    std::string html;  // the form's window, its controls in the table's order
    std::string css;   // the rules that place them and set the form's font and colour
};

// `labelledBy`: by row, the ids of the elements that name the control, or none.
FormMarkup MarkupOf(const toolkit::FormLayout& layout, std::span<const toolkit::ControlRow> rows,
                    std::span<const std::string> labelledBy);

// A CSS pixel is a 96th of an inch: 15 twips.
inline constexpr double kCssDpi = 96;

// Twips as CSS pixels, "27px".
std::string Pixels(int twips);
std::string Css(toolkit::Rgb colour);
// The form's CSS font at a size in points: its face, weight and size.
std::string CssFont(const toolkit::FormLayout& layout, double points);

}  // namespace styrmark::web

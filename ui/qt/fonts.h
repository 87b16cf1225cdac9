// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

namespace styrmark::toolkit {

// Draws `text` in `control` in its form's font, or in the largest smaller size that shows
// it whole: a caption is never elided or clipped.
void FitText(QWidget* control, const QString& text);

}  // namespace styrmark::toolkit

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

namespace styrmark::toolkit {

// The installed face to draw `wanted` with: itself where installed, else the first
// installed face with its metrics, else the desktop's sans serif. Named directly, so
// that fontconfig never searches for a family that is not there.
struct InstalledFace {
    QString family;
    bool sameMetrics;  // texts measured for `wanted` fit as they are
};
InstalledFace ChooseFace(const QString& wanted);

// Draws `text` in `control` in its form's font, or in the largest smaller size that shows
// it whole: a caption is never elided or clipped.
void FitText(QWidget* control, const QString& text);

}  // namespace styrmark::toolkit

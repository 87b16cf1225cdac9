// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <string_view>

#include "ui/toolkit.h"

namespace styrmark::toolkit {

// The installed face to draw `wanted` with: itself where installed, else the first
// installed face with its metrics, else the desktop's sans serif. Named directly, so
// that fontconfig never searches for a family that is not there.
struct InstalledFace {
    QString family;
    bool sameMetrics;  // texts measured for `wanted` fit as they are
};
InstalledFace ChooseFace(const QString& wanted);

// What `text` takes on one line in `font` at `points`.
TextExtent Extent(const QFont& font, double points, std::string_view text);

}  // namespace styrmark::toolkit

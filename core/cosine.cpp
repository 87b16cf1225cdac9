// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cosine.h"

#include <cmath>

namespace styrmark {

double Cosine(double radians) { return std::cos(radians); }

}  // namespace styrmark

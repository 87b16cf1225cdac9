// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace styrmark {

// The C library's cosine, taken where it reduces every argument exactly, so that a course
// comes out the same with every toolchain the program is built with.
double Cosine(double radians);

}  // namespace styrmark

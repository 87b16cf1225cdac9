// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace styrmark {

// A finite double as significand × 2^exponent, read off its bits: the stored exponent,
// biased, is that of the significand's leading bit (implicit, and with 1 for subnormals).
struct Binary {
    std::uint64_t significand;
    int exponent;
};
Binary Decompose(double magnitude);

// Writes a finite, non-negative double as std::to_chars does in fixed notation with the
// given number of decimals (rounded to the nearest, ties to even; no point for none), from
// its exact value, with no tables: not every standard library has to_chars for double,
// and the one that has pays for its speed in size. Returns the end; the space must hold
// every digit of the value, and the point.
char* FixedDigits(char* first, double magnitude, int decimals);

}  // namespace styrmark

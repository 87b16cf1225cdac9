// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "core/fixed_digits.h"
#include "core/navigation.h"

namespace styrmark {
namespace {

struct NumberPattern {
    std::size_t integerDigits = 0;  // least number of digits before the separator
    std::size_t decimals = 0;       // exact number of digits after it
    bool hasSeparator = false;
    std::string suffix;  // every other character, copied after the number
};

NumberPattern ParsePattern(std::string_view pattern) {
    NumberPattern parsed;
    for (const char c : pattern) {
        if (c == '0' && parsed.hasSeparator) {
            ++parsed.decimals;
        } else if (c == '0') {
            ++parsed.integerDigits;
        } else if (c == '.' && !parsed.hasSeparator) {
            parsed.hasSeparator = true;
        } else {
            parsed.suffix += c;
        }
    }
    return parsed;
}

using Limits = std::numeric_limits<double>;

// The largest double has 309 digits before the point; the smallest, 2^-1074, has 1074
// after it (2^-k has exactly k decimals).
constexpr int kMostExactDecimals = Limits::digits - Limits::min_exponent;
constexpr std::size_t kMostPrintedChars = Limits::max_exponent10 + 1 + 1 + kMostExactDecimals;

// A finite double is a whole number times 2^lowestPlace; when that power is negative, it
// has exactly -lowestPlace decimals.
int ExactDecimals(double magnitude) {
    const Binary binary = Decompose(magnitude);
    if (binary.significand == 0) return 0;
    return std::max(0, -(binary.exponent + std::countr_zero(binary.significand)));
}

// Room for every digit of any double, and for a carry into a new leading digit.
using DigitBuffer = std::array<char, 1 + kMostPrintedChars>;

// Adds one in the last place of the digits from first to end: "0.19" becomes "0.20",
// "99" becomes "100". Returns where the digits now begin. A tie with decimals left has
// no run of 9s back to the point (0.995 is no double), so the carry never meets it.
char* AddOneToLastDigit(char* first, char* end) {
    for (char* digit = end; digit != first;) {
        --digit;
        if (*digit != '9') {
            ++*digit;
            return first;
        }
        *digit = '0';
    }
    *--first = '1';
    return first;
}

struct Digits {
    std::string_view whole;     // without leading zeros: empty for zero
    std::string_view decimals;  // as asked for, or fewer where all the rest are zeros
};

// |value| to the given decimals, rounded half away from zero on its exact binary value.
// A double with k > 0 decimals ends in a 5 at the k-th, so it is a tie at the asked
// decimals only when it has exactly one more. A tie is printed in full and rounded up
// here; any other value FixedDigits rounds itself, to the nearest, at the asked precision
// (its half-to-even rule never comes into play). 1.005 is stored as 1.00499..., so it
// rounds down. No C locale plays a part.
Digits RoundedDigits(double magnitude, std::size_t decimals, DigitBuffer& buffer) {
    const auto exactDecimals = static_cast<std::size_t>(ExactDecimals(magnitude));
    const std::size_t precision = exactDecimals > decimals + 1 ? decimals : exactDecimals;
    char* first = buffer.data() + 1;
    char* end = FixedDigits(first, magnitude, static_cast<int>(precision));
    if (precision > decimals) {
        end -= decimals == 0 ? 2 : 1;  // the tie's 5, and a point left with nothing after it
        first = AddOneToLastDigit(first, end);
    }
    const std::string_view printed(first, static_cast<std::size_t>(end - first));
    const std::size_t point = std::min(printed.find('.'), printed.size());
    const std::size_t leadingZeros = std::min(printed.find_first_not_of('0'), point);
    return {printed.substr(leadingZeros, point - leadingZeros),
            printed.substr(std::min(point + 1, printed.size()))};
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern,
                         std::string_view decimalSeparator) {
    const NumberPattern parsed = ParsePattern(pattern);
    if (!std::isfinite(value)) return "---" + parsed.suffix;

    DigitBuffer buffer;
    const auto [whole, decimals] = RoundedDigits(std::fabs(value), parsed.decimals, buffer);
    const std::size_t wholeDigits = std::max(whole.size(), parsed.integerDigits);

    std::string text;
    text.reserve(1 + wholeDigits + decimalSeparator.size() + parsed.decimals +
                 parsed.suffix.size());
    const bool showsZero =
        whole.empty() && decimals.find_first_not_of('0') == std::string_view::npos;
    if (value < 0 && !showsZero) text += '-';
    text.append(wholeDigits - whole.size(), '0');
    text += whole;
    if (parsed.decimals > 0) {
        text += decimalSeparator;
        text += decimals;
        text.append(parsed.decimals - decimals.size(), '0');
    }
    text += parsed.suffix;
    return text;
}

}  // namespace styrmark

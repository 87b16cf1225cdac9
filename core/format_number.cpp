// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

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
    if (magnitude == 0) return 0;
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, Limits::digits));
    const int lowestPlace = exponent - Limits::digits + std::countr_zero(significand);
    return std::max(0, -lowestPlace);
}

// "0999" becomes "1000", "99" becomes "100".
void AddOneToLastDigit(std::string& digits) {
    const std::size_t lastNotNine = digits.find_last_not_of('9');
    if (lastNotNine == std::string::npos) {
        digits.assign(digits.size(), '0');
        digits.insert(digits.begin(), '1');
        return;
    }
    ++digits[lastNotNine];
    digits.replace(lastNotNine + 1, std::string::npos, digits.size() - lastNotNine - 1, '0');
}

struct Digits {
    std::string whole;     // without leading zeros: empty for zero
    std::string decimals;  // exactly as many as asked for
};

// |value| to the given decimals, rounded half away from zero on its exact binary value.
// to_chars prints every digit the double has (it rounds nothing at that precision, and
// is the same in every C locale), so the first dropped digit alone decides: 5 or more,
// a tie or above, rounds up. 1.005 is stored as 1.00499..., so it rounds down.
Digits RoundedDigits(double magnitude, std::size_t decimals) {
    std::array<char, kMostPrintedChars> buffer;  // enough for every digit of any double
    const char* const end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                          std::chars_format::fixed, ExactDecimals(magnitude))
                                .ptr;
    const std::string_view printed(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t point = printed.find('.');
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : printed.substr(point + 1);

    std::string digits(printed.substr(0, point));
    digits += fraction.substr(0, decimals);
    digits.append(decimals - std::min(decimals, fraction.size()), '0');
    if (fraction.size() > decimals && fraction[decimals] >= '5') AddOneToLastDigit(digits);

    const std::size_t wholeLength = digits.size() - decimals;
    const std::size_t leadingZeros = std::min(digits.find_first_not_of('0'), wholeLength);
    return {digits.substr(leadingZeros, wholeLength - leadingZeros), digits.substr(wholeLength)};
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern,
                         std::string_view decimalSeparator) {
    const NumberPattern parsed = ParsePattern(pattern);
    if (!std::isfinite(value)) return "---" + parsed.suffix;

    auto [integerPart, decimalPart] = RoundedDigits(std::fabs(value), parsed.decimals);
    if (integerPart.size() < parsed.integerDigits)
        integerPart.insert(0, parsed.integerDigits - integerPart.size(), '0');

    std::string text;
    const bool showsZero = integerPart.find_first_not_of('0') == std::string::npos &&
                           decimalPart.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !showsZero) text += '-';
    text += integerPart;
    if (parsed.decimals > 0) {
        text += decimalSeparator;
        text += decimalPart;
    }
    text += parsed.suffix;
    return text;
}

}  // namespace styrmark

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "core/navigation.h"

namespace styrmark {
namespace {

struct NumberPattern {
    int integerDigits = 0;  // least number of digits before the separator
    int decimals = 0;       // exact number of digits after it
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

// Below 2^52 the integer part and the scaled digits fit 64 bits; from there on every
// double is a whole number and cannot fall on a tie.
constexpr double kExactIntegerLimit = 4503599627370496.0;
constexpr int kMostExactDecimals = 15;

// |value| rounded half away from zero, as a whole number of units of 1/scale. Ties
// are decided on the exact binary value: fma recovers the rounding error of the
// scaling, so 0.125 rounds up to 0.13 while 1.005 (stored just below) gives 1.00.
std::uint64_t RoundedUnits(double magnitude, std::uint64_t scale) {
    double whole = 0;
    const double fraction = std::modf(magnitude, &whole);
    const double scaled = fraction * static_cast<double>(scale);
    const double units = std::floor(scaled);
    const double remainder = scaled - units;
    const bool up =
        remainder > 0.5 ||
        (remainder == 0.5 && std::fma(fraction, static_cast<double>(scale), -scaled) >= 0);
    return static_cast<std::uint64_t>(whole) * scale + static_cast<std::uint64_t>(units) +
           (up ? 1U : 0U);
}

void AppendDigits(std::string& text, std::uint64_t value, int leastDigits) {
    std::array<char, 24> buffer{};
    char* const end = buffer.data() + buffer.size();
    char* first = end;
    for (int count = 0; value > 0 || count < leastDigits; ++count, value /= 10)
        *--first = static_cast<char>('0' + value % 10);
    text.append(first, end);
}

// Magnitudes beyond 2^52, and patterns with more decimals than a double holds.
std::string PrintedDigits(double magnitude, int decimals) {
    const int length = std::snprintf(nullptr, 0, "%.*f", decimals, magnitude);
    std::string printed(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(printed.data(), printed.size(), "%.*f", decimals, magnitude);
    printed.pop_back();
    return printed;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern,
                         std::string_view decimalSeparator) {
    const NumberPattern parsed = ParsePattern(pattern);
    if (!std::isfinite(value)) return "---" + parsed.suffix;

    const double magnitude = std::fabs(value);
    std::string integerPart;
    std::string decimalPart;
    if (magnitude < kExactIntegerLimit && parsed.decimals <= kMostExactDecimals) {
        std::uint64_t scale = 1;
        for (int i = 0; i < parsed.decimals; ++i) scale *= 10;
        const std::uint64_t units = RoundedUnits(magnitude, scale);
        AppendDigits(integerPart, units / scale, 0);
        AppendDigits(decimalPart, units % scale, parsed.decimals);
    } else {
        const std::string printed = PrintedDigits(magnitude, parsed.decimals);
        const std::size_t point = printed.find('.');
        integerPart = printed.substr(0, point);
        if (point != std::string::npos) decimalPart = printed.substr(point + 1);
        if (integerPart == "0") integerPart.clear();
    }
    const auto integerWidth = static_cast<std::size_t>(parsed.integerDigits);
    if (integerPart.size() < integerWidth)
        integerPart.insert(0, integerWidth - integerPart.size(), '0');

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

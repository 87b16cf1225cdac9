// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/navigation.h"

namespace styrmark {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Up to 19 digits fit 64 bits, whose conversion to double rounds correctly; longer
// parts are rounded from their exact value. Digits only make a whole number, so nothing
// to truncate.
constexpr std::size_t kMostIntegerDigits = 19;

// A whole number of any length rounded once to the nearest double, ties to even, as
// from_chars does; not every standard library has from_chars for double. None past the
// largest double.
std::optional<double> RoundedWholeNumber(std::string_view digits) {
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    constexpr std::size_t kMostDigits = std::numeric_limits<double>::max_exponent10 + 1;
    if (digits.size() > kMostDigits) return std::nullopt;
    // The exact value in 32-bit limbs, the lowest first.
    std::vector<std::uint32_t> limbs;
    for (const char c : digits) {
        auto carry = static_cast<std::uint64_t>(c - '0');
        for (std::uint32_t& limb : limbs) {
            carry += std::uint64_t{limb} * 10;
            limb = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0) limbs.push_back(static_cast<std::uint32_t>(carry));
    }
    const auto bit = [&limbs](std::size_t at) { return (limbs[at / 32] >> (at % 32)) & 1U; };
    const std::size_t bits =
        limbs.empty()
            ? 0
            : 32 * (limbs.size() - 1) + static_cast<std::size_t>(std::bit_width(limbs.back()));
    // The leading 64 bits; any bit set below them is folded into the last, which is dropped
    // in the rounding to 53 bits anyway, so that it breaks a tie upwards as it should.
    const std::size_t shift = bits > 64 ? bits - 64 : 0;
    std::uint64_t leading = 0;
    for (std::size_t at = bits; at > shift; --at) leading = leading << 1 | bit(at - 1);
    for (std::size_t at = 0; at < shift && (leading & 1) == 0; ++at) leading |= bit(at);
    const double value = std::ldexp(static_cast<double>(leading), static_cast<int>(shift));
    if (std::isinf(value)) return std::nullopt;
    return value;
}

std::optional<double> ReadWholeNumber(std::string_view part) {
    if (part.empty() || !std::all_of(part.begin(), part.end(), IsDigit)) return std::nullopt;
    if (part.size() <= kMostIntegerDigits) {
        std::uint64_t value = 0;
        for (const char c : part) value = value * 10 + static_cast<std::uint64_t>(c - '0');
        return static_cast<double>(value);
    }
    return RoundedWholeNumber(part);
}

}  // namespace

std::optional<float> DmsToDegrees(std::string_view text) {
    std::array<double, 3> dms{};  // degrees, minutes, seconds
    std::optional<std::string_view> rest = text;
    for (double& value : dms) {
        if (!rest) return std::nullopt;  // fewer than three parts
        const std::size_t colon = rest->find(':');
        const auto number = ReadWholeNumber(rest->substr(0, colon));
        if (!number) return std::nullopt;
        value = *number;
        rest =
            colon == std::string_view::npos ? std::nullopt : std::optional{rest->substr(colon + 1)};
    }
    const auto [degrees, minutes, seconds] = dms;
    const double m = minutes / 60;
    const double d = degrees + m;
    const double result = seconds / 3600 + d;
    if (result > static_cast<double>(std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(result);
}

}  // namespace styrmark

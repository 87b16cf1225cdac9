// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <system_error>

#include "core/navigation.h"

namespace styrmark {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Up to 19 digits fit 64 bits, whose conversion to double rounds correctly; longer
// parts go through from_chars. Digits only make a whole number, so nothing to truncate.
constexpr std::size_t kMostIntegerDigits = 19;

std::optional<double> ReadWholeNumber(std::string_view part) {
    if (part.empty() || !std::all_of(part.begin(), part.end(), IsDigit)) return std::nullopt;
    if (part.size() <= kMostIntegerDigits) {
        std::uint64_t value = 0;
        for (const char c : part) value = value * 10 + static_cast<std::uint64_t>(c - '0');
        return static_cast<double>(value);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (error != std::errc{} || end != part.data() + part.size()) return std::nullopt;
    return value;
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

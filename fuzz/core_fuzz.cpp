// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the navigation core. The input is four position texts, one per
// line (own latitude, own longitude, target latitude, target longitude); its first
// eight bytes also serve as a raw course and distance for the result line. Every
// broken invariant traps, so the fuzzer records the input.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "core/navigation.h"

namespace {

using styrmark::CourseDistance;

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) { return std::all_of(text.begin(), text.end(), IsDigit); }

// Own latitude, own longitude, target latitude, target longitude; missing lines are empty.
std::array<std::string_view, 4> SplitLines(std::string_view input) {
    std::array<std::string_view, 4> texts{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t end = i + 1 < texts.size() ? input.find('\n') : std::string_view::npos;
        texts[i] = input.substr(0, end);
        if (end == std::string_view::npos) break;
        input.remove_prefix(end + 1);
    }
    return texts;
}

// The colon-separated parts up to the third; count is below three when the text
// has fewer parts.
struct LeadingParts {
    std::array<std::string_view, 3> parts;
    std::size_t count = 0;
    std::size_t length = 0;  // of the text they span, colons included
};

LeadingParts SplitParts(std::string_view text) {
    LeadingParts leading;
    for (std::string_view& part : leading.parts) {
        const std::size_t colon = text.find(':');
        part = text.substr(0, colon);
        leading.length += part.size() + (leading.count > 0 ? 1 : 0);
        ++leading.count;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    return leading;
}

void CheckDms(std::string_view text) {
    const std::optional<float> degrees = styrmark::DmsToDegrees(text);
    const LeadingParts leading = SplitParts(text);

    // Whatever follows the third part changes nothing.
    if (leading.length < text.size()) {
        Require(styrmark::DmsToDegrees(text.substr(0, leading.length)) == degrees);
    }

    const auto& parts = leading.parts;
    const bool usable = leading.count == 3 &&
                        std::all_of(parts.begin(), parts.end(),
                                    [](auto part) { return !part.empty() && AllDigits(part); });
    if (!usable) {
        Require(!degrees);
        return;
    }
    if (degrees) Require(std::isfinite(*degrees) && *degrees >= 0);

    // Short parts always fit a float, and the value is the plain sum.
    if (!std::all_of(parts.begin(), parts.end(), [](auto part) { return part.size() <= 9; })) {
        return;
    }
    Require(degrees.has_value());
    std::array<double, 3> values{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        Require(std::from_chars(part.data(), part.data() + part.size(), values[i]).ec ==
                std::errc{});
    }
    const double expected = values[0] + values[1] / 60 + values[2] / 3600;
    Require(std::fabs(static_cast<double>(*degrees) - expected) <= expected * 0x1p-23);
}

// One number of the result line as it was written.
struct ShownNumber {
    bool dashes = false;  // "---" for a value that is not finite
    bool negative = false;
    std::string_view whole;
    std::string_view decimals;
};

bool Take(std::string_view& rest, std::string_view expected) {
    if (rest.substr(0, expected.size()) != expected) return false;
    rest.remove_prefix(expected.size());
    return true;
}

std::string_view TakeDigits(std::string_view& rest) {
    const auto end = std::find_if_not(rest.begin(), rest.end(), IsDigit);
    const std::string_view digits = rest.substr(0, static_cast<std::size_t>(end - rest.begin()));
    rest.remove_prefix(digits.size());
    return digits;
}

// "---", or an optional minus, at least leastWhole digits and, when there are
// decimals, the separator and exactly that many digits.
std::optional<ShownNumber> TakeNumber(std::string_view& rest, std::size_t leastWhole,
                                      std::size_t decimals, std::string_view separator) {
    ShownNumber number;
    if (Take(rest, "---")) {
        number.dashes = true;
        return number;
    }
    number.negative = Take(rest, "-");
    number.whole = TakeDigits(rest);
    if (number.whole.size() < leastWhole) return std::nullopt;
    if (decimals == 0) return number;
    if (!Take(rest, separator)) return std::nullopt;
    number.decimals = TakeDigits(rest);
    if (number.decimals.size() != decimals) return std::nullopt;
    return number;
}

// "Kurs <course>   <distance>  DM   <kilometres>  Km", or no value when malformed.
std::optional<std::array<ShownNumber, 3>> MatchResultLine(std::string_view line,
                                                          std::string_view separator) {
    std::optional<ShownNumber> course;
    std::optional<ShownNumber> distance;
    std::optional<ShownNumber> kilometres;
    const bool matched =
        Take(line, "Kurs ") && (course = TakeNumber(line, 3, 0, separator)) && Take(line, "   ") &&
        (distance = TakeNumber(line, 1, 2, separator)) && Take(line, "  DM   ") &&
        (kilometres = TakeNumber(line, 1, 3, separator)) && Take(line, "  Km") && line.empty();
    if (!matched) return std::nullopt;
    return std::array{*course, *distance, *kilometres};
}

// The shown number is the value rounded to its decimals, with a minus only when
// something other than zero is shown.
void CheckShown(const ShownNumber& shown, double value, int decimals) {
    Require(shown.dashes == !std::isfinite(value));
    if (shown.dashes) return;
    const bool showsZero = shown.whole.find_first_not_of('0') == std::string_view::npos &&
                           shown.decimals.find_first_not_of('0') == std::string_view::npos;
    Require(shown.negative == (value < 0 && !showsZero));

    std::string text(shown.whole);
    text += '.';
    text += shown.decimals;
    double magnitude = 0;
    Require(std::from_chars(text.data(), text.data() + text.size(), magnitude).ec == std::errc{});
    const double halfUnit = 0.5 * std::pow(10.0, -decimals);
    Require(std::fabs(magnitude - std::fabs(value)) <=
            halfUnit * (1 + 1e-9) + std::fabs(value) * 0x1p-50);
}

std::array<ShownNumber, 3> CheckResultLine(const CourseDistance& result) {
    const std::string dotted = styrmark::FormatResultLine(result, ".");
    std::string commas = styrmark::FormatResultLine(result, ",");
    const auto numbers = MatchResultLine(dotted, ".");
    Require(numbers.has_value() && MatchResultLine(commas, ",").has_value());

    // The separator is the only difference between the two lines.
    std::replace(commas.begin(), commas.end(), ',', '.');
    Require(commas == dotted);

    constexpr double kNauticalMilesPerKilometre = 0.54;
    const auto distance = static_cast<double>(result.distance);
    CheckShown((*numbers)[0], static_cast<double>(result.course), 0);
    CheckShown((*numbers)[1], distance, 2);
    CheckShown((*numbers)[2], distance / kNauticalMilesPerKilometre, 3);
    return *numbers;
}

int Sign(float value) { return (value > 0) - (value < 0); }

// Course range for the signs of the northing and the easting, indexed [north + 1][east + 1].
struct CourseRange {
    float lowest;
    float highest;
};
constexpr float kNoCourse = std::numeric_limits<float>::quiet_NaN();
constexpr std::array<std::array<CourseRange, 3>, 3> kCourseRanges{{
    {{{180, 270}, {180, 180}, {90, 180}}},             // south-west, south, south-east
    {{{270, 270}, {kNoCourse, kNoCourse}, {90, 90}}},  // west, nowhere, east
    {{{270, 360}, {0, 0}, {0, 90}}},                   // north-west, north, north-east
}};

void CheckCourseDistance(const std::array<std::string_view, 4>& texts) {
    std::array<std::optional<float>, 4> degrees{};
    std::transform(texts.begin(), texts.end(), degrees.begin(), styrmark::DmsToDegrees);
    const auto [ownLat, ownLon, targetLat, targetLon] = degrees;
    const auto result = styrmark::ComputeCourseDistance(texts[0], texts[1], texts[2], texts[3]);
    const bool allUsable = std::all_of(degrees.begin(), degrees.end(),
                                       [](const auto& value) { return value.has_value(); });
    Require(result.has_value() == allUsable);
    if (!result) return;

    const float course = result->course;
    const float distance = result->distance;
    Require(!std::isnan(distance) && distance >= 0);
    Require(std::isnan(course) || (course >= 0 && course <= 360));
    if (std::isfinite(distance)) Require(std::isnan(course) == (distance == 0));
    if (*ownLat == *targetLat && *ownLon == *targetLon) {
        Require(distance == 0 && std::isnan(course));
    }

    // Along a meridian the distance is the difference in latitude, in minutes.
    const double northing = (static_cast<double>(*targetLat) - static_cast<double>(*ownLat)) * 60;
    if (*ownLon == *targetLon && std::isfinite(distance)) {
        Require(std::fabs(static_cast<double>(distance) - std::fabs(northing)) <=
                std::fabs(northing) * 0x1p-22);
    }

    // The course points where the target lies. Only below 90 degrees of latitude: at the
    // pole the rounded degree-to-radian factor makes the cosine negative, which swaps
    // east and west.
    if (*targetLat < 90 && std::isfinite(distance)) {
        const CourseRange range =
            kCourseRanges[static_cast<std::size_t>(Sign(*targetLat - *ownLat) + 1)]
                         [static_cast<std::size_t>(Sign(*targetLon - *ownLon) + 1)];
        if (std::isnan(range.lowest)) {
            Require(std::isnan(course));
        } else {
            Require(course >= range.lowest && course <= range.highest);
        }
    }

    // Within 0..360 the course always shows as three digits without a sign.
    const auto numbers = CheckResultLine(*result);
    if (!std::isnan(course)) Require(numbers[0].whole.size() == 3 && !numbers[0].negative);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto texts = SplitLines(input);
    for (const std::string_view text : texts) CheckDms(text);
    CheckCourseDistance(texts);

    // The line for any pair of floats: negatives, NaN, infinities and huge values.
    if (size >= 2 * sizeof(float)) {
        CourseDistance raw{};
        std::memcpy(&raw.course, data, sizeof(float));
        std::memcpy(&raw.distance, data + sizeof(float), sizeof(float));
        CheckResultLine(raw);
    }
    return 0;
}

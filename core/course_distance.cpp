// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>

#include "core/cosine.h"
#include "core/navigation.h"

namespace styrmark {
namespace {

constexpr double kMinutesPerDegree = 60;
constexpr double kDegreesToRadians = 0.0174533;
constexpr double kRadiansToDegrees = 57.295779;
constexpr double kEastwardBase = 90;
constexpr double kWestwardBase = 270;

}  // namespace

float PlaneDistance(float departure, float latDiff) {
    const auto dep = static_cast<double>(departure);
    const auto lat = static_cast<double>(latDiff);
    return static_cast<float>(std::sqrt(dep * dep + lat * lat));
}

// The one-argument arctangent on purpose: a zero departure makes the quotient an
// infinity, whose arctangent gives due north and due south exactly.
float PlaneAngle(float departure, float latDiff) {
    const double quotient = static_cast<double>(latDiff) / static_cast<double>(departure);
    return static_cast<float>(std::atan(quotient) * kRadiansToDegrees);
}

std::optional<CourseDistance> ComputeCourseDistance(std::string_view ownLat,
                                                    std::string_view ownLon,
                                                    std::string_view targetLat,
                                                    std::string_view targetLon) {
    const auto ownLatDeg = DmsToDegrees(ownLat);
    const auto targetLatDeg = DmsToDegrees(targetLat);
    const auto ownLonDeg = DmsToDegrees(ownLon);
    const auto targetLonDeg = DmsToDegrees(targetLon);
    if (!ownLatDeg || !targetLatDeg || !ownLonDeg || !targetLonDeg) return std::nullopt;

    const auto latDiff = static_cast<float>(
        (static_cast<double>(*targetLatDeg) - static_cast<double>(*ownLatDeg)) * kMinutesPerDegree);
    const auto cosFactor =
        static_cast<float>(Cosine(static_cast<double>(*targetLatDeg) * kDegreesToRadians));
    const auto departure =
        static_cast<float>((static_cast<double>(*targetLonDeg) - static_cast<double>(*ownLonDeg)) *
                           kMinutesPerDegree * static_cast<double>(cosFactor));

    const float distance = PlaneDistance(departure, latDiff);
    const auto angle = static_cast<double>(PlaneAngle(departure, latDiff));
    // The course is deliberately not wrapped: a course just under 360 shows as 360.
    const double base = departure < 0 ? kWestwardBase : kEastwardBase;
    return CourseDistance{static_cast<float>(base - angle), distance};
}

}  // namespace styrmark

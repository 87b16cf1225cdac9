// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Plane-sailing navigation: coordinate text in, course and distance out, and the
// line the user reads. Pure functions over plain values; no state, no toolkit.

#include <optional>
#include <string>
#include <string_view>

namespace styrmark {

struct CourseDistance {
    float course;    // degrees clockwise from north, not wrapped into 0..360
    float distance;  // nautical miles
};

// Reads "degrees:minutes:seconds" into decimal degrees. Parts after the third are
// ignored; minutes and seconds are not range-checked. No value when the first three
// parts are not all non-empty digit strings, or the angle does not fit a float.
std::optional<float> DmsToDegrees(std::string_view text);

// Course and distance from the own position to the target by plane sailing, the
// departure scaled by the cosine of the target latitude. No value when any text is
// unusable. When both positions are the same the course is NaN.
std::optional<CourseDistance> ComputeCourseDistance(std::string_view ownLat,
                                                    std::string_view ownLon,
                                                    std::string_view targetLat,
                                                    std::string_view targetLon);

float PlaneDistance(float departure, float latDiff);

// Angle between the east-west line and the track, from -90 to +90 degrees.
float PlaneAngle(float departure, float latDiff);

// Renders a number by a pattern such as "000" or "0.00  DM": zeros before the point
// are the least number of integer digits, zeros after it the exact number of
// decimals, every other character is copied after the number. Rounds the exact
// binary value half away from zero, for any magnitude and any number of decimals (1.005
// is stored just below its tie and shows as 1.00); the C locale plays no part. A value
// that is not finite shows as "---".
std::string FormatNumber(double value, std::string_view pattern, std::string_view decimalSeparator);

// "Kurs 151   68.32  DM   126.522  Km", with the given decimal separator (UTF-8).
std::string FormatResultLine(const CourseDistance& result, std::string_view decimalSeparator);

}  // namespace styrmark

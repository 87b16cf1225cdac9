// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/navigation.h"

namespace styrmark {
namespace {

constexpr const char* kOwnLat = "58:00:00";
constexpr const char* kOwnLon = "17:00:00";

TEST(ComputeCourseDistance, DefaultPositions) {
    const auto result = ComputeCourseDistance(kOwnLat, kOwnLon, "57:00:00", "18:00:00");
    ASSERT_TRUE(result.has_value());
    EXPECT_NEAR(result->course, 151.4256, 1e-4);
    EXPECT_NEAR(result->distance, 68.32183, 1e-5);
}

struct Cardinal {
    const char* name;
    const char* ownLat;
    const char* ownLon;
    const char* targetLat;
    const char* targetLon;
    float course;
    float distance;  // NaN when only the course is pinned
};

class CardinalCourse : public testing::TestWithParam<Cardinal> {};

// Due north and south rest on IEEE division by zero; due west on the sign of -0.
TEST_P(CardinalCourse, IsExact) {
    const Cardinal& c = GetParam();
    const auto result = ComputeCourseDistance(c.ownLat, c.ownLon, c.targetLat, c.targetLon);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->course, c.course);
    if (!std::isnan(c.distance)) {
        EXPECT_EQ(result->distance, c.distance);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Courses, CardinalCourse,
    testing::Values(Cardinal{"north", "57:00:00", "18:00:00", "58:00:00", "18:00:00", 0, 60},
                    Cardinal{"south", "58:00:00", "18:00:00", "57:00:00", "18:00:00", 180, 60},
                    Cardinal{"east", kOwnLat, "17:00:00", "58:00:00", "18:00:00", 90, NAN},
                    Cardinal{"west", kOwnLat, "18:00:00", "58:00:00", "17:00:00", 270, NAN},
                    Cardinal{"equator_east", "0:0:0", "0:0:0", "0:0:0", "1:0:0", 90, 60}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ComputeCourseDistance, DueEastDepartureUsesTargetCosine) {
    const auto result = ComputeCourseDistance(kOwnLat, "17:00:00", "58:00:00", "18:00:00");
    ASSERT_TRUE(result.has_value());
    EXPECT_NEAR(result->distance, 31.79514, 1e-5);
}

struct Quadrant {
    const char* name;
    const char* targetLat;
    const char* targetLon;
    float lowest;
    float highest;
};

class QuadrantCourse : public testing::TestWithParam<Quadrant> {};

TEST_P(QuadrantCourse, FallsInItsQuadrant) {
    const Quadrant& q = GetParam();
    const auto result = ComputeCourseDistance(kOwnLat, kOwnLon, q.targetLat, q.targetLon);
    ASSERT_TRUE(result.has_value());
    EXPECT_GT(result->course, q.lowest);
    EXPECT_LT(result->course, q.highest);
}

INSTANTIATE_TEST_SUITE_P(Targets, QuadrantCourse,
                         testing::Values(Quadrant{"north_east", "59:00:00", "18:00:00", 0, 90},
                                         Quadrant{"south_east", "57:00:00", "18:00:00", 90, 180},
                                         Quadrant{"south_west", "57:00:00", "16:00:00", 180, 270},
                                         Quadrant{"north_west", "59:00:00", "16:00:00", 270, 360}),
                         [](const auto& row) { return std::string(row.param.name); });

// The cosine is the target's latitude alone, so the way back is not as long.
TEST(ComputeCourseDistance, ReverseTripDiffersInDistance) {
    const auto there = ComputeCourseDistance(kOwnLat, kOwnLon, "57:00:00", "18:00:00");
    const auto back = ComputeCourseDistance("57:00:00", "18:00:00", kOwnLat, kOwnLon);
    ASSERT_TRUE(there && back);
    EXPECT_NE(there->distance, back->distance);
    EXPECT_GT(back->course, 270);
}

TEST(ComputeCourseDistance, SamePositionHasZeroDistanceAndNoCourse) {
    const auto result = ComputeCourseDistance(kOwnLat, kOwnLon, kOwnLat, kOwnLon);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->distance, 0);
    EXPECT_TRUE(std::isnan(result->course));
}

TEST(ComputeCourseDistance, AnyUnusableTextGivesNoValue) {
    EXPECT_FALSE(ComputeCourseDistance("580000", kOwnLon, kOwnLat, kOwnLon));
    EXPECT_FALSE(ComputeCourseDistance(kOwnLat, "17::00", kOwnLat, kOwnLon));
    EXPECT_FALSE(ComputeCourseDistance(kOwnLat, kOwnLon, "57:00", kOwnLon));
    EXPECT_FALSE(ComputeCourseDistance(kOwnLat, kOwnLon, kOwnLat, ""));
}

// Huge but usable angles overflow the stored differences; the result must stay
// defined (infinities and NaN), not trap or crash.
TEST(ComputeCourseDistance, OverflowingDifferencesStayDefined) {
    const std::string huge = std::string(38, '3') + ":0:0";
    const auto result = ComputeCourseDistance("0:0:0", "0:0:0", huge, huge);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(std::isinf(result->distance));
}

TEST(PlaneAngle, ZeroDepartureIsExactlyNinety) {
    EXPECT_EQ(PlaneAngle(0.0F, 60.0F), 90.0F);
    EXPECT_EQ(PlaneAngle(-0.0F, 60.0F), -90.0F);
    EXPECT_EQ(PlaneAngle(0.0F, -60.0F), -90.0F);
}

TEST(PlaneDistance, IsTheHypotenuse) { EXPECT_EQ(PlaneDistance(3.0F, -4.0F), 5.0F); }

}  // namespace
}  // namespace styrmark

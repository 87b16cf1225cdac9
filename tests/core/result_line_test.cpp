#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/navigation.h"

namespace styrmark {
namespace {

struct NumberCase {
    double value;
    const char* pattern;
    const char* expected;
};

class FormatNumberCase : public testing::TestWithParam<NumberCase> {};

TEST_P(FormatNumberCase, RendersByPattern) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.pattern, "."), c.expected) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatNumberCase,
    testing::Values(NumberCase{5.2, "000", "005"}, NumberCase{0, "000", "000"},
                    NumberCase{151.4256, "000", "151"}, NumberCase{1234, "000", "1234"},
                    // The course is not wrapped.
                    NumberCase{359.7, "000", "360"},
                    // Exact ties round away from zero, unlike printf's round-half-even.
                    NumberCase{0.125, "0.00", "0.13"}, NumberCase{2.5, "000", "003"},
                    NumberCase{150.5, "000", "151"}, NumberCase{0.0625, "0.000", "0.063"},
                    NumberCase{-2.5, "000", "-003"},
                    // 1.005 and 2.675 are stored just below the tie, so they round down.
                    NumberCase{1.005, "0.00", "1.00"}, NumberCase{2.675, "0.00", "2.67"},
                    NumberCase{0.999, "0.00", "1.00"}, NumberCase{9.9996, "0.000", "10.000"},
                    NumberCase{-0.0, "0.00", "0.00"}, NumberCase{-0.001, "0.00", "0.00"},
                    NumberCase{-1.5, "0.00", "-1.50"}, NumberCase{60, "0.00  DM", "60.00  DM"},
                    NumberCase{1234.5, "0.00  DM", "1234.50  DM"}, NumberCase{0.5, ".00", ".50"},
                    // Beyond 2^52 every double is whole; no group separators.
                    NumberCase{1e20, "0.000", "100000000000000000000.000"},
                    NumberCase{9007199254740993.0, "000", "9007199254740992"},
                    NumberCase{std::numeric_limits<double>::quiet_NaN(), "000", "---"},
                    NumberCase{std::numeric_limits<double>::infinity(), "0.000  Km", "---  Km"}));

TEST(FormatNumber, UsesTheGivenSeparator) {
    EXPECT_EQ(FormatNumber(68.32183, "0.00  DM", ","), "68,32  DM");
    EXPECT_EQ(FormatNumber(126.5219, "0.000  Km", "\u066B"), "126\u066B522  Km");
}

struct LineCase {
    CourseDistance result;
    const char* separator;
    const char* expected;
};

class ResultLine : public testing::TestWithParam<LineCase> {};

TEST_P(ResultLine, IsExact) {
    const LineCase& c = GetParam();
    EXPECT_EQ(FormatResultLine(c.result, c.separator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ResultLine,
    testing::Values(LineCase{{151.4256F, 68.32183F}, ".", "Kurs 151   68.32  DM   126.522  Km"},
                    LineCase{{151.4256F, 68.32183F}, ",", "Kurs 151   68,32  DM   126,522  Km"},
                    LineCase{{0.0F, 60.0F}, ".", "Kurs 000   60.00  DM   111.111  Km"},
                    LineCase{{5.2F, 1234.5F}, ".", "Kurs 005   1234.50  DM   2286.111  Km"},
                    LineCase{{359.7F, 0.0F}, ".", "Kurs 360   0.00  DM   0.000  Km"},
                    LineCase{{NAN, 0.0F}, ",", "Kurs ---   0,00  DM   0,000  Km"}));

// The whole road from four texts to the line the user reads.
TEST(ResultLine, DefaultPositionsEndToEnd) {
    const auto result = ComputeCourseDistance("58:00:00", "17:00:00", "57:00:00", "18:00:00");
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(FormatResultLine(*result, "."), "Kurs 151   68.32  DM   126.522  Km");
}

}  // namespace
}  // namespace styrmark

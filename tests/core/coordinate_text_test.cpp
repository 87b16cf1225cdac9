// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/navigation.h"

namespace styrmark {
namespace {

struct DmsCase {
    const char* text;
    double expected;  // rounded to a float before comparing
};

class DmsToDegreesValue : public testing::TestWithParam<DmsCase> {};

TEST_P(DmsToDegreesValue, ReadsDegreesMinutesSeconds) {
    const auto degrees = DmsToDegrees(GetParam().text);
    ASSERT_TRUE(degrees.has_value());
    EXPECT_EQ(*degrees, static_cast<float>(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DmsToDegreesValue,
    testing::Values(
        DmsCase{"58:00:00", 58.0}, DmsCase{"59:04:30", 59.075},
        DmsCase{"18:04:00", 18.0 + 4.0 / 60.0},
        // Parts past the third are ignored, whatever they hold.
        DmsCase{"58:00:00:12", 58.0}, DmsCase{"5:8:0:0", 5.0 + 8.0 / 60.0},
        DmsCase{"58:00:00:", 58.0}, DmsCase{"58:00:00:x:", 58.0},
        // No carry and no range check.
        DmsCase{"58:75:99", 59.2775}, DmsCase{"123:00:00", 123.0}, DmsCase{"058:00:00", 58.0},
        DmsCase{"0:0:0", 0.0}, DmsCase{"0000000000000000000058:0:0", 58.0},
        // 19 digits still fit 64 bits, 20 no longer do.
        DmsCase{"9999999999999999999:0:0", 1e19}, DmsCase{"18446744073709551616:0:0", 0x1p64},
        DmsCase{"99999999999999999999:0:0", 1e20},
        // 2^60 + 2^36 + 1 rounds to a double first, onto a float tie, then to even.
        DmsCase{"1152921573326323713:0:0", 0x1p60}, DmsCase{"01152921573326323713:0:0", 0x1p60},
        // Minutes and seconds added one at a time: together they would pass half an ulp.
        DmsCase{"281474993487872:1:59", 0x1p48},
        // The largest float is still read.
        DmsCase{"340282346638528859811704183484516925440:0:0",
                static_cast<double>(std::numeric_limits<float>::max())}));

class DmsToDegreesUnusable : public testing::TestWithParam<std::string> {};

TEST_P(DmsToDegreesUnusable, HasNoValue) { EXPECT_FALSE(DmsToDegrees(GetParam()).has_value()); }

INSTANTIATE_TEST_SUITE_P(Texts, DmsToDegreesUnusable,
                         testing::Values("", "580000", "58:00", "58:00:", "58::00", ":00:00",
                                         "::", "58:0a:00", "-58:00:00", "58.5:00:00", " 58:00:00",
                                         "58:00:00 ", "1e3:00:00", "inf:00:00", "nan:0:0",
                                         "0x10:0:0",
                                         // Whole numbers beyond a float, and beyond a double.
                                         std::string(40, '9') + ":00:00",
                                         "00:00:" + std::string(400, '9'),
                                         std::string(400, '9') + ":00:00"));

// A text cut out of a longer buffer must be read only up to its own end.
TEST(DmsToDegrees, ReadsNoFurtherThanTheText) {
    const std::string buffer = "58:00:0012345";
    EXPECT_EQ(DmsToDegrees(std::string_view(buffer).substr(0, 7)), 58.0F);
    EXPECT_FALSE(DmsToDegrees(std::string_view(buffer).substr(0, 6)).has_value());
}

}  // namespace
}  // namespace styrmark

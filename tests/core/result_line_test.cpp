// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>

#include "core/navigation.h"

namespace styrmark {
namespace {

struct NumberCase {
    double value;
    std::string pattern;
    std::string expected;
};

const NumberCase kNumberCases[] = {
    {5.2, "000", "005"},
    {0, "000", "000"},
    {151.4256, "000", "151"},
    {1234, "000", "1234"},
    {5, "0000000000", "0000000005"},
    // The course is not wrapped.
    {359.7, "000", "360"},
    // Exact ties round away from zero, unlike printf's round-half-even.
    {0.125, "0.00", "0.13"},
    {2.5, "000", "003"},
    {150.5, "000", "151"},
    {0.0625, "0.000", "0.063"},
    {-2.5, "000", "-003"},
    {-0.125, "0.00", "-0.13"},
    {0.5, "0", "1"},
    {-0.5, "0", "-1"},
    {-99.5, "000", "-100"},
    {1082.8125, "0.000", "1082.813"},
    // Ties that round up to even as well: rounded up once, not twice.
    {0.375, "0.00", "0.38"},
    {3.5, "000", "004"},
    {4503599627370495.5, "000", "4503599627370496"},
    {0x1p-20, "0.0000000000000000000", "0.0000009536743164063"},
    {-0x1p-20, "0.0000000000000000000", "-0.0000009536743164063"},
    // Stored just below the tie, so they round down; 0.015 * 100 is exactly 1.5 in doubles.
    {1.005, "0.00", "1.00"},
    {2.675, "0.00", "2.67"},
    {0.015, "0.00", "0.01"},
    {1.015, "0.00", "1.01"},
    {0.045, "0.00", "0.04"},
    {-1.005, "0.00", "-1.00"},
    // Stored just above it.
    {0.035, "0.00", "0.04"},
    {8.345, "0.00", "8.35"},
    {999.9995, "0.000", "1000.000"},
    {0.999, "0.00", "1.00"},
    {9.9996, "0.000", "10.000"},
    {-0.0, "0.00", "0.00"},
    {-0.001, "0.00", "0.00"},
    {-1.5, "0.00", "-1.50"},
    {60, "0.00  DM", "60.00  DM"},
    {1234.5, "0.00  DM", "1234.50  DM"},
    {0.5, ".00", ".50"},
    // Every digit the double holds, however many the pattern asks for; no group separators.
    {1e10, "0.0000000000", "10000000000.0000000000"},
    {0.1, "0.00000000000000000000", "0.10000000000000000555"},
    {1.005, "0.0000000000000000", "1.0049999999999999"},
    // The digits dropped are a 4 and then seventeen 9s: rounding any earlier than the
    // last exact digit would carry into the 4.
    {5e-15, "0.00000000000000", "0.00000000000000"},
    {1e20, "0.000", "100000000000000000000.000"},
    {1e23, "0", "99999999999999991611392"},
    {0x1p70, "0.0", "1180591620717411303424.0"},
    {-0x1p70, "0", "-1180591620717411303424"},
    {9007199254740993.0, "000", "9007199254740992"},
    {std::numeric_limits<double>::denorm_min(), "0." + std::string(323, '0'),
     "0." + std::string(323, '0')},
    {std::numeric_limits<double>::denorm_min(), "0." + std::string(324, '0'),
     "0." + std::string(323, '0') + "5"},
    {std::numeric_limits<double>::quiet_NaN(), "000", "---"},
    {std::numeric_limits<double>::infinity(), "0.000  Km", "---  Km"},
};

void PrintTo(const NumberCase& c, std::ostream* out) {
    *out << c.value << " by \"" << c.pattern << '"';
}

class FormatNumberCase : public testing::TestWithParam<NumberCase> {};

TEST_P(FormatNumberCase, RendersByPattern) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.pattern, "."), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Patterns, FormatNumberCase, testing::ValuesIn(kNumberCases));

// QApplication sets the C library's locale from the environment; the digits must not
// follow it. Runs only where a locale with a decimal comma is installed.
TEST(FormatNumber, IgnoresTheCLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const auto hasDecimalComma = [](const char* name) {
        return std::setlocale(LC_ALL, name) != nullptr &&
               std::string_view(std::localeconv()->decimal_point) == ",";
    };
    if (!hasDecimalComma("sv_SE.UTF-8") && !hasDecimalComma("de_DE.UTF-8")) {
        std::setlocale(LC_ALL, saved.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    for (const NumberCase& c : kNumberCases)
        EXPECT_EQ(FormatNumber(c.value, c.pattern, "."), c.expected) << testing::PrintToString(c);
    std::setlocale(LC_ALL, saved.c_str());
}

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

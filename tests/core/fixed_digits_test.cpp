// SPDX-License-Identifier: GPL-3.0-or-later
// Fixed-point digits against the standard library's own exact conversion, on the quick path
// a result line takes and on the long one, ties and the smallest values included.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>

#include "core/fixed_digits.h"

namespace styrmark {
namespace {

std::string Reference(double value, int decimals) {
    std::array<char, 1500> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value,
                                   std::chars_format::fixed, decimals)
                         .ptr;
    return {text.data(), end};
}

std::string Ours(double value, int decimals) {
    std::array<char, 1500> text{};
    return {text.data(), FixedDigits(text.data(), value, decimals)};
}

TEST(FixedDigits, EdgesAsTheStandardLibraryPrintsThem) {
    const double values[] = {0,
                             0.5,
                             1.5,
                             2.5,
                             0.125,
                             0.375,
                             68.32183074951172,
                             126.5,
                             0x1p40,
                             0x1p40 - 0x1p-12,
                             0x1p53,
                             1e300,
                             5e-324,
                             0x1p-60,
                             999.9995,
                             0.0005,
                             11111017.593};
    for (const double value : values) {
        for (int decimals = 0; decimals <= 8; ++decimals)
            EXPECT_EQ(Ours(value, decimals), Reference(value, decimals)) << value;
    }
}

// Doubles of every size from their bits, and values at a half of the last place asked.
TEST(FixedDigits, RandomDoublesAsTheStandardLibraryPrintsThem) {
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        const auto exponent = static_cast<std::uint64_t>(1023 - 80 + random() % 140);
        const double value = std::bit_cast<double>(exponent << 52 | (random() >> 12));
        const int decimals = static_cast<int>(random() % 9);
        ASSERT_EQ(Ours(value, decimals), Reference(value, decimals)) << value;
        const double tie = static_cast<double>(random() % 100000) + 0.5;
        ASSERT_EQ(Ours(tie / 1000, 2), Reference(tie / 1000, 2)) << tie;
    }
}

}  // namespace
}  // namespace styrmark

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fixed_digits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace styrmark {

Binary Decompose(double magnitude) {
    using Limits = std::numeric_limits<double>;
    constexpr int kFractionBits = Limits::digits - 1;
    constexpr int kBias = Limits::max_exponent - 1;
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto storedExponent = static_cast<int>(bits >> kFractionBits);
    std::uint64_t significand = bits & ((std::uint64_t{1} << kFractionBits) - 1);
    if (storedExponent != 0) significand |= std::uint64_t{1} << kFractionBits;
    return {significand, std::max(storedExponent, 1) - kBias - kFractionBits};
}

namespace {

// A whole number in 32-bit limbs, the lowest first.
using Whole = std::vector<std::uint32_t>;

void Multiply(Whole& number, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : number) {
        carry += std::uint64_t{limb} * factor;
        limb = static_cast<std::uint32_t>(carry);
        carry >>= 32;
    }
    if (carry != 0) number.push_back(static_cast<std::uint32_t>(carry));
}

// Divides in place; returns the remainder.
std::uint32_t Divide(Whole& number, std::uint32_t divisor) {
    std::uint64_t rest = 0;
    for (std::size_t i = number.size(); i > 0; --i) {
        rest = rest << 32 | number[i - 1];
        number[i - 1] = static_cast<std::uint32_t>(rest / divisor);
        rest %= divisor;
    }
    while (!number.empty() && number.back() == 0) number.pop_back();
    return static_cast<std::uint32_t>(rest);
}

bool Bit(const Whole& number, std::size_t at) {
    return at / 32 < number.size() && (number[at / 32] >> (at % 32) & 1U) != 0;
}

void ShiftLeft(Whole& number, std::size_t bits) {
    number.insert(number.begin(), bits / 32, 0);
    if (bits % 32 == 0) return;
    number.push_back(0);
    for (std::size_t i = number.size() - 1; i > bits / 32; --i)
        number[i] = number[i] << (bits % 32) | number[i - 1] >> (32 - bits % 32);
    number[bits / 32] <<= bits % 32;
}

// Drops the lowest bits, rounding to the nearest whole number, ties to even.
void ShiftRightRounded(Whole& number, std::size_t bits) {
    const bool half = Bit(number, bits - 1);
    bool below = false;
    for (std::size_t at = 0; at + 1 < bits && !below; ++at) below = Bit(number, at);
    const bool up = half && (below || Bit(number, bits));
    Whole shifted;
    for (std::size_t at = bits; at < 32 * number.size(); at += 32) {
        std::uint32_t limb = 0;
        for (std::size_t bit = 0; bit < 32; ++bit) limb |= (Bit(number, at + bit) ? 1U : 0U) << bit;
        shifted.push_back(limb);
    }
    number = std::move(shifted);
    if (!up) return;
    for (std::uint32_t& limb : number) {
        if (++limb != 0) return;
    }
    number.push_back(1);
}

// Writes `scaled`, a whole number of 10^-decimals, with at least one digit before the point.
char* WriteScaled(char* first, std::uint64_t scaled, int decimals) {
    std::array<char, 24> digits{};  // the lowest first
    std::size_t count = 0;
    for (; scaled != 0 || count <= static_cast<std::size_t>(decimals); scaled /= 10)
        digits[count++] = static_cast<char>('0' + scaled % 10);
    for (std::size_t i = count; i > 0; --i) {
        *first++ = digits[i - 1];
        if (i - 1 == static_cast<std::size_t>(decimals) && decimals > 0) *first++ = '.';
    }
    return first;
}

// Below 2^40 and with up to 6 decimals, the exact product significand × 10^decimals fits
// 128 bits and the rounded result 64: the values a result line meets, with no heap.
constexpr double kQuickBelow = 0x1p40;
constexpr int kQuickMostDecimals = 6;

char* QuickFixedDigits(char* first, double magnitude, int decimals) {
    __extension__ using Wide = unsigned __int128;
    const Binary binary = Decompose(magnitude);
    Wide product = binary.significand;
    for (int i = 0; i < decimals; ++i) product *= 10;
    // Below 2^40 at least 12 bits are below the point: always a right shift.
    const int shift = -binary.exponent;
    if (shift >= 128) return WriteScaled(first, 0, decimals);  // below a half
    const Wide rest = product & ((Wide{1} << shift) - 1);
    const Wide half = Wide{1} << (shift - 1);
    auto scaled = static_cast<std::uint64_t>(product >> shift);
    if (rest > half || (rest == half && (scaled & 1) != 0)) ++scaled;
    return WriteScaled(first, scaled, decimals);
}

char* ExactFixedDigits(char* first, double magnitude, int decimals) {
    const Binary binary = Decompose(magnitude);
    // magnitude × 10^decimals = significand × 5^decimals × 2^(exponent + decimals).
    Whole scaled{static_cast<std::uint32_t>(binary.significand),
                 static_cast<std::uint32_t>(binary.significand >> 32)};
    constexpr std::uint32_t kFivesInALimb = 1220703125;  // 5^13
    int fives = decimals;
    for (; fives >= 13; fives -= 13) Multiply(scaled, kFivesInALimb);
    for (; fives > 0; --fives) Multiply(scaled, 5);
    const int twos = binary.exponent + decimals;
    if (twos >= 0) {
        ShiftLeft(scaled, static_cast<std::size_t>(twos));
    } else {
        ShiftRightRounded(scaled, static_cast<std::size_t>(-twos));
    }

    // Its digits, the lowest first, then at least one before the point.
    std::vector<char> digits;
    while (!scaled.empty()) {
        std::uint32_t group = Divide(scaled, 1000000000);
        for (int i = 0; i < 9; ++i, group /= 10)
            digits.push_back(static_cast<char>('0' + group % 10));
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const auto places = static_cast<std::size_t>(decimals);
    digits.resize(std::max(digits.size(), places + 1), '0');
    for (std::size_t i = digits.size(); i > 0; --i) {
        *first++ = digits[i - 1];
        if (i - 1 == places && places > 0) *first++ = '.';
    }
    return first;
}

}  // namespace

char* FixedDigits(char* first, double magnitude, int decimals) {
    if (magnitude < kQuickBelow && decimals <= kQuickMostDecimals)
        return QuickFixedDigits(first, magnitude, decimals);
    return ExactFixedDigits(first, magnitude, decimals);
}

}  // namespace styrmark

// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "core/navigation.h"

namespace {

// One press of the button: four texts parsed, course and distance, the result line.
void WholeCalculation(benchmark::State& state) {
    for (auto _ : state) {
        const auto result =
            styrmark::ComputeCourseDistance("58:00:00", "17:00:00", "57:00:00", "18:00:00");
        std::string line = styrmark::FormatResultLine(*result, ",");
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(WholeCalculation);

// The same press with the line printed by the C library, which rounds half to even and
// takes the separator from the C locale: the yardstick for the exact printing above.
void WholeCalculationBySnprintf(benchmark::State& state) {
    for (auto _ : state) {
        const auto result =
            styrmark::ComputeCourseDistance("58:00:00", "17:00:00", "57:00:00", "18:00:00");
        char printed[64];
        const int length = std::snprintf(
            printed, sizeof printed, "Kurs %03.0f   %.2f  DM   %.3f  Km",
            static_cast<double>(result->course), static_cast<double>(result->distance),
            static_cast<double>(result->distance) / 0.54);
        std::string line(printed, static_cast<std::size_t>(length));
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(WholeCalculationBySnprintf);

}  // namespace

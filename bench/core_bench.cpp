// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

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

}  // namespace

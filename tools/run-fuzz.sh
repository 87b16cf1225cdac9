#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz preset and runs the core fuzzer for a bounded time, 60 seconds
# unless given: tools/run-fuzz.sh [seconds]. Any crash, leak or broken invariant
# fails the run and leaves the input in build/fuzz/run/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}

tools/configure.sh fuzz
cmake --build --preset fuzz

# The fuzzer adds to the corpus it is given; keep the seeds in fuzz/corpus as they are.
work=build/fuzz/run
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp fuzz/corpus/* "$work/corpus/"

# Progress lines go to a log; the final statistics, or the log's tail on a finding, show.
if build/fuzz/fuzz/core_fuzz -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$work/corpus" >"$work/fuzz.log" 2>&1; then
    grep -E '^(Done|stat::)' "$work/fuzz.log"
else
    tail -n 60 "$work/fuzz.log"
    echo "run-fuzz: a finding; the input is in $work/artifacts/" >&2
    exit 1
fi

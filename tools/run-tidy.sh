#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs clang-tidy with the repository's .clang-tidy over the project's own sources in
# core/, ui/ and app/, or in the directories given: tools/run-tidy.sh [dir...].
# Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/default
# Configuring refreshes compile_commands.json with any new source. Qt's generated
# headers (ui_*.h, moc) must exist too; the global autogen target makes just them.
tools/configure.sh default -DCMAKE_GLOBAL_AUTOGEN_TARGET=ON >/dev/null
cmake --build "$build" --target autogen >/dev/null

sources=()
dirs=("$@")
[ ${#dirs[@]} -gt 0 ] || dirs=(core ui app)
for dir in "${dirs[@]}"; do
    [ -d "$dir" ] || continue
    while IFS= read -r file; do
        # A file the build does not compile has no flags to check it with.
        if grep -qF "\"file\": \"$PWD/$file\"" "$build/compile_commands.json"; then
            sources+=("$file")
        else
            echo "run-tidy: $file is not in the build, not checked" >&2
        fi
    done < <(find "$dir" -name '*.cpp' | sort)
done

# clang-tidy's exit status decides; the per-file count of system-header warnings it
# suppressed is noise.
/usr/bin/clang-tidy -p "$build" --quiet "${sources[@]}" 2>&1 |
    { grep -v '^[0-9]* warnings generated\.$' || true; }

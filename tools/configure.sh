#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures a CMake preset: tools/configure.sh PRESET [cmake option...]. A build tree
# made by another generator (the presets used Makefiles before Ninja) cannot be
# configured again in place, so it is started afresh.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=$1
shift
cache=build/$preset/CMakeCache.txt
if [ -f "$cache" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$cache"; then
    echo "configure: build/$preset was made by another generator; starting it afresh"
    rm -rf "build/$preset"
fi
exec cmake --preset "$preset" "$@"

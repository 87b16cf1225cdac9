#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of Styrmark against a bare Qt window with the same controls, on a private
# X server: time from exec to the window mapped and to its first paint, CPU time, peak
# RSS and the memory each writes itself. A benchmark: it prints, it does not judge.
#
# Usage: tools/bench-startup.sh [ROUNDS [PROGRAM [BASELINE]]]
# Defaults: 51 rounds, the built styrmark against the built bare window (build first).
# Giving two programs compares any two builds. STYRMARK_BENCH_EACH=FILE keeps every
# run's figures.
#
# No window manager: the program's map request then maps the window at once, so the
# time measured is the program's own and not also a window manager's turn on the CPU.
set -euo pipefail

rounds=${1:-51}
build=$(cd "$(dirname "$0")/.." && pwd)/build/default
program=${2:-$build/app/styrmark}
baseline=${3:-$build/bench/startup/bare_window}
timer=$build/bench/startup/startup_timer
for file in "$program" "$baseline" "$timer"; do
    [ -x "$file" ] || { echo "bench-startup: $file is not there to run; build first" >&2; exit 1; }
done
command -v Xvfb >/dev/null || { echo "bench-startup: needs Xvfb (tools/install-deps.sh)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/styrmark-bench.XXXXXX")
xvfb=
cleanup() {
    [ -z "$xvfb" ] || { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for ((tenths = 0; tenths < 100; tenths++)); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "bench-startup: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }

# The same small environment for both: no session bus, desktop theme or user style to
# make one of them slower for reasons of its own.
mkdir -m 700 "$work/runtime"
status=0
env -i PATH="$PATH" HOME="$HOME" LANG="${LANG:-C.UTF-8}" DISPLAY=":$(head -n 1 "$work/display")" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    "$timer" --rounds "$rounds" --log "$work/programs.log" --each "${STYRMARK_BENCH_EACH:-/dev/null}" \
    "$program" "$baseline" || status=$?
if [ "$status" -ne 0 ]; then
    echo "bench-startup: what the programs wrote:" >&2
    tail -n 20 "$work/programs.log" >&2
fi
exit "$status"

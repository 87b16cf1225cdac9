#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the Windows program against a bare Win32 window with the same controls, both
# under one Wine on a private X server, taking turns for ROUNDS rounds (default 51). A
# benchmark: it prints, it does not judge. Build first (make windows).
set -euo pipefail
rounds=${1:-51}
build=$(cd "$(dirname "$0")/.." && pwd)/build/windows
for file in app/win32/styrmark.exe bench/windows/bare_window.exe bench/windows/startup_timer.exe; do
    [ -f "$build/$file" ] || { echo "bench-windows-startup: no $build/$file; make windows first" >&2; exit 1; }
done
exec "$(dirname "$0")/wine-run.sh" "$build/bench/windows/startup_timer.exe" "$rounds" \
    "$build/app/win32/styrmark.exe" "$build/bench/windows/bare_window.exe"

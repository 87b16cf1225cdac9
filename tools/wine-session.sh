#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command in a Wine of its own: a private X display, a fresh WINEPREFIX and HOME,
# one wineboot, and every process it started ended afterwards, whatever the command did.
#
#   tools/wine-session.sh COMMAND...
#
# Inside, STYRMARK_WINE_SESSION is set, and tools/wine-run.sh starts Windows programs in
# this session rather than in one of their own.
set -euo pipefail

for command in Xvfb wineboot wineserver; do
    command -v "$command" >/dev/null || { echo "wine-session: $command is missing (make windows installs it)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/styrmark-wine.XXXXXX")
xvfb=
finish() {
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$work/prefix wineserver -w 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "wine-session: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }

mkdir -p "$work/home"
export DISPLAY=:$(cat "$work/display") WINEPREFIX=$work/prefix HOME=$work/home
# Nothing to ask about Mono or Gecko, which the programs under test do not need, and no
# debugger that waits for someone when a program crashes.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=" STYRMARK_WINE_SESSION=1
wineboot -i >/dev/null 2>&1
# No window manager runs here: Wine draws the frames itself and does not wait for one to
# take a closed window away.
wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=wine
"$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$@"

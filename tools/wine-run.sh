#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a Windows program under Wine: CMake's emulator for the windows preset. Inside a
# session of tools/wine-session.sh it runs there; alone, it makes a session of its own.
set -euo pipefail
if [ -z "${STYRMARK_WINE_SESSION:-}" ]; then
    exec "$(dirname "$0")/wine-session.sh" "$0" "$@"
fi
# Debian's wine wrapper warns on every start that 32-bit Wine is missing; the programs
# here are 64-bit only.
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=wine
exec "$loader" "$@"

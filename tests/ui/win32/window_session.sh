#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the window tests inside tools/wine-session.sh, with the user's text size set first.
#
#   window_session.sh WINDOW_TEST [TEXT_SCALE_PERCENT]
set -euo pipefail
if [ $# -gt 1 ]; then
    "$(dirname "$0")/../../../tools/wine-run.sh" reg add 'HKCU\Software\Microsoft\Accessibility' \
        /v TextScaleFactor /t REG_DWORD /d "$2" /f >/dev/null
fi
exec "$(dirname "$0")/../../../tools/wine-run.sh" "$1"

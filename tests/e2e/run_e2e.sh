#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs e2e_test.py against the real program on a desktop of its own: a private X
# server, window manager, D-Bus session and accessibility bus, so that it needs no
# display and disturbs no other test running at the same time.
#
# Usage: run_e2e.sh PROGRAM DECIMAL_SEPARATOR RUN...
# Each RUN starts the program afresh on a desktop of its kind:
#   plain          everything, as most users have it
#   scaled         everything, at Qt scale factor 2
#   large-text     everything, with 144 dpi text and no scaling, so the layout must grow
#   dark           the result line read off a dark GTK theme
#   no-liberation  the widest line, with no face of MS Sans Serif's metrics installed
# Pictures and logs stay in a directory under $TMPDIR when something fails.
set -euo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 PROGRAM DECIMAL_SEPARATOR RUN..." >&2
    exit 2
fi

# Everything below runs inside a D-Bus session of its own, which ends with us.
if [ -z "${STYRMARK_E2E_WORK:-}" ]; then
    for command in dbus-run-session Xvfb openbox xdotool import convert xprop; do
        command -v "$command" >/dev/null || missing="${missing:-} $command"
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing="${missing:-} pyatspi"
    if [ -n "${missing:-}" ]; then
        echo "FAIL: missing$missing; tools/install-deps.sh installs them" >&2
        exit 1
    fi
    # The bus daemons started on demand inherit this environment. A display left set
    # would get our accessibility bus announced on it; without a runtime directory of
    # its own, the bus socket would go where parallel runs share it.
    unset DISPLAY AT_SPI_BUS_ADDRESS
    STYRMARK_E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/styrmark-e2e.XXXXXX")
    export STYRMARK_E2E_WORK XDG_RUNTIME_DIR=$STYRMARK_E2E_WORK/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    dbus-run-session -- "$0" "$@" &
    session=$!
    # dbus-run-session passes no signal on; the run inside cleans up when told to stop.
    trap 'kill "$(cat "$STYRMARK_E2E_WORK/run.pid" 2>/dev/null)" 2>/dev/null' TERM INT HUP
    while true; do
        status=0
        wait "$session" || status=$?
        kill -0 "$session" 2>/dev/null || exit "$status"
    done
fi
echo $$ >"$STYRMARK_E2E_WORK/run.pid"

program=$(realpath "$1")
separator=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
work=$STYRMARK_E2E_WORK
pids=()

cleanup() {
    local status=$?
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    if [ "$status" -eq 0 ]; then
        rm -rf "$work"
    else
        echo "e2e: pictures and logs kept in $work" >&2
    fi
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Each server says on this pipe when it is ready. A busy machine can take long to get
# there, so the ceilings are generous; a server that dies is noticed within a second.
mkfifo "$work/ready"
exec 3<>"$work/ready"
ready_within() {
    local seconds=$1 pid=$2
    for ((waited = 0; waited < seconds; waited++)); do
        read -r -t 1 -u 3 said && return 0
        kill -0 "$pid" 2>/dev/null || return 1
    done
    return 1
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 2>"$work/xvfb.log" &
pids+=($!)
ready_within 120 "${pids[-1]}" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=:$said
export DISPLAY

# A window manager, so that the window is framed, activated and closed as on a desktop;
# its own configuration file keeps a user's key bindings out. It runs the start-up
# command once it manages the screen.
openbox --config-file /etc/xdg/openbox/rc.xml \
    --startup 'sh -c "echo openbox >\"$STYRMARK_E2E_WORK/ready\""' >"$work/openbox.log" 2>&1 3>&- &
pids+=($!)
ready_within 120 "${pids[-1]}" || fail "openbox did not take over $DISPLAY: $(cat "$work/openbox.log")"
exec 3>&-

# Asking for the desktop starts the accessibility bus and its registry before the
# program looks for them.
timeout 120 /usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0)' ||
    fail "the accessibility bus did not come up"

# The fonts a desktop has, less those drawn to MS Sans Serif's metrics.
cat >"$work/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include>/etc/fonts/fonts.conf</include>
  <cachedir>$work/fontconfig</cachedir>
  <selectfont><rejectfont>
    <pattern><patelt name="family"><string>Liberation Sans</string></patelt></pattern>
    <pattern><patelt name="family"><string>Arimo</string></patelt></pattern>
    <pattern><patelt name="family"><string>Nimbus Sans</string></patelt></pattern>
    <pattern><patelt name="family"><string>Nimbus Sans L</string></patelt></pattern>
  </rejectfont></selectfont>
</fontconfig>
EOF

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
for run in "$@"; do
    case $run in
        plain) desktop=() checks=(--checks all) ;;
        scaled) desktop=(QT_SCALE_FACTOR=2) checks=(--scale 2 --layout 2 --checks all) ;;
        large-text) desktop=(QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=144) checks=(--layout 1.5 --checks all) ;;
        dark) desktop=(QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark) checks=(--checks dark) ;;
        no-liberation) desktop=(FONTCONFIG_FILE="$work/fonts.conf") checks=(--checks widest) ;;
        *) fail "unknown run $run" ;;
    esac
    started=$SECONDS
    env "${desktop[@]}" "$program" >"$work/program-$run.log" 2>&1 &
    program_pid=$!
    pids+=("$program_pid")
    # In the background, so that a signal to stop is handled without waiting for it.
    /usr/bin/python3 -X utf8 "$here/e2e_test.py" --pid "$program_pid" "${checks[@]}" \
        --separator "$separator" --pictures "$work" &
    pids+=($!)
    wait "${pids[-1]}" || fail "in the $run run; the program's output is in $work/program-$run.log"
    unset 'pids[-1]'
    # The driver closed the window and saw the process end; collect how it ended.
    status=0
    wait "$program_pid" || status=$?
    unset 'pids[-1]'
    [ "$status" -eq 0 ] || fail "in the $run run the program ended with status $status"
    echo "e2e: $run passed in $((SECONDS - started)) s"
done

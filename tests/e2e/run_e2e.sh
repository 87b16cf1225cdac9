#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs e2e_test.py against the real program on a desktop of its own: a private X
# server and window manager, or a headless Wayland compositor (sway), with a D-Bus
# session and accessibility bus, so that it needs no display and disturbs no other test
# running at the same time.
#
# Usage: run_e2e.sh PROGRAM DECIMAL_SEPARATOR RUN...
# Each RUN starts the program afresh on a desktop of its kind:
#   plain           everything, as most users have it
#   scaled          everything, at Qt scale factor 2
#   large-text      everything, with 144 dpi text and no scaling, so the layout must grow
#   dark            the result line read off a dark GTK theme
#   no-liberation   the widest line, with no face of MS Sans Serif's metrics installed
#   wayland         everything on Wayland, the platform chosen by the program itself
#   wayland-scaled  everything on Wayland, on an output of scale 2
# Pictures and logs stay in a directory under $TMPDIR when something fails.
set -euo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 PROGRAM DECIMAL_SEPARATOR RUN..." >&2
    exit 2
fi

# Everything below runs inside a D-Bus session of its own, which ends with us.
if [ -z "${STYRMARK_E2E_WORK:-}" ]; then
    commands=(dbus-run-session Xvfb openbox xdotool import convert xprop)
    [[ " $* " == *" wayland"* ]] && commands+=(sway swaymsg wtype grim)
    for command in "${commands[@]}"; do
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
    # A Wayland session of the user's would get our keys and windows.
    unset DISPLAY AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY SWAYSOCK
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

start_x11() {
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
}

until_within() {
    local seconds=$1 pid=$2
    shift 2
    for ((waited = 0; waited < 10 * seconds; waited++)); do
        "$@" 2>/dev/null && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# A headless sway, with no GPU, seat or Xwayland: the program's window can only be a
# native one. sway will not run as root; run as root, it runs as a system user made for
# it, and the program and the test, still root, reach its sockets by their paths.
start_sway() {
    local runtime=$work/sway as_user=()
    mkdir -m 700 "$runtime"
    if [ "$(id -u)" -eq 0 ]; then
        local user=styrmark-e2e
        # A run beside this one may make the user between the two calls.
        id -u "$user" >/dev/null 2>&1 ||
            useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
                "$user" 2>/dev/null || id -u "$user" >/dev/null ||
            fail "could not make the user $user to run sway as"
        chown "$user:" "$runtime"
        chmod 711 "$work"
        as_user=(setpriv --reuid="$user" --regid="$user" --clear-groups)
    fi
    printf 'xwayland disable\noutput * resolution 1280x1024\n' >"$work/sway.conf"
    chmod 644 "$work/sway.conf"
    env -i PATH="$PATH" XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_RENDERER=pixman \
        "${as_user[@]}" sway --config "$work/sway.conf" >"$work/sway.log" 2>&1 &
    pids+=($!)
    sway_answers() {
        SWAYSOCK=$(echo "$runtime"/sway-ipc.*.sock) swaymsg -t get_version >/dev/null
    }
    until_within 120 "${pids[-1]}" sway_answers || fail "sway did not start: $(cat "$work/sway.log")"
    SWAYSOCK=$(echo "$runtime"/sway-ipc.*.sock)
    WAYLAND_DISPLAY=$(find "$runtime" -name 'wayland-*' -type s)
    export SWAYSOCK WAYLAND_DISPLAY

    # A desktop has a keyboard: this one stays for the whole run (ten minutes at most),
    # and each key the test presses comes from another, attached while the window is
    # active, as an on-screen keyboard's are.
    wtype -s 600000 &
    pids+=($!)
    keyboard_attached() { swaymsg -t get_inputs | grep -q '"type": "keyboard"'; }
    until_within 120 "${pids[-1]}" keyboard_attached || fail "no keyboard attached to sway"
}

x11=false wayland=false
for run in "$@"; do
    case $run in wayland*) wayland=true ;; *) x11=true ;; esac
done
! $x11 || start_x11
exec 3>&-
! $wayland || start_sway

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

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
for run in "$@"; do
    platform=(QT_QPA_PLATFORM=xcb) kind=x11
    case $run in
        plain) desktop=() checks=(--checks all) ;;
        scaled) desktop=(QT_SCALE_FACTOR=2) checks=(--scale 2 --layout 2 --checks all) ;;
        large-text) desktop=(QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=144) checks=(--layout 1.5 --checks all) ;;
        dark) desktop=(QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark) checks=(--checks dark) ;;
        no-liberation) desktop=(FONTCONFIG_FILE="$work/fonts.conf") checks=(--checks widest) ;;
        wayland | wayland-scaled)
            # No DISPLAY, no platform named: the program must pick Wayland itself. Under
            # the leak checker, only the slow unwinder reaches the frames of Qt's Wayland
            # libraries that its suppressions name.
            platform=(-u DISPLAY -u QT_QPA_PLATFORM) kind=wayland
            desktop=(${LSAN_OPTIONS:+"LSAN_OPTIONS=$LSAN_OPTIONS:fast_unwind_on_malloc=0"})
            scale=$([ "$run" = wayland ] && echo 1 || echo 2)
            swaymsg -q output '*' scale "$scale"
            checks=(--layout "$scale" --checks all) ;;
        *) fail "unknown run $run" ;;
    esac
    started=$SECONDS
    env "${platform[@]}" "${desktop[@]}" "$program" >"$work/program-$run.log" 2>&1 &
    program_pid=$!
    pids+=("$program_pid")
    # In the background, so that a signal to stop is handled without waiting for it.
    /usr/bin/python3 -B -X utf8 "$here/e2e_test.py" --desktop "$kind" --pid "$program_pid" "${checks[@]}" \
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

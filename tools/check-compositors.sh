#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the program under Wayland compositors other than the tests' sway: Weston
# (headless) and GNOME's mutter (nested in a private Xvfb, as headless mutter can only be
# pictured through a screencast service). For each it checks in the program's Wayland
# log that the window is a native one (xdg_shell) with its title, app id and fixed size,
# saves a picture, and says whether the compositor takes keys from a virtual keyboard.
#
# Usage: tools/check-compositors.sh PROGRAM [DIRECTORY]   (pictures in build/compositors)
set -euo pipefail

program=$(realpath "${1:?usage: $0 PROGRAM [DIRECTORY]}")
pictures=$(realpath -m "${2:-build/compositors}")
mkdir -p "$pictures"
work=$(mktemp -d "${TMPDIR:-/tmp}/styrmark-compositors.XXXXXX")
runtime=$work/runtime
mkdir -m 700 "$runtime" "$work/client"
pids=()
# A compositor leads a process group of its own, with the bus it may have started.
stop() {
    for pid in "${pids[@]}"; do
        kill -- "-$pid" "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    pids=()
}
trap 'stop; rm -rf "$work"' EXIT

# As in the end-to-end test, compositors run as a user made for them where we are root.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    id -u styrmark-e2e >/dev/null 2>&1 ||
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin styrmark-e2e
    chown styrmark-e2e: "$runtime"
    chmod 711 "$work"
    as_user=(setpriv --reuid=styrmark-e2e --regid=styrmark-e2e --clear-groups)
fi
compositor() {
    local name=$1
    shift
    setsid env -i PATH="$PATH" XDG_RUNTIME_DIR="$runtime" HOME="$runtime" \
        GSETTINGS_BACKEND=memory "$@" >"$work/$name.log" 2>&1 &
    pids+=($!)
}
within_a_minute() {
    for _ in $(seq 600); do "$@" 2>/dev/null && return 0; sleep 0.1; done
    return 1
}

# Starts the program on the compositor's socket and reads what it asked of the compositor.
check_window() {
    local name=$1 log=$work/$1-program.log
    export WAYLAND_DISPLAY=$runtime/$2
    within_a_minute test -S "$WAYLAND_DISPLAY" || { cat "$work/$name.log"; exit 1; }
    env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DEBUG=1 XDG_RUNTIME_DIR="$work/client" \
        "$program" >"$log" 2>&1 &
    pids+=($!)
    within_a_minute grep -q 'xdg_surface@[0-9]*\.ack_configure' "$log" ||
        { echo "$name: the window was not shown; see $log"; exit 1; }
    for fact in 'xdg_wm_base@[0-9]*\.get_xdg_surface' 'set_title\("   Styrmark beräkning"\)' \
        'set_app_id\("io\.github\.styrmark\.styrmark"\)' 'set_min_size\(406, 360\)' \
        'set_max_size\(406, 360\)'; do
        grep -qE "$fact" "$log" || { echo "$name: no $fact in $log"; exit 1; }
    done
    echo "$name: a native xdg_shell window, its title, app id and 406 x 360 as laid out"
    if wtype -k Tab 2>"$work/wtype.log"; then
        echo "$name: takes keys from a virtual keyboard (wtype)"
    else
        echo "$name: takes no keys from wtype: $(cat "$work/wtype.log")"
    fi
    sleep 1  # for the first frame to be drawn
}

compositor weston "${as_user[@]}" weston --backend=headless-backend.so --use-pixman \
    --width=1024 --height=768 --socket=wayland-weston --idle-time=0 --debug
check_window weston wayland-weston
# --debug lets a client take a picture of the whole output.
(cd "$work" && weston-screenshooter && mv wayland-screenshot-*.png "$pictures/weston.png")
stop

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
within_a_minute test -s "$work/display"
compositor mutter env DISPLAY=":$(cat "$work/display")" "${as_user[@]}" \
    dbus-run-session -- mutter --nested --wayland --no-x11 --wayland-display=wayland-mutter
check_window mutter wayland-mutter
import -display ":$(cat "$work/display")" -window root "$pictures/mutter.png"
stop
echo "pictures: $pictures/weston.png $pictures/mutter.png"

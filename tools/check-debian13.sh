#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Tries the README's two commands as a new user on Debian 13 would: makes a fresh
# minimal Debian 13 root with debootstrap, installs only make and git in it, clones
# the current commit (uncommitted changes are not part of it), and runs there first
# `make app` (what `make run` builds, before any test tool is installed) and then
# `make test`. Prints how long each took.
#
# Run as root. Everything it mounts and makes is removed at the end, whatever happens.
# DEBIAN_MIRROR overrides the mirror; by default it is the first Debian mirror this
# machine's apt uses. Logs of a failed run are kept in build/debian13/.
set -euo pipefail
cd "$(dirname "$0")/.."

suite=trixie
fail() { echo "check-debian13: $*" >&2; exit 1; }
say() { echo "check-debian13: $*"; }

[ "$(id -u)" -eq 0 ] || fail "needs root (debootstrap, chroot and mount)"
command -v debootstrap >/dev/null || fail "debootstrap is missing (tools/install-deps.sh debian13)"
commit=$(git rev-parse HEAD)

host_mirror() {
    local sources=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
    grep -hoE 'https?://[^[:space:]]+/debian/?([[:space:]]|$)' "${sources[@]}" 2>/dev/null |
        head -n 1 | tr -d '[:space:]' | sed 's|/$||' || true
}
mirror=${DEBIAN_MIRROR:-$(host_mirror)}
mirror=${mirror:-http://deb.debian.org/debian}

work=$(mktemp -d "${TMPDIR:-/var/tmp}/styrmark-debian13.XXXXXX")
root=$work/root
logs=$PWD/build/debian13

# Newest first: mountinfo lists a mount after the one it sits on.
mounts_under() { findmnt -rn -o TARGET | grep -F "$1/" | tac || true; }

# Long steps run as a process group of their own, in the background, so that a signal
# to stop is handled at once and ends the whole step.
job=
run() {
    setsid "$@" &
    job=$!
    wait "$job"
    job=
}

cleanup() {
    local status=$?
    set +e
    if [ -n "$job" ]; then
        kill -- "-$job" 2>/dev/null
        wait "$job" 2>/dev/null
    fi
    # Daemons the tests started (a bus, an X server) would keep the mounts busy.
    local pids=()
    for proc in /proc/[0-9]*; do
        [[ "$(readlink "$proc/root" 2>/dev/null)" == "$root"* ]] && pids+=("${proc#/proc/}")
    done
    if [ ${#pids[@]} -gt 0 ]; then
        kill "${pids[@]}" 2>/dev/null
        sleep 1
        kill -KILL "${pids[@]}" 2>/dev/null
    fi
    if [ "$status" -ne 0 ] && [ -d "$root/tmp" ]; then
        rm -rf "$logs"
        mkdir -p "$logs"
        cp -r "$root"/tmp/styrmark-e2e.* "$logs/" 2>/dev/null
        cp "$root/root/styrmark/build/default/Testing/Temporary/LastTest.log" "$logs/" 2>/dev/null
        cp "$work/debootstrap.log" "$logs/" 2>/dev/null
        say "logs of the failed run are in $logs"
    fi
    for mount in $(mounts_under "$work"); do
        umount "$mount" || umount -l "$mount"
    done
    if [ -n "$(mounts_under "$work")" ]; then
        echo "check-debian13: still mounted, $work left in place:" >&2
        mounts_under "$work" >&2
        exit 1
    fi
    rm -rf --one-file-system "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

started=$SECONDS
say "making a minimal Debian 13 ($suite) root from $mirror"
run debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 30 "$work/debootstrap.log"; fail "debootstrap failed"; }
[ -c "$root/dev/null" ] || fail "debootstrap made no device files in $root/dev"
bootstrapped=$((SECONDS - started))

# No package may start a service in the root, and nothing needs dpkg's fsync calls in a
# root that is thrown away.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/unsafe-io"

mount -t proc proc "$root/proc"
mount -t sysfs -o ro,nosuid,nodev,noexec sysfs "$root/sys"
mount -t devpts -o newinstance,ptmxmode=0666,mode=620,gid=5 devpts "$root/dev/pts"
mount --bind "$root/dev/pts/ptmx" "$root/dev/ptmx"
mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$root/dev/shm"
mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$root/tmp"

# As a new user's shell would be: nothing from this machine's environment.
inside=(chroot "$root" /usr/bin/env -i HOME=/root DEBIAN_FRONTEND=noninteractive
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)

say "installing make and git"
run "${inside[@]}" apt-get update -q >/dev/null
run "${inside[@]}" apt-get install -y -q --no-install-recommends make git >/dev/null

# A bundle carries the commit and its history in one file, so that the root's own git
# clones it as from any remote.
git bundle create --quiet "$root/root/styrmark.bundle" HEAD
"${inside[@]}" git -c advice.detachedHead=false -c advice.defaultBranchName=false \
    clone --quiet /root/styrmark.bundle /root/styrmark
[ "$("${inside[@]}" git -C /root/styrmark rev-parse HEAD)" = "$commit" ] || fail "the clone is not at $commit"
prepared=$((SECONDS - started))

say "make app, the build of make run ($commit)"
app_started=$SECONDS
run "${inside[@]}" make -C /root/styrmark app
app=$((SECONDS - app_started))

say "make test"
test_started=$SECONDS
run "${inside[@]}" make -C /root/styrmark test
tested=$((SECONDS - test_started))

say "passed on Debian $(cat "$root/etc/debian_version"):"
say "  fresh root with make and git ${prepared} s (debootstrap ${bootstrapped} s)"
say "  make app  ${app} s (installs compiler, CMake, Ninja, Qt, font; builds the program)"
say "  make test ${tested} s (installs the test tools; builds and runs all tests)"

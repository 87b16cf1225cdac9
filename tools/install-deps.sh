#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Styrmark need,
# and only those that are missing.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    libgtest-dev libbenchmark-dev
    qt6-base-dev fonts-liberation
    dpkg-dev desktop-file-utils
    clang libclang-rt-14-dev clang-tidy
    xvfb openbox xdotool dbus-daemon at-spi2-core python3-pyatspi imagemagick
    x11-utils libxcb-damage0-dev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    as_root=(sudo -n)
else
    echo "Styrmark needs these Debian packages: ${missing[*]}" >&2
    echo "Install them as root: apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"

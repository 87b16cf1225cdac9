#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages a make target needs, and only those that are missing:
#
#   tools/install-deps.sh GROUP...
#
#   run       build and run the program (make run): compiler, CMake, Ninja, Qt with its
#             Wayland plugin, the font
#   test      the tests and the benchmark (make test, make sanitize, make bench):
#             Google Test and Benchmark, a private X desktop and a headless Wayland one
#             (sway, with wtype and grim for keys and pictures) with AT-SPI, ImageMagick,
#             Qt's platform interface (to turn accessibility on in a test), and the
#             English and Swedish locales the tests run in
#   clang     the fuzzer and clang-tidy (make fuzz, make tidy)
#   package   the Debian package and its checks (make package, make check-deb)
#   compositors  Weston and mutter, to start the program under (make check-compositors)
#   debian13  a fresh Debian 13 root to test in (make check-debian13)
#   icons     drawing the PNG icons from their SVG (tools/make-icons.sh, by hand)
#   windows   the Windows program, its installer and their tests under Wine (make windows,
#             make check-windows): mingw-w64, Google Test's source, Wine and its fonts,
#             msitools and wixl, icoutils for the icon, a private X server
#   web       the site (make web): clang 19 with lld, wasi-libc and libc++ for wasm32,
#             Binaryen's wasm-opt, ImageMagick for the icons
#   web-test  its tests (make check-web, make bench-web): Google Test's source, Node and
#             npm (the test tools), Chromium, the Liberation fonts
#
# Package names carry no version, so that the list holds on Debian 12 and 13 alike.
set -euo pipefail

declare -A groups=(
    [run]="g++ cmake ninja-build qt6-base-dev qt6-wayland fonts-liberation"
    [test]="libgtest-dev libbenchmark-dev pkg-config libxcb-damage0-dev xvfb xauth openbox xdotool
            x11-utils dbus-daemon at-spi2-core python3-pyatspi imagemagick locales
            qt6-gtk-platformtheme fonts-dejavu-core qt6-base-private-dev sway wtype grim passwd"
    [clang]="clang libclang-rt-dev clang-tidy"
    [package]="dpkg-dev desktop-file-utils lintian appstream"
    [compositors]="weston mutter dbus-daemon xvfb imagemagick wtype passwd"
    [debian13]="debootstrap"
    [icons]="librsvg2-bin imagemagick"
    [windows]="cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine
               msitools wixl icoutils xvfb x11-utils"
    [web]="cmake ninja-build clang-19 lld-19 wasi-libc libc++-19-dev-wasm32 libc++abi-19-dev-wasm32
           libclang-rt-19-dev-wasm32 binaryen imagemagick python3"
    [web-test]="googletest nodejs npm chromium fonts-liberation"
)
# The window tests and the end-to-end test run in these; Qt takes the language and
# number format from the environment, while the C library and Python need the locale
# itself.
locales=(en_US.UTF-8 sv_SE.UTF-8)

if [ $# -eq 0 ]; then
    echo "usage: $0 GROUP... (groups: ${!groups[*]})" >&2
    exit 2
fi
packages=()
want_locales=false
for group in "$@"; do
    if [ -z "${groups[$group]+set}" ]; then
        echo "install-deps: no group '$group' (groups: ${!groups[*]})" >&2
        exit 2
    fi
    # shellcheck disable=SC2206 # the lists are plain words, split on purpose
    packages+=(${groups[$group]})
    [ "$group" = test ] && want_locales=true
done

missing=()
for package in "${packages[@]}"; do
    # Node's own packages bring npm with them.
    [ "$package" = npm ] && command -v npm >/dev/null && continue
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
missing_locales=()
if $want_locales; then
    # locale -a lists them normalised: sv_SE.utf8.
    available=$(locale -a 2>/dev/null || true)
    for name in "${locales[@]}"; do
        grep -qix "${name%.UTF-8}.utf8" <<<"$available" || missing_locales+=("$name")
    done
fi
[ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    as_root=(sudo -n)
else
    [ ${#missing[@]} -eq 0 ] || echo "Styrmark needs these Debian packages: ${missing[*]}" >&2
    [ ${#missing_locales[@]} -eq 0 ] ||
        echo "The tests need these locales: ${missing_locales[*]} (dpkg-reconfigure locales)" >&2
    echo "Run as root, or with sudo rights: $0 $*" >&2
    exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ ${#missing_locales[@]} -gt 0 ]; then
    echo "Adding the locales ${missing_locales[*]}"
    # Enabled in /etc/locale.gen, where Debian's locale-gen keeps them on later runs.
    for name in "${missing_locales[@]}"; do
        if grep -qE "^# *$name UTF-8\$" /etc/locale.gen; then
            "${as_root[@]}" sed -i -E "s/^# *($name UTF-8)\$/\\1/" /etc/locale.gen
        else
            echo "$name UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
        fi
    done
    "${as_root[@]}" locale-gen
fi

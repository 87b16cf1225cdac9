#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package into build/package/ the way Debian builds its packages:
# compiler and linker flags from dpkg-buildflags with all hardening on, and
# SOURCE_DATE_EPOCH from the last commit, so that the same commit gives the same
# bytes wherever it is built. Options are passed on to CMake:
#
#   tools/build-deb.sh [-DSTYRMARK_MAINTAINER="Name <address>"]
#
# Needs dpkg-dev, and git unless SOURCE_DATE_EPOCH is set.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
# The files in the package carry it as their time.
export SOURCE_DATE_EPOCH

# Run here, at the top of the tree, dpkg-buildflags maps this directory to "." in
# debug information and __FILE__ (-ffile-prefix-map).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

tools/configure.sh package "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" "$@"
cmake --build --preset package --parallel "${JOBS:-$(nproc)}"
rm -f build/package/styrmark_*.deb
cpack --config build/package/CPackConfig.cmake -B build/package

# CPack counts each directory's size on disk into Installed-Size, so that the field
# depends on the file system the build ran on. The package is packed again with
# dpkg-deb, the size counted as dpkg-gencontrol counts it (deb-substvars(5)): each
# file in KiB rounded up, one KiB for anything else.
deb=(build/package/styrmark_*.deb)
tree=build/package/deb-tree
rm -rf "$tree"
dpkg-deb --raw-extract "${deb[0]}" "$tree"
size=$(find "$tree" -mindepth 1 \( -path "$tree/DEBIAN" -prune \) -o \
           \( \( -type f -o -type l \) -printf '%s\n' \) -o -printf '1024\n' |
       awk '{ kib += int(($1 + 1023) / 1024) } END { print kib }')
sed -i "s/^Installed-Size: .*/Installed-Size: $size/" "$tree/DEBIAN/control"
# One compressor thread: xz splits its output differently when it has more.
dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$tree" "${deb[0]}"
rm -rf "$tree"

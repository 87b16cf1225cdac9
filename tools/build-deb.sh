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
# rcc stamps the icons in the program with it, cpack the files in the package.
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

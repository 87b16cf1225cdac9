#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package (tools/build-deb.sh) and checks it: a second build of the
# same sources in another folder must give the same bytes; lintian --pedantic must
# find no error or warning; the AppStream metainfo and the desktop file must
# validate; and apt must install it, the program must start, and apt must remove it
# without a trace.
# Needs root (or sudo without a password), dpkg-dev, lintian, appstream and
# desktop-file-utils.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() { echo "check-deb: $*" >&2; exit 1; }

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    as_root=(sudo -n)
else
    fail "installing the package needs root"
fi
for tool in cpack dpkg-buildflags dpkg-shlibdeps lintian appstreamcli desktop-file-validate; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing (packages dpkg-dev, lintian, appstream, desktop-file-utils)"
done

installed() { [ "$(dpkg-query -W -f='${db:Status-Status}' styrmark 2>/dev/null)" = installed ]; }
# Removing a copy someone installed on purpose would be a surprise.
installed && fail "styrmark is already installed; remove it first"

work=$(mktemp -d "${TMPDIR:-/tmp}/styrmark-check-deb.XXXXXX")
cleanup() {
    installed && "${as_root[@]}" apt-get remove -y -q styrmark >/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
tools/build-deb.sh
debs=(build/package/styrmark_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "expected one package in build/package"
fi
deb="$PWD/${debs[0]}"

# The same sources, uncommitted changes and all, built again under another path. The
# maintainer a distributor configured goes along; it is part of the package.
echo "check-deb: building again in another folder to compare"
elsewhere=$work/elsewhere/styrmark-again
mkdir -p "$elsewhere"
tar -C . --exclude=./build --exclude=./.git -cf - . | tar -C "$elsewhere" -xf -
maintainer=$(sed -n 's/^STYRMARK_MAINTAINER:STRING=//p' build/package/CMakeCache.txt)
"$elsewhere/tools/build-deb.sh" "-DSTYRMARK_MAINTAINER=$maintainer" >"$work/again.log" 2>&1 ||
    { tail -n 40 "$work/again.log"; fail "the second build failed"; }
again=("$elsewhere"/build/package/styrmark_*.deb)
if ! cmp "$deb" "${again[0]}"; then
    # Name what differs: the control data, or which installed files.
    for side in 1 2; do
        package=$deb
        [ "$side" -eq 1 ] || package=${again[0]}
        mkdir -p "$work/differ/$side"
        dpkg-deb -e "$package" "$work/differ/$side/DEBIAN"
        dpkg-deb -x "$package" "$work/differ/$side"
    done
    diff -r "$work/differ/1" "$work/differ/2" || true
    fail "two builds of the same sources differ: $deb and ${again[0]}"
fi
echo "check-deb: both builds give the same bytes"

# What the package holds, before anything is installed.
contents=$work/contents
dpkg-deb -x "$deb" "$contents"
runpath=$(readelf -d "$contents/usr/bin/styrmark" | grep -E '\((RPATH|RUNPATH)\)' || true)
[ -z "$runpath" ] || fail "/usr/bin/styrmark has a library search path: $runpath"
if readelf -S "$contents/usr/bin/styrmark" | grep -qE ' \.comment '; then
    fail "/usr/bin/styrmark still has a .comment section"
fi
appstreamcli validate --pedantic --no-net \
    "$contents/usr/share/metainfo/io.github.styrmark.styrmark.metainfo.xml" ||
    fail "the AppStream metainfo does not validate"
# The metainfo together with the desktop file and icons it points to.
appstreamcli validate-tree --pedantic --no-net "$contents" ||
    fail "the metainfo does not fit the desktop file and icons in the package"
desktop-file-validate "$contents/usr/share/applications/io.github.styrmark.styrmark.desktop" ||
    fail "the desktop file does not validate"

# lintian advises against running as root; it needs no rights to read a package.
lint=(lintian --display-info --pedantic --fail-on "error,warning")
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
    cp "$deb" "$work/lint.deb"
    chmod 755 "$work"
    lint=(runuser -u nobody -- env HOME="$work" "${lint[@]}" "$work/lint.deb")
else
    lint+=("$deb")
fi
# From a directory the other user may enter.
(cd "$work" && "${lint[@]}") | tee "$work/lintian.log" || fail "lintian found errors or warnings"
# Info tags the package once had: no full hardening, and the compiler's notes left in.
if grep -E 'hardening-no-|binary-has-unneeded-section' "$work/lintian.log"; then
    fail "the program is not built hardened and stripped as Debian builds it"
fi
echo "check-deb: lintian finds nothing to report"

# On a machine that builds Styrmark Qt is already there, so a package that
# forgot its libraries would still install here; look at the field itself.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Debian 13 renamed some libraries for 64-bit time (libqt6core6t64).
for needed in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation; do
    [[ ", $depends," =~ ,\ $needed(t64)?[\ ,] ]] || fail "Depends lacks $needed"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ ", $recommends," =~ ,\ qt6-wayland[\ ,] ]] || fail "Recommends lacks qt6-wayland: $recommends"

files=(
    /usr/bin/styrmark
    /usr/share/applications/io.github.styrmark.styrmark.desktop
    /usr/share/metainfo/io.github.styrmark.styrmark.metainfo.xml
    /usr/share/icons/hicolor/32x32/apps/styrmark.png
    /usr/share/icons/hicolor/48x48/apps/styrmark.png
    /usr/share/icons/hicolor/256x256/apps/styrmark.png
    /usr/share/icons/hicolor/scalable/apps/styrmark.svg
    /usr/share/man/man1/styrmark.1.gz
    /usr/share/doc/styrmark/copyright
    /usr/share/doc/styrmark/changelog.gz
)

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get install -y -q "$deb"
installed || fail "apt-get did not install styrmark"

for file in "${files[@]}"; do
    [ -f "$file" ] || fail "$file was not installed"
    [ "$(dpkg-query -S "$file" 2>/dev/null | cut -d: -f1)" = styrmark ] ||
        fail "$file does not belong to the package"
done
[ -x /usr/bin/styrmark ] || fail "/usr/bin/styrmark is not executable"
if ldd /usr/bin/styrmark | grep 'not found'; then
    fail "/usr/bin/styrmark misses libraries"
fi

# A window that is still open after a few seconds has found its Qt plugins
# and fonts; one that crashes or exits at once has not.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/styrmark >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "/usr/bin/styrmark stopped at start with status $status"

"${as_root[@]}" apt-get remove -y -q styrmark
installed && fail "apt-get did not remove styrmark"
for file in "${files[@]}"; do
    [ ! -e "$file" ] || fail "$file is left after removal"
done
for dir in /usr/share/applications /usr/share/metainfo /usr/share/icons /usr/share/man \
    /usr/share/doc; do
    left=$(find "$dir" -name '*styrmark*')
    [ -z "$left" ] || fail "left after removal: $left"
done

echo "check-deb: ${debs[0]} is reproducible, lintian-clean, installs, runs and removes cleanly"

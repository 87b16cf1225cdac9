#!/usr/bin/env bash
# Builds the Debian package from build/default, installs it with apt, checks what
# it put on the system, removes it again and checks that nothing is left.
# Needs root (or sudo without a password), dpkg-dev and desktop-file-utils.
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
for tool in cpack dpkg-shlibdeps desktop-file-validate; do
    command -v "$tool" >/dev/null || fail "$tool is missing (packages dpkg-dev, desktop-file-utils)"
done
[ -f build/default/CPackConfig.cmake ] || fail "build/default is not configured; run make build first"

installed() { [ "$(dpkg-query -W -f='${db:Status-Status}' styrmark 2>/dev/null)" = installed ]; }
# Removing a copy someone installed on purpose would be a surprise.
installed && fail "styrmark is already installed; remove it first"

rm -f build/package/*.deb
cpack --config build/default/CPackConfig.cmake -B build/package
debs=(build/package/styrmark_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "expected one package in build/package"
fi
deb="$PWD/${debs[0]}"

# On a machine that builds Styrmark Qt is already there, so a package that
# forgot its libraries would still install here; look at the field itself.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation; do
    [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] ||
        fail "Depends lacks $needed"
done

files=(
    /usr/bin/styrmark
    /usr/share/applications/styrmark.desktop
    /usr/share/icons/hicolor/32x32/apps/styrmark.png
    /usr/share/icons/hicolor/256x256/apps/styrmark.png
    /usr/share/icons/hicolor/scalable/apps/styrmark.svg
)

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get install -y -q "$deb"
# From here on a failed check must not leave the package behind.
trap 'installed && "${as_root[@]}" apt-get remove -y -q styrmark >/dev/null' EXIT
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
desktop-file-validate /usr/share/applications/styrmark.desktop ||
    fail "the installed desktop file does not validate"

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
for dir in /usr/share/applications /usr/share/icons; do
    left=$(find "$dir" -name 'styrmark*')
    [ -z "$left" ] || fail "left after removal: $left"
done

echo "check-deb: ${debs[0]} installs, runs and removes cleanly"

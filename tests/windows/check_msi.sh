#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine: installs per machine with its shortcut and Add/Remove Programs
# entry, the installed program shows its window, a rebuild of the same version replaces it,
# and the uninstall leaves nothing behind.
#
#   check_msi.sh MSI VERSION     (inside tools/wine-session.sh)
set -euo pipefail
msi=$1
version=$2
fail() { echo "check_msi: $*" >&2; exit 1; }
[ -n "${STYRMARK_WINE_SESSION:-}" ] || exec "$(dirname "$0")/../../tools/wine-session.sh" "$0" "$@"

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine
drive=$WINEPREFIX/drive_c
program="$drive/Program Files/Styrmark/styrmark.exe"
# Wine 8's msi puts a per-machine shortcut into the user's Start menu rather than the
# common one Windows uses; either counts here.
shortcuts=("$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Styrmark.lnk"
           "$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Styrmark.lnk")
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# Everything of ours the prefix holds, in files and in the registry.
leftovers() {
    find "$drive" -iname '*styrmark*' 2>/dev/null
    "$wine" reg query 'HKLM\Software\Styrmark' 2>/dev/null | grep -i styrmark || true
    "$wine" reg query "$uninstall" /s 2>/dev/null | grep -i 'DisplayName.*Styrmark' || true
}
[ -z "$(leftovers)" ] || fail "the prefix is not clean before installing: $(leftovers)"

"$wine" msiexec /i "$msi" /qn || fail "msiexec /i failed"
[ -f "$program" ] || fail "no $program"
[ -f "${shortcuts[0]}" ] || [ -f "${shortcuts[1]}" ] || fail "no Start-menu shortcut"
product=$(msiinfo export "$msi" Property | awk '$1 == "ProductCode" { print $2 }' | tr -d '\r')
entry=$("$wine" reg query "$uninstall\\$product" 2>/dev/null | tr -d '\r' || true)
for field in 'DisplayName.*Styrmark' "DisplayVersion.*$version" 'Publisher.*Styrmark developers' 'Comments.*GPL-3.0-or-later'; do
    grep -qE "$field" <<<"$entry" || fail "the Add/Remove Programs entry lacks $field: $entry"
done

# The installed program starts and shows its window.
"$wine" "$program" &
started=$!
shown=false
for _ in $(seq 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q 'Styrmark ber'; then shown=true; break; fi
    sleep 0.1
done
kill "$started" 2>/dev/null || true
wait "$started" 2>/dev/null || true
$shown || fail "the installed program showed no window"

# A rebuild of the same version: new product and package codes, as wixl gives each build.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rebuild=$work/rebuild.msi
cp "$msi" "$rebuild"
msibuild "$rebuild" -q "UPDATE Property SET Value='{$(cat /proc/sys/kernel/random/uuid)}' WHERE Property='ProductCode'" \
    -s "Installation Database" "Styrmark developers" "x64;1033" "{$(cat /proc/sys/kernel/random/uuid)}"
"$wine" msiexec /i "$rebuild" /qn || fail "msiexec /i of the rebuild failed"
entries=$("$wine" reg query "$uninstall" /s 2>/dev/null | grep -c 'DisplayName.*Styrmark' || true)
[ "$entries" = 1 ] || fail "the rebuild left $entries Add/Remove Programs entries"
[ -f "$program" ] || fail "the rebuild removed $program"

"$wine" msiexec /x "$rebuild" /qn || fail "msiexec /x failed"
left=$(leftovers)
[ -z "$left" ] || fail "the uninstall left: $left"
echo "check_msi: installed, started, replaced by a rebuild and removed $msi"

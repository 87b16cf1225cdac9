#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when an ELF file under the given directories has a library search path
# (RUNPATH or RPATH) with an empty or relative entry: the loader would look for
# libraries in whatever directory the program is started from.
#
#   tools/check-runpath.sh DIR...
set -euo pipefail

# Exits 1 when a ':'-separated path holds an entry that is neither absolute nor
# $ORIGIN-based. An empty path is one empty entry.
unsafe() {
    awk -F: '{ if (NF == 0) exit 1
               for (i = 1; i <= NF; i++) if ($i !~ /^(\/|\$ORIGIN)/) exit 1 }' <<<"$1" && return 1
    return 0
}

checked=0
bad=0
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | tr -d '\0')" = $'\x7fELF' ] || continue
    checked=$((checked + 1))
    while IFS= read -r path; do
        if unsafe "$path"; then
            echo "check-runpath: $file searches '$path'" >&2
            bad=$((bad + 1))
        fi
    done < <(readelf -d "$file" | sed -n -E 's/.*\((RUNPATH|RPATH)\).*\[(.*)\]$/\2/p')
done < <(find "$@" -type f \( -perm -u+x -o -name '*.so*' \) -print0)

[ "$checked" -gt 0 ] || { echo "check-runpath: no ELF file in $*" >&2; exit 1; }
[ "$bad" -eq 0 ] || exit 1
echo "check-runpath: $checked ELF files, none searches an empty or relative path"

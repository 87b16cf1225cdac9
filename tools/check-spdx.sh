#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a tracked source file (C++, CMake, shell, Python, JavaScript, CSS, the
# Makefile, and any other script with a #! line) does not name its licence in its first
# line, or in the second after a #! line or an HTML page's doctype:
#
#   // SPDX-License-Identifier: GPL-3.0-or-later      (or # in CMake, shell, Python)
set -euo pipefail
cd "$(dirname "$0")/.."

tag='SPDX-License-Identifier: GPL-3.0-or-later'
missing=()
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    case "$file" in
        *.cpp | *.h | *.cmake | */CMakeLists.txt | CMakeLists.txt | *.sh | *.py | Makefile) ;;
        *.js | *.mjs | *.js.in | *.css | *.html) ;;
        *) head -c 2 "$file" | grep -q '^#!' || continue ;;
    esac
    first=$(head -n 1 "$file")
    [[ "$first" == '#!'* || "$first" == '<!doctype'* ]] && first=$(sed -n 2p "$file")
    [[ "$first" == *"$tag"* ]] || missing+=("$file")
done < <(git ls-files -z)

if [ ${#missing[@]} -gt 0 ]; then
    echo "check-spdx: no '$tag' line at the top of:" >&2
    printf '  %s\n' "${missing[@]}" >&2
    exit 1
fi
echo "check-spdx: every source file names its licence"

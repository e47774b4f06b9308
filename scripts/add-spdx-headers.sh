#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Verbolin developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every tracked source and build file that lacks one the two REUSE header lines, in the
# comment style of its kind: after a shebang or an XML declaration when the file has one.
# Data with no room for a header (word lists, screenshots, the desktop entry, the metainfo,
# fuzz inputs) gets its licence from .reuse/dep5 instead and is left alone. Running it again
# changes nothing. Prints each file it changes and each tracked file it does not know.
# Usage: scripts/add-spdx-headers.sh   (from anywhere inside the repository)
set -euo pipefail
cd "$(git rev-parse --show-toplevel)"

# Split so that REUSE does not read this script's own code as a second header.
tag=SPDX
copyright_line="$tag-FileCopyrightText: The Verbolin developers"
licence_line="$tag-License-Identifier: GPL-3.0-or-later"

# Prints the comment style of a file: slash, hash, xml, roff, skip (licensed through
# .reuse/dep5 or a licence text itself) or unknown.
style_of() {
    local path=$1
    case "$path" in
    LICENSE | LICENSES/* | .reuse/*) echo skip ;;
    examples/* | docs/screenshots/* | fuzz/corpus/*) echo skip ;;
    data/*.desktop | data/*.metainfo.xml.in | data/changelog.in | data/copyright) echo skip ;;
    *.cpp | *.h) echo slash ;;
    */CMakeLists.txt | CMakeLists.txt | *.cmake | Makefile | *.sh | *.supp) echo hash ;;
    .clang-format | .gitignore | .ci/run) echo hash ;;
    *.ui | *.qrc | *.svg | *.xml | *.md) echo xml ;;
    *.1 | *.1.in) echo roff ;;
    *)
        if head -n 1 "$path" | grep -q '^#!'; then
            echo hash
        else
            echo unknown
        fi
        ;;
    esac
}

header_for() {
    case "$1" in
    slash) printf '// %s\n// %s\n\n' "$copyright_line" "$licence_line" ;;
    hash) printf '# %s\n# %s\n\n' "$copyright_line" "$licence_line" ;;
    xml) printf '<!-- %s -->\n<!-- %s -->\n' "$copyright_line" "$licence_line" ;;
    roff) printf '.\\" %s\n.\\" %s\n' "$copyright_line" "$licence_line" ;;
    esac
}

status=0
while IFS= read -r -d '' path; do
    [ -f "$path" ] && [ ! -L "$path" ] || continue
    style=$(style_of "$path")
    case "$style" in
    skip) continue ;;
    unknown)
        echo "add-spdx-headers: no comment style known for $path; give it a header by hand" >&2
        status=1
        continue
        ;;
    esac
    if grep -q "$tag-License-Identifier:" "$path"; then
        continue
    fi

    # A first line that must stay first: a shebang, an XML declaration.
    keep_first=0
    first=$(head -n 1 "$path")
    case "$first" in
    '#!'* | '<?xml'*) keep_first=1 ;;
    esac

    tmp=$(mktemp)
    {
        if [ "$keep_first" -eq 1 ]; then
            printf '%s\n' "$first"
            header_for "$style"
            tail -n +2 "$path"
        else
            header_for "$style"
            cat "$path"
        fi
    } >"$tmp"
    # Written back in place, so that the file keeps its mode (an executable stays one).
    cat "$tmp" >"$path"
    rm -f "$tmp"
    echo "$path"
done < <(git ls-files -z)
exit "$status"

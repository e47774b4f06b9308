#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Verbolin developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the .deb with CPack into the build folder, where it stays for the user to install, and
# checks it: it holds the desktop program's files and its documentation, every place that
# shows the version shows the package's, it declares the dependencies Qt and the Japanese font
# need, it would install with them (apt-get's simulation resolves every dependency without
# installing anything), and lintian finds no error and no warning in it.
# Usage: scripts/check-package.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR}
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT

# A package of an earlier version must not be taken for this one.
rm -f "$build"/verbolin_*.deb
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$build" >"$log/cpack.log" 2>&1; then
  cat "$log/cpack.log" >&2
  exit 1
fi
deb=$(find "$build" -maxdepth 1 -name 'verbolin_*_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "check-package: cpack made no .deb" >&2; exit 1; }
case "$deb" in /*) ;; *) deb=./${deb#./} ;; esac
echo "check-package: built $deb"

fail=0
contents=$(dpkg-deb --contents "$deb")
for path in \
  ./usr/bin/verbolin \
  ./usr/share/applications/org.verbolin.Verbolin.desktop \
  ./usr/share/metainfo/org.verbolin.Verbolin.metainfo.xml \
  ./usr/share/icons/hicolor/scalable/apps/org.verbolin.Verbolin.svg \
  ./usr/share/man/man1/verbolin.1.gz \
  ./usr/share/man/ja/man1/verbolin.1.gz \
  ./usr/share/doc/verbolin/copyright \
  ./usr/share/doc/verbolin/changelog.gz \
  ./usr/share/doc/verbolin/examples/english_comma.txt; do
  if ! grep -qF " $path" <<<"$contents"; then
    echo "check-package: $path is missing from $(basename "$deb")" >&2
    fail=1
  fi
done

# The version is set once; each of these must show the package's own.
version=$(dpkg-deb --field "$deb" Version)
dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$log"
shown=(
  "changelog:$(zcat "$log/usr/share/doc/verbolin/changelog.gz" | sed -n '1s/^verbolin (\([^)]*\)).*/\1/p')"
  "metainfo:$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' \
    "$log/usr/share/metainfo/org.verbolin.Verbolin.metainfo.xml")"
  "manual page:$(zcat "$log/usr/share/man/man1/verbolin.1.gz" | sed -n 's/^\.TH .*"Verbolin \([^"]*\)".*/\1/p')"
  "Japanese manual page:$(zcat "$log/usr/share/man/ja/man1/verbolin.1.gz" |
    sed -n 's/^\.TH .*"Verbolin \([^"]*\)".*/\1/p')"
)
for entry in "${shown[@]}"; do
  if [ "${entry#*:}" != "$version" ]; then
    echo "check-package: the ${entry%%:*} shows version '${entry#*:}', the package $version" >&2
    fail=1
  fi
done

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 fonts-noto-cjk \
  libflite1 libpulse0; do
  if ! grep -qE "(^|, )$package( |,|$)" <<<"$depends"; then
    echo "check-package: Depends lacks $package: $depends" >&2
    fail=1
  fi
done
# Each package once: a name given by hand and found again by shlibdeps would be listed twice.
twice=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | sort | uniq -d)
if [ -n "$twice" ]; then
  echo "check-package: Depends lists more than once: $twice" >&2
  fail=1
fi

if ! apt-get --simulate --no-install-recommends install "$deb" >"$log/apt.log" 2>&1; then
  echo "check-package: the package would not install:" >&2
  cat "$log/apt.log" >&2
  fail=1
fi

# Lintian refuses nothing to root but says it would rather not run as root; that note is noise.
if ! lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$log/lintian.log" 2>&1; then
  echo "check-package: lintian:" >&2
  grep -v 'running with root privileges' "$log/lintian.log" >&2
  fail=1
fi

[ "$fail" -eq 0 ] && echo "check-package: $deb is complete, installable and lintian-clean"
exit "$fail"

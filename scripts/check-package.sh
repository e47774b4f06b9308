#!/usr/bin/env bash
# Builds the .deb with CPack and checks that it holds the desktop program's files, declares
# the dependencies Qt and the Japanese font need, and would install with them
# (apt-get's simulation resolves every dependency without installing anything).
# Usage: scripts/check-package.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  exit 1
fi
deb=$(find "$out" -maxdepth 1 -name 'verbolin_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "check-package: cpack made no .deb" >&2; exit 1; }

fail=0
contents=$(dpkg-deb --contents "$deb")
for path in \
  ./usr/bin/verbolin \
  ./usr/share/applications/org.verbolin.Verbolin.desktop \
  ./usr/share/metainfo/org.verbolin.Verbolin.metainfo.xml \
  ./usr/share/icons/hicolor/scalable/apps/org.verbolin.Verbolin.svg; do
  if ! grep -qF " $path" <<<"$contents"; then
    echo "check-package: $path is missing from $(basename "$deb")" >&2
    fail=1
  fi
done

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 fonts-noto-cjk \
  libqt6texttospeech6 qt6-speech-flite-plugin; do
  if ! grep -qE "(^|, )$package( |,|$)" <<<"$depends"; then
    echo "check-package: Depends lacks $package: $depends" >&2
    fail=1
  fi
done

if ! apt-get --simulate --no-install-recommends install "$deb" >"$out/apt.log" 2>&1; then
  echo "check-package: the package would not install:" >&2
  cat "$out/apt.log" >&2
  fail=1
fi

[ "$fail" -eq 0 ] && echo "check-package: $(basename "$deb") is complete and installable"
exit "$fail"

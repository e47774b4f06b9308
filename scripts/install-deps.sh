#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Verbolin developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian 12 packages that building, running and testing need.
# Runs apt-get only when something is missing, so repeated runs cost nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build make
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  fonts-noto-cjk libqt6svg6
  flite1-dev libpulse-dev pkg-config
  pulseaudio pulseaudio-utils
  xvfb xauth imagemagick x11-utils xdotool libxcb1-dev
  at-spi2-core python3-pyatspi dbus-x11 openbox
  desktop-file-utils appstream dpkg-dev lintian reuse
  clang libclang-rt-14-dev
  libcsv-dev
  # KWordQuiz's example .kvtml files, which the import tests read (tests only).
  kwordquiz
  wamerican
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"

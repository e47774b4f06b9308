#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Verbolin developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs atspi_walk.py against the program in a desktop session of its own, as Orca meets it:
# Xvfb on display :73, openbox, a private session bus, the AT-SPI bus and registry. Every
# service is started here and stopped on the way out, whatever happens.
#
# Usage: run_atspi_test.sh BINARY WALK_SCRIPT
# A missing tool skips the test (exit 77), unless VERBOLIN_REQUIRE_ATSPI=1 makes it a failure.
set -euo pipefail

missing() {
  echo "atspi: $1 is missing (make deps)"
  [ "${VERBOLIN_REQUIRE_ATSPI:-0}" = 1 ] && exit 1
  exit 77
}

binary=$(realpath "$1")
walk=$(realpath "$2")
display=73
launcher=/usr/libexec/at-spi-bus-launcher
registry=/usr/libexec/at-spi2-registryd

for tool in Xvfb openbox dbus-launch xdotool xdpyinfo "$launcher" "$registry"; do
  command -v "$tool" >/dev/null || missing "$tool"
done
# Debian's bindings live with the system's Python, which another python3 on PATH may lack.
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing python3-pyatspi
if [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; then
  echo "atspi: display :$display is taken" >&2
  exit 1
fi

work=$(mktemp -d)
pids=()
cleanup() {
  local pid child
  # Last started, first stopped; the bus launcher's own bus goes with it.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    for child in $(ps -o pid= --ppid "$pid" 2>/dev/null); do
      kill "$child" 2>/dev/null || true
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  if [ -n "${DBUS_SESSION_BUS_PID:-}" ]; then
    kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM

# A fresh home with one list in the store, two pairs in the file's order.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME/words_lists" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf 'apple$りんご\nbook$本\n' >"$HOME/words_lists/fruit.txt"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS

Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "atspi: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }

eval "$(dbus-launch --sh-syntax)"
"$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
pids+=($!)
"$registry" >"$work/registry.log" 2>&1 &
pids+=($!)
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/bin/python3 "$walk" "$binary"

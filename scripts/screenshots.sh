#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Verbolin developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs the real program under Xvfb with a fresh temporary home folder, walks through it
# with the keyboard (xdotool, through the XTEST extension, as a user would type) and saves a
# PNG of each screen into the output folder:
#
#   01-start.png  02-settings.png  03-import.png  04-setup.png  05-quiz.png
#   06-lap.png    07-end.png       08-quiz-scale2.png  09-quiz-typed.png  10-quiz-choice.png
#   11-editor.png  12-export.png
#
# Usage: scripts/screenshots.sh BINARY OUTPUT_FOLDER
#
# Every keyboard path is one variable below, so a change of a screen's layout (its Tab
# order or a mnemonic) is mended here in one place. Each step that opens a dialog checks
# that it opened and, if not, stops and names the variable to look at.
set -euo pipefail

# --- Keyboard paths --------------------------------------------------------------------
# Key names are xdotool's (Tab, Return, space, Down, alt+o, ...), separated by spaces.

# Start screen: mnemonics of its buttons.
START_TO_SETTINGS=${START_TO_SETTINGS:-"alt+o"}
START_TO_IMPORT=${START_TO_IMPORT:-"alt+i"}
START_TO_SETUP=${START_TO_SETUP:-"alt+s"}
# Settings dialog: keep the file's order (so that the pictures are the same on every run),
# then Escape closes the dialog (Enter picks the focused segment).
SETTINGS_KEEP_ORDER=${SETTINGS_KEEP_ORDER:-"alt+f"}
# ... and turn speech on (only in the first visit, for the picture of the panel).
SETTINGS_SPEECH_ON=${SETTINGS_SPEECH_ON:-"alt+y"}
SETTINGS_CLOSE=${SETTINGS_CLOSE:-"Escape"}
# ... and answer by typing the English word; from there, by choosing among four (答え方's
# segments, in order, with its caption's mnemonic).
SETTINGS_ANSWER_NEXT=${SETTINGS_ANSWER_NEXT:-"alt+a Right"}
# Import screen: from the focus it has when it opens to pressing Open_button (the example
# list is English first with ",", the screen's default choices).
IMPORT_TO_OPEN=${IMPORT_TO_OPEN:-"alt+o"}
# Import's file dialog (a non-native QFileDialog; its file-name field has the focus): the
# path is typed, then Enter.
# The completion alert "読み込み完了": Enter presses its "OK".
ALERT_OK=${ALERT_OK:-"Return"}
IMPORT_BACK=${IMPORT_BACK:-"alt+b"}
# Set-up screen: choose the first list in Words_lists and press
# Words_list_determined_button, so that the list is loaded and Start_button enabled.
SETUP_LOAD_FIRST_LIST=${SETUP_LOAD_FIRST_LIST:-"alt+l Down alt+k"}
SETUP_START=${SETUP_START:-"alt+s"}
# Set-up screen: Export_button opens the save panel; Escape closes it.
SETUP_EXPORT=${SETUP_EXPORT:-"alt+x"}
PANEL_CLOSE=${PANEL_CLOSE:-"Escape"}
# Quiz screen back to the set-up screen, and from there to the start screen.
QUIZ_TO_START=${QUIZ_TO_START:-"alt+b alt+b"}
# Set-up screen to the editor of the loaded list, and the editor back (nothing edited, so
# no question) to the set-up screen with that list loaded again.
SETUP_EDIT=${SETUP_EDIT:-"alt+e"}
EDITOR_BACK=${EDITOR_BACK:-"alt+b"}

# Seconds to let the program draw after a key, before the next key or a picture.
SETTLE=${SETTLE:-0.8}
SCREEN_SIZE=${SCREEN_SIZE:-1600x1200}

# ---------------------------------------------------------------------------------------

[ $# -eq 2 ] || { echo "usage: $0 BINARY OUTPUT_FOLDER" >&2; exit 2; }
binary=$(realpath "$1")
out=$(realpath -m "$2")
repo=$(cd "$(dirname "$0")/.." && pwd)
example="$repo/examples/english_comma.txt"
for tool in Xvfb xdotool import convert xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (make deps)" >&2; exit 1; }
done
[ -x "$binary" ] || { echo "screenshots: no program at $binary" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
cleanup() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
  fi
  if [ -n "${pulse_pid:-}" ]; then
    kill "$pulse_pid" 2>/dev/null || true
    wait "$pulse_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "screenshots: $*" >&2
  exit 1
}

# A fresh home folder, so that the store starts empty and nothing of the user's is touched;
# the example list beside it, under a short path to type.
export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cp "$example" "$HOME/english_comma.txt"
export LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_QPA_PLATFORM SESSION_MANAGER

# An X server of our own on the first free display number.
display=${SCREENSHOT_DISPLAY:-99}
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 50); do
  xdpyinfo >/dev/null 2>&1 && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not answer on $DISPLAY"

# A sound server of our own with a null sink, in the private runtime folder, so that the
# quiz's 発音 button is shown as a learner with sound sees it (and nothing is heard).
pulse_pid=""
if command -v pulseaudio >/dev/null; then
  pulseaudio --daemonize=no --exit-idle-time=-1 -n --load="module-null-sink sink_name=null" \
    --load=module-native-protocol-unix >"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
fi

mkdir -p "$out"
main_window=""

visible_windows() {
  xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | wc -l
}

# launch [ENV=VALUE...]: starts the program and waits for its main window.
launch() {
  env "$@" "$binary" >"$work/stdout.log" 2>"$work/stderr.log" &
  program_pid=$!
  main_window=""
  for _ in $(seq 100); do
    main_window=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n 1 || true)
    [ -n "$main_window" ] && break
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended at start: $(cat "$work/stderr.log")"
    sleep 0.1
  done
  [ -n "$main_window" ] || fail "the program showed no window"
  xdotool windowfocus --sync "$main_window"
  sleep "$SETTLE"
}

quit_program() {
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
}

# keys KEY...: types the keys into the window that has the focus, one at a time.
keys() {
  local key
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 0.15
  done
  sleep "$SETTLE"
}

# expect_dialog VARIABLE: after keys meant to open a dialog, checks that one opened.
expect_dialog() {
  local before=$1 variable=$2
  for _ in $(seq 20); do
    [ "$(visible_windows)" -gt "$before" ] && return 0
    sleep 0.1
  done
  fail "no dialog opened; check the keyboard path $variable (${!variable})"
}

# expect_no_dialog VARIABLE: after keys meant to close a dialog, checks that it closed.
expect_no_dialog() {
  local variable=$1
  for _ in $(seq 20); do
    if [ "$(visible_windows)" -le 1 ]; then
      # Without a window manager nothing hands the focus back to the main window.
      xdotool windowfocus --sync "$main_window"
      sleep "$SETTLE"
      return 0
    fi
    sleep 0.1
  done
  fail "a dialog is still open; check the keyboard path $variable (${!variable})"
}

# geometry WINDOW: prints "X Y WIDTH HEIGHT" of a window on the screen.
geometry() {
  xdotool getwindowgeometry --shell "$1" |
    sed -n 's/^X=//p; s/^Y=//p; s/^WIDTH=//p; s/^HEIGHT=//p' | tr '\n' ' '
}

# shot NAME: saves the main window's area of the screen, with any dialog over it. There is
# no window manager to frame a dialog, so each one gets a thin frame drawn around it.
shot() {
  local x y width height window dx dy dwidth dheight
  read -r x y width height <<<"$(geometry "$main_window")"
  local draw=()
  for window in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    [ "$window" = "$main_window" ] && continue
    read -r dx dy dwidth dheight <<<"$(geometry "$window")"
    draw+=(-draw "rectangle $((dx - x - 1)),$((dy - y - 1)) $((dx - x + dwidth)),$((dy - y + dheight))")
  done
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$work/shot.png"
  convert "$work/shot.png" -fill none -stroke '#6f6f6f' -strokewidth 1 "${draw[@]}" "$out/$1.png"
  echo "screenshots: $out/$1.png (${width}x${height})"
}

# open_settings_keep_order: opens the settings dialog, keeps the file's order, and leaves
# the dialog open.
open_settings_keep_order() {
  local before
  before=$(visible_windows)
  # shellcheck disable=SC2086
  keys $START_TO_SETTINGS
  expect_dialog "$before" START_TO_SETTINGS
  # shellcheck disable=SC2086
  keys $SETTINGS_KEEP_ORDER
}

close_settings() {
  # shellcheck disable=SC2086
  keys $SETTINGS_CLOSE
  expect_no_dialog SETTINGS_CLOSE
}

# load_first_list: from the start screen to the set-up screen with the first saved list
# loaded.
load_first_list() {
  # shellcheck disable=SC2086
  keys $START_TO_SETUP
  # shellcheck disable=SC2086
  keys $SETUP_LOAD_FIRST_LIST
}

# --- The walk ----------------------------------------------------------------------------

launch
shot 01-start

open_settings_keep_order
# shellcheck disable=SC2086
keys $SETTINGS_SPEECH_ON
shot 02-settings
close_settings

# Import the example list.
# shellcheck disable=SC2086
keys $START_TO_IMPORT
shot 03-import
before=$(visible_windows)
# shellcheck disable=SC2086
keys $IMPORT_TO_OPEN
expect_dialog "$before" IMPORT_TO_OPEN
xdotool type --delay 20 "$HOME/english_comma.txt"
keys Return
# The list is saved before the completion alert "読み込み完了" shows.
for _ in $(seq 30); do
  ls "$HOME/words_lists/"*.txt >/dev/null 2>&1 && break
  sleep 0.1
done
ls "$HOME/words_lists/"*.txt >/dev/null 2>&1 ||
  fail "the import saved no list; its output: $(cat "$work/stdout.log")"
# shellcheck disable=SC2086
keys $ALERT_OK
expect_no_dialog ALERT_OK
# shellcheck disable=SC2086
keys $IMPORT_BACK

# Load it (in the file's order) and play: the first pair wrong, the rest right, then the
# one pair of lap 2 right.
load_first_list
shot 04-setup
keys $SETUP_EDIT
shot 11-editor
keys $EDITOR_BACK
before=$(visible_windows)
# shellcheck disable=SC2086
keys $SETUP_EXPORT
expect_dialog "$before" SETUP_EXPORT
shot 12-export
# shellcheck disable=SC2086
keys $PANEL_CLOSE
expect_no_dialog PANEL_CLOSE
# shellcheck disable=SC2086
keys $SETUP_START
pairs=$(grep -c '' "$example")
keys Down
shot 05-quiz
keys Left
grep -qx 'miscount1' "$work/stdout.log" ||
  fail "the quiz did not take ← (check SETUP_START and that the quiz screen has the focus)"
for _ in $(seq 2 "$pairs"); do
  keys Down Right
done
shot 06-lap
keys Up Down Right
shot 07-end
quit_program

# The quiz again at scale 2, on the list saved above.
launch QT_SCALE_FACTOR=2
open_settings_keep_order
close_settings
load_first_list
# shellcheck disable=SC2086
keys $SETUP_START
keys Down
shot 08-quiz-scale2
quit_program

# Typing the English word (a misspelt one), then choosing among four (the second choice), on
# the list saved above.
launch
open_settings_keep_order
# shellcheck disable=SC2086
keys $SETTINGS_ANSWER_NEXT
close_settings
load_first_list
# shellcheck disable=SC2086
keys $SETUP_START
xdotool type --delay 20 "aple"
keys Return
shot 09-quiz-typed
# shellcheck disable=SC2086
keys $QUIZ_TO_START
open_settings_keep_order
# shellcheck disable=SC2086
keys $SETTINGS_ANSWER_NEXT
close_settings
load_first_list
# shellcheck disable=SC2086
keys $SETUP_START
keys 2
shot 10-quiz-choice
quit_program

count=$(find "$out" -maxdepth 1 -name '[01][0-9]-*.png' | wc -l)
[ "$count" -eq 12 ] || fail "$count pictures in $out, not 12"
echo "screenshots: 12 pictures in $out"

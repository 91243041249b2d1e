#!/bin/sh
# Renders the README's screenshots: the dialog as it opens, and a completed split.
# Runs KESTRUM.EXE in Wine's virtual desktop on a virtual display and types into it
# with xdotool, as a user would. Needs a built build/windows (scripts/run.sh does that).
set -eu
cd "$(dirname "$0")/.."
command -v xdotool >/dev/null || apt-get install -y -qq xdotool
build=$PWD/build/windows
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all

roms="$WINEPREFIX/drive_c/roms"
mkdir -p "$roms"
head -c 65536 /dev/urandom > "$roms/game.bin"

xvfb-run -a -s "-screen 0 480x230x24" sh -c '
  build=$1
  "$build/wine-run.sh" explorer /desktop=shots,480x230 "$build/KESTRUM.EXE" &
  until xdotool search --name "Wine desktop" >/dev/null 2>&1; do sleep 0.5; done
  sleep 3
  import -window root docs/dialog.png
  xdotool type --delay 20 "C:\\roms\\game.bin"
  xdotool key Tab Tab
  xdotool type --delay 20 "C:\\roms\\game_even.bin"
  xdotool key Tab Tab
  xdotool type --delay 20 "C:\\roms\\game_odd.bin"
  xdotool key Return
  sleep 2
  import -window root docs/split-complete.png
  xdotool key Return Escape
  sleep 1
  wineserver -k 2>/dev/null || true
' sh "$build"
ls -l "$roms"

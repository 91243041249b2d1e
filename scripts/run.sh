#!/bin/sh
# Builds the browser page and prints its path; builds KESTRUM.EXE and starts it under Wine.
# Where Wine cannot run 32-bit programs, it builds and starts the 64-bit test build of the
# same sources instead. With no display it runs in a virtual one, saves a screenshot of the
# dialog as kestrum.png beside the program it started and closes it, and beside it one of
# the page after a split, kestrum-web.png, taken in headless Chromium.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# The browser page first: it needs no display, and the dialog may take this shell over.
cmake --preset web >/dev/null
cmake --build --preset web --target kestrum_page
page=$PWD/build/web/kestrum.html
echo "the browser page: $page (open it in any browser)"

# The 64-bit test build where Wine runs no 32-bit programs; the script says why.
build=$(sh scripts/pick-windows-build.sh build)
cmake --build "$build" --target kestrum
echo "starting $build/KESTRUM.EXE"

if [ -n "${DISPLAY:-}" ]; then
  exec "$build/wine-run.sh" "$build/KESTRUM.EXE"
fi

screenshot="$PWD/$build/kestrum.png"
xvfb-run -a -s "-screen 0 640x480x24" sh -c '
  build=$1; screenshot=$2
  "$build/wine-run.sh" explorer /desktop=kestrum,640x480 "$build/KESTRUM.EXE" &
  # Wait, at most 60 s, for the desktop window, then give the dialog time to draw.
  tries=0
  until xwininfo -root -tree 2>/dev/null | grep -q "Wine desktop"; do
    tries=$((tries + 1)); [ $tries -le 120 ] || { echo "the dialog did not open" >&2; exit 1; }
    sleep 0.5
  done
  sleep 3
  import -window root "$screenshot"
  WINEPREFIX="$PWD/$build/wineprefix" wineserver -k
' sh "$build" "$screenshot"
echo "screenshot: $screenshot"
/usr/bin/python3 web/screenshot.py "$page" "$PWD/$build/kestrum-web.png"
echo "screenshot of the page after a split: $PWD/$build/kestrum-web.png"

#!/bin/sh
# pick-windows-build.sh ROOT [CMAKE_OPTION...]: configures the windows preset in ROOT/windows
# and prints that folder, where Wine runs its 32-bit programs. Elsewhere it says why and
# configures and prints instead the 64-bit test build's, ROOT/windows-x64. Each configure
# step judges by running a program under Wine (cmake/wine_probe.cmake), and writes its
# verdict to wine-probe.txt. Fails where Wine runs neither.
set -eu
cd "$(dirname "$0")/.."
root=$1
shift
for preset in windows windows-x64; do
  log=$(cmake --preset $preset -B "$root/$preset" "$@" 2>&1) || { echo "$log" >&2; exit 1; }
  cause=$(cat "$root/$preset/wine-probe.txt")
  if [ -z "$cause" ]; then
    echo "$root/$preset"
    exit 0
  fi
  case $preset in
    windows) echo "$cause; taking the 64-bit test build" >&2 ;;
    *) echo "$cause" >&2 ;;
  esac
done
exit 1

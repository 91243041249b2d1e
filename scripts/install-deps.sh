#!/bin/sh
# Installs what building and testing need on Debian or Ubuntu: the native compiler and
# test libraries, MinGW-w64 for 32- and 64-bit Windows, Wine for both with a virtual
# display, the cross compilers for arm64 and armhf Linux with qemu's user mode to run
# their programs, what makes and checks the release packages, and for the browser page
# clang with WebAssembly's C and C++ libraries, and Chromium with Python's WebSocket client
# to drive it.
# Does nothing when everything is already there. A mirror in mid-sync can leave one of
# apt's indexes stale for hours, so a failed update is not the end: what can be installed
# is, each package that cannot is named with apt's reason, and only a missing package the
# build and its tests cannot do without fails the script.
set -eu

# What the build and its tests need.
packages="cmake make g++ libgtest-dev googletest libbenchmark-dev g++-mingw-w64-i686-win32
          binutils-mingw-w64-i686 wine fonts-wine xvfb xauth x11-utils imagemagick
          g++-mingw-w64-x86-64-posix wine64 g++-aarch64-linux-gnu g++-arm-linux-gnueabihf
          qemu-user-static git zip unzip file lintian netpbm
          clang-14 lld-14 wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32
          libclang-rt-14-dev-wasm32 python3 chromium python3-websocket firefox-esr
          webkit2gtk-driver libwebkit2gtk-4.1-0 srecord"
# What only some tests need, which report themselves skipped without it: 32-bit Wine runs
# the 32-bit Windows programs. Each is installed on its own, after the rest.
optional="wine32:i386"

missing() {
  for package; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
      echo "$package"
  done
}
needed=$(missing $packages)
extra=$(missing $optional)
[ -z "$needed$extra" ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# apt's words go to the log, unabridged, for reason() to pick from.
apt() {
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -y --no-install-recommends "$@" >"$log" 2>&1
}
# apt's reason in one line: the first unmet dependency, else its first error.
reason() {
  { grep ' : Depends: ' "$log" || :; grep '^E: ' "$log" || :; } | head -n 1 | sed 's/^ *//'
}

# 32-bit Windows programs need Wine's i386 build.
$sudo dpkg --add-architecture i386
# Tried three times, 30 s apart, where a needed package is missing, else once.
tries=1
[ -z "$needed" ] || tries=3
until apt update; do
  tries=$((tries - 1))
  if [ $tries -eq 0 ]; then
    echo "install-deps.sh: apt-get update failed, going on with the package lists there are:" \
         "$(grep -m 1 '^E: ' "$log" || tail -n 1 "$log")" >&2
    break
  fi
  sleep 30
done

# All at once; where that fails, one by one, so one that cannot be had keeps no other out.
failed=""
if [ -n "$needed" ]; then
  echo "install-deps.sh: installing" $needed
  if ! apt install $needed; then
    for package in $needed; do
      apt install "$package" && continue
      echo "install-deps.sh: $package cannot be installed: $(reason)" >&2
      failed="$failed $package"
    done
  fi
fi
for package in $extra; do
  apt install "$package" ||
    echo "install-deps.sh: $package cannot be installed, so its tests will be skipped: $(reason)" >&2
done
if [ -n "$failed" ]; then
  echo "install-deps.sh: the build and its tests cannot do without:$failed" >&2
  exit 1
fi

#!/bin/sh
# Installs what building and testing need on Debian or Ubuntu: the native compiler and
# test libraries, MinGW-w64 for 32- and 64-bit Windows, Wine for both with a virtual
# display, the cross compilers for arm64 and armhf Linux with qemu's user mode to run
# their programs, what makes and checks the release packages, and for the browser page
# clang with WebAssembly's C and C++ libraries, and Chromium with Python's WebSocket client
# to drive it.
# Does nothing when everything is already there.
set -eu

packages="cmake make g++ libgtest-dev googletest libbenchmark-dev g++-mingw-w64-i686-win32
          binutils-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb xauth x11-utils imagemagick
          g++-mingw-w64-x86-64-posix wine64 g++-aarch64-linux-gnu g++-arm-linux-gnueabihf
          qemu-user-static git zip unzip file lintian
          clang-14 lld-14 wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32
          libclang-rt-14-dev-wasm32 python3 chromium python3-websocket firefox-esr
          webkit2gtk-driver libwebkit2gtk-4.1-0"

missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
    missing="$missing $package"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
# 32-bit Windows programs need Wine's i386 build.
$sudo dpkg --add-architecture i386
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing

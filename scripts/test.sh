#!/bin/sh
# Builds everything and runs every test: install-deps.sh and the Wine check of the
# configure step on stand-ins that fail them; the engine and kestrum-cli natively under ASan
# and UBSan; then the release (scripts/release.sh): KESTRUM.EXE, kestrum-cli.exe and their
# tests cross-built and run under Wine, the browser page kestrum.html and its tests in
# headless Chromium, and the static Linux kestrum-cli for x86-64, arm64 and armhf built
# and tested (ARM under qemu), all packaged into dist/, and the packages checked; the
# engine, command-line, executable, resources and end-to-end tests again on 64-bit Windows
# programs, KESTRUM.EXE's 64-bit test build among them; the benchmarks' build; and last
# the release built twice more in two temporary clones, to show that the bytes repeat.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# install-deps.sh and the Wine judgement on stand-ins for a mirror mid-sync and a Wine
# without its 32-bit half, in a build folder of their own.
sh tests/scripts/without_wine32_test.sh "$PWD" build/without-wine32
cmake --workflow --preset native
sh scripts/release.sh
sh tests/release/check_packages.sh
cmake --workflow --preset windows-x64
cmake --preset bench >/dev/null
cmake --build --preset bench
sh tests/release/reproducible.sh

#!/bin/sh
# Builds everything and runs every test: the engine and kestrum-cli natively under ASan and
# UBSan, then KESTRUM.EXE, kestrum-cli.exe and their tests cross-built and run under Wine,
# the engine and command-line tests again as 64-bit Windows programs, and last the
# benchmarks' build.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --workflow --preset native
cmake --workflow --preset windows
cmake --workflow --preset windows-x64
cmake --preset bench >/dev/null
cmake --build --preset bench

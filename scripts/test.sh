#!/bin/sh
# Builds everything and runs every test: the engine natively under ASan and UBSan, then
# KESTRUM.EXE, the engine tests and the end-to-end tests cross-built and run under Wine,
# and last the benchmarks' build.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --workflow --preset native
cmake --workflow --preset windows
cmake --preset bench >/dev/null
cmake --build --preset bench

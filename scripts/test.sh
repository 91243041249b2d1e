#!/bin/sh
# Builds everything and runs every test: the engine natively under ASan and UBSan; then
# the release (scripts/release.sh): KESTRUM.EXE, the engine tests and the end-to-end
# tests cross-built and run under Wine, and the static kestrum-cli built and tested,
# packaged into dist/ and the packages checked; the benchmarks' build; and last the
# release built twice more in two temporary clones, to show the bytes repeat.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --workflow --preset native
sh scripts/release.sh
sh tests/release/check_packages.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
sh tests/release/reproducible.sh

#!/bin/sh
# Builds the release of the last commit twice, from clones in two temporary folders of
# different depths, checked out under different umasks and built in different time
# zones, a build's time apart, and compares every file in their dist/ byte for byte.
# Only what ships is built there: the tests ran on the release in this tree's dist/.
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
commit=$(git -C "$top" rev-parse HEAD)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

release() {  # folder umask time-zone
  (
    umask "$2"
    # --shared reaches every object of this repository, a detached HEAD's included.
    git clone -q --shared --no-checkout "$top" "$1"
    git -C "$1" checkout -q --detach "$commit"
    cd "$1"
    TZ=$3 sh scripts/release.sh --untested > "$work/log" 2>&1 || { cat "$work/log"; exit 1; }
  )
}
release "$work/a" 022 UTC
release "$work/second/build/of/b" 077 Pacific/Kiritimati

diff -r "$work/a/dist" "$work/second/build/of/b/dist"
# From a clean tree, the tested release that scripts/test.sh made is those same bytes.
if [ -z "$(git -C "$top" status --porcelain)" ]; then
  diff -r "$top/dist" "$work/a/dist"
fi
echo "PASS: two builds of $commit give the same bytes:"
cat "$work/a/dist/SHA256SUMS"

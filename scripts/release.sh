#!/bin/sh
# Makes the release in dist/: KESTRUM.EXE and kestrum-cli.exe (windows preset) and the
# static kestrum-cli (linux preset) are built and tested, and those very files are
# packaged: the Windows zip, the Linux tarball, the .deb, and SHA256SUMS for the three.
# The same commit gives the same bytes, whoever builds it, wherever and whenever.
# --untested builds only what ships and runs no tests: for comparing builds, not for
# publishing.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# Every time in the packages is the last commit's; nothing takes the builder's umask,
# time zone or locale.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
umask 022
export LC_ALL=C
[ -z "$(git status --porcelain)" ] ||
  echo "release.sh: uncommitted changes: these packages are not the last commit's" >&2

if [ "${1:-}" = --untested ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target kestrum kestrum-cli
  cmake --preset linux >/dev/null
  cmake --build --preset linux --target kestrum-cli kestrum-cli-man
  cpack --preset linux
else
  cmake --workflow --preset windows
  cmake --workflow --preset linux
fi

win=build/windows linux=build/linux
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $linux/CMakeCache.txt)
zip=kestrum-$version-win32.zip
tarball=kestrum-$version-linux-x86_64
deb=kestrum-cli_${version}_amd64.deb

dist=$PWD/dist
rm -rf "$dist"
mkdir "$dist"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/win32" "$stage/$tarball"
cp $win/KESTRUM.EXE $win/kestrum-cli.exe $win/README.txt $win/LICENSE.txt "$stage/win32"
cp $linux/kestrum-cli $linux/kestrum-cli.1 README.md LICENSE "$stage/$tarball"
chmod -R u=rwX,go=rX "$stage"
touch -d "@$SOURCE_DATE_EPOCH" "$stage/win32"/*

# zip stores the members in the order named, sorted by the glob, their times as local
# time, hence UTC, and with -X no owners.
(cd "$stage/win32" && TZ=UTC zip -X -q "$dist/$zip" *)
tar -C "$stage" --sort=name --format=ustar --owner=0 --group=0 --numeric-owner \
    --mtime="@$SOURCE_DATE_EPOCH" -cf - "$tarball" | gzip -9n > "$dist/$tarball.tar.gz"
cp $linux/$deb "$dist"
(cd "$dist" && sha256sum "$zip" "$tarball.tar.gz" "$deb" > SHA256SUMS && cat SHA256SUMS)

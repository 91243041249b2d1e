#!/bin/sh
# Makes the release in dist/: KESTRUM.EXE and kestrum-cli.exe (windows preset), the
# static kestrum-cli for x86-64, arm64 and armhf Linux (linux, linux-arm64 and linux-armhf
# presets) and the browser page kestrum.html (web preset) are built and tested, and those
# very files are packaged: the Windows zip, which holds the page too, a tarball and a .deb
# for each Linux, the page on its own, and SHA256SUMS for them all.
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

# Each Linux build: its preset, the tarball's name for its machine, and Debian's.
linuxes="linux:x86_64:amd64 linux-arm64:arm64:arm64 linux-armhf:armhf:armhf"

if [ "${1:-}" = --untested ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target kestrum kestrum-cli
  for linux in $linuxes; do
    preset=${linux%%:*}
    cmake --preset $preset >/dev/null
    cmake --build --preset $preset --target kestrum-cli kestrum-cli-man kestrum-cli-changelog
    cpack --preset $preset
  done
  cmake --preset web >/dev/null
  cmake --build --preset web --target kestrum_page
else
  cmake --workflow --preset windows
  cmake --workflow --preset web
  for linux in $linuxes; do
    cmake --workflow --preset ${linux%%:*}
  done
fi

win=build/windows
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/linux/CMakeCache.txt)
zip=kestrum-$version-win32.zip

dist=$PWD/dist
rm -rf "$dist"
mkdir "$dist"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/win32"
cp $win/KESTRUM.EXE $win/kestrum-cli.exe $win/README.txt $win/LICENSE.txt "$stage/win32"
cp build/web/kestrum.html "$stage/win32"
chmod -R u=rwX,go=rX "$stage"
touch -d "@$SOURCE_DATE_EPOCH" "$stage/win32"/*
# zip stores the members in the order named, sorted by the glob, their times as local
# time, hence UTC, and with -X no owners.
(cd "$stage/win32" && TZ=UTC zip -X -q "$dist/$zip" *)

packages=$zip
for linux in $linuxes; do
  preset=${linux%%:*} machine=${linux#*:}
  tarball=kestrum-$version-linux-${machine%:*} deb=kestrum-cli_${version}_${machine#*:}.deb
  mkdir "$stage/$tarball"
  cp build/$preset/kestrum-cli build/$preset/kestrum-cli.1 README.md LICENSE "$stage/$tarball"
  chmod -R u=rwX,go=rX "$stage/$tarball"
  tar -C "$stage" --sort=name --format=ustar --owner=0 --group=0 --numeric-owner \
      --mtime="@$SOURCE_DATE_EPOCH" -cf - "$tarball" | gzip -9n > "$dist/$tarball.tar.gz"
  cp build/$preset/$deb "$dist"
  packages="$packages $tarball.tar.gz $deb"
done
page=kestrum-$version-web.html
cp build/web/kestrum.html "$dist/$page"
packages="$packages $page"
(cd "$dist" && sha256sum $packages > SHA256SUMS && cat SHA256SUMS)

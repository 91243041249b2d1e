#!/bin/sh
# Checks the packages in dist/ against the builds whose tests ran: each holds exactly its
# files, the programs and the page in them are those tested files, each Linux program is
# static, built for its machine and runs there (under qemu for ARM), each .deb says what
# Debian needs and passes lintian without an error, and SHA256SUMS verifies all eight.
set -u
cd "$(dirname "$0")/../.."
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/linux/CMakeCache.txt)
zip=dist/kestrum-$version-win32.zip
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
list() { LC_ALL=C sort | tr '\n' ' '; }
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

files=$(unzip -Z1 "$zip" | list)
[ "$files" = "KESTRUM.EXE LICENSE.txt README.txt kestrum-cli.exe kestrum.html " ] ||
  fail "zip holds $files"
unzip -p "$zip" kestrum.html | cmp -s - build/web/kestrum.html ||
  fail "the zip's kestrum.html is not the tested build/web/kestrum.html"
cmp -s "dist/kestrum-$version-web.html" build/web/kestrum.html ||
  fail "kestrum-$version-web.html is not the tested build/web/kestrum.html"
for program in KESTRUM.EXE kestrum-cli.exe; do
  unzip -p "$zip" $program | cmp -s - build/windows/$program ||
    fail "the zip's $program is not the tested build/windows/$program"
done
unzip -p "$zip" README.txt | grep -qv "$(printf '\r')\$" && fail "README.txt has a line without CRLF"

# Each Linux build: its preset, the tarball's name for its machine, Debian's name, and
# what file(1) says of a program for it.
for linux in "linux x86_64 amd64 x86-64" "linux-arm64 arm64 arm64 ARM aarch64" \
             "linux-armhf armhf armhf ARM, EABI5"; do
  set -- $linux
  preset=$1 top=kestrum-$version-linux-$2 arch=$3 deb=dist/kestrum-cli_${version}_$3.deb
  shift 3
  machine="$*"
  files=$(tar -tzf "dist/$top.tar.gz" | list)
  [ "$files" = "$top/ $top/LICENSE $top/README.md $top/kestrum-cli $top/kestrum-cli.1 " ] ||
    fail "$top.tar.gz holds $files"
  files=$(dpkg-deb -c "$deb" | awk '!/\/$/ {print $6}' | list)
  wanted="./usr/bin/kestrum-cli ./usr/share/doc/kestrum-cli/changelog.gz"
  wanted="$wanted ./usr/share/doc/kestrum-cli/copyright ./usr/share/lintian/overrides/kestrum-cli"
  [ "$files" = "$wanted ./usr/share/man/man1/kestrum-cli.1.gz " ] || fail "$deb installs $files"
  # Errors only: its warnings are advice, its errors what Debian's archive would refuse.
  errors=$(lintian "$deb" 2>/dev/null | grep '^E:')
  [ -z "$errors" ] || fail "lintian: $errors"

  mkdir "$unpacked/$preset"
  tar -xzf "dist/$top.tar.gz" -C "$unpacked/$preset"
  cli=$unpacked/$preset/$top/kestrum-cli
  dpkg-deb --fsys-tarfile "$deb" | tar -xf - -C "$unpacked/$preset" ./usr/bin/kestrum-cli
  cmp -s "$cli" build/$preset/kestrum-cli || fail "$top's kestrum-cli is not the tested one"
  cmp -s "$unpacked/$preset/usr/bin/kestrum-cli" "$cli" ||
    fail "$deb's kestrum-cli is not $top's"
  description=$(file -b "$cli")
  case $description in
    *"$machine"*"statically linked"*) ;;
    *) fail "$top's kestrum-cli is not a static $machine program: $description" ;;
  esac
  emulator=$(sed -n 's/^CMAKE_CROSSCOMPILING_EMULATOR:[A-Z]*=//p' build/$preset/CMakeCache.txt)
  [ "$($emulator "$cli" --version)" = "kestrum-cli $version" ] ||
    fail "$top's kestrum-cli --version is not $version"
  grep -q "^\.TH .*\"kestrum-cli $version\"" "$unpacked/$preset/$top/kestrum-cli.1" ||
    fail "$top's man page is not $version's"

  control=$(dpkg-deb -I "$deb" control)
  for field in "Package: kestrum-cli" "Version: $version" "Architecture: $arch" \
               "Section: electronics"; do
    echo "$control" | grep -qx "$field" || fail "$deb lacks '$field'"
  done
  echo "$control" | grep -q '^Maintainer: .*<.*@.*>$' || fail "$deb has no maintainer"
  echo "$control" | grep -q '^Pre-Depends:\|^Depends:' && fail "a static program depends on nothing"
  [ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 2 ] || fail "$deb has no long description"
done

sums=$(cd dist && sha256sum --strict -c SHA256SUMS) || fail "SHA256SUMS does not verify: $sums"
[ "$(echo "$sums" | wc -l)" -eq 8 ] || fail "SHA256SUMS covers: $sums"

[ $failures -eq 0 ] && echo "PASS: dist/ holds the tested programs, and SHA256SUMS verifies them"
[ $failures -eq 0 ]

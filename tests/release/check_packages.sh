#!/bin/sh
# Checks the packages in dist/ against the builds whose tests ran: each holds exactly its
# files, the programs in them are those tested files, the Linux program is static and
# runs, the .deb says what Debian needs, and SHA256SUMS verifies all three.
set -u
cd "$(dirname "$0")/../.."
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/linux/CMakeCache.txt)
zip=dist/kestrum-$version-win32.zip
top=kestrum-$version-linux-x86_64
deb=dist/kestrum-cli_${version}_amd64.deb
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
list() { LC_ALL=C sort | tr '\n' ' '; }
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

files=$(unzip -Z1 "$zip" | list)
[ "$files" = "KESTRUM.EXE LICENSE.txt README.txt kestrum-cli.exe " ] || fail "zip holds $files"
files=$(tar -tzf "dist/$top.tar.gz" | list)
[ "$files" = "$top/ $top/LICENSE $top/README.md $top/kestrum-cli $top/kestrum-cli.1 " ] ||
  fail "tarball holds $files"
files=$(dpkg-deb -c "$deb" | awk '!/\/$/ {print $6}' | list)
wanted="./usr/bin/kestrum-cli ./usr/share/doc/kestrum-cli/copyright"
[ "$files" = "$wanted ./usr/share/man/man1/kestrum-cli.1.gz " ] || fail ".deb installs $files"

for program in KESTRUM.EXE kestrum-cli.exe; do
  unzip -p "$zip" $program | cmp -s - build/windows/$program ||
    fail "the zip's $program is not the tested build/windows/$program"
done
unzip -p "$zip" README.txt | grep -qv "$(printf '\r')\$" && fail "README.txt has a line without CRLF"

tar -xzf "dist/$top.tar.gz" -C "$unpacked"
cli=$unpacked/$top/kestrum-cli
dpkg-deb --fsys-tarfile "$deb" | tar -xf - -C "$unpacked" ./usr/bin/kestrum-cli
cmp -s "$cli" build/linux/kestrum-cli || fail "the tarball's kestrum-cli is not the tested one"
cmp -s "$unpacked/usr/bin/kestrum-cli" "$cli" || fail "the .deb's kestrum-cli is not the tarball's"
file "$cli" | grep -q 'statically linked' || fail "kestrum-cli is not static: $(file -b "$cli")"
ldd "$cli" 2>&1 | grep -q 'not a dynamic executable' || fail "ldd finds libraries in kestrum-cli"
[ "$("$cli" --version)" = "kestrum-cli $version" ] || fail "kestrum-cli --version is not $version"
grep -q "^\.TH .*\"kestrum-cli $version\"" "$unpacked/$top/kestrum-cli.1" || fail "man page is not $version's"

control=$(dpkg-deb -I "$deb" control)
for field in "Package: kestrum-cli" "Version: $version" "Architecture: amd64" "Section: electronics"
do
  echo "$control" | grep -qx "$field" || fail ".deb lacks '$field'"
done
echo "$control" | grep -q '^Maintainer: .*<.*@.*>$' || fail ".deb has no maintainer"
echo "$control" | grep -q '^Pre-Depends:\|^Depends:' && fail "a static program depends on nothing"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 2 ] || fail ".deb has no long description"

sums=$(cd dist && sha256sum --strict -c SHA256SUMS) || fail "SHA256SUMS does not verify: $sums"
[ "$(echo "$sums" | wc -l)" -eq 3 ] || fail "SHA256SUMS covers: $sums"

[ $failures -eq 0 ] && echo "PASS: dist/ holds the tested programs, and SHA256SUMS verifies them"
[ $failures -eq 0 ]

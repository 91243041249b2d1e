#!/bin/sh
# without_wine32_test.sh SOURCE SCRATCH: the two commands on a machine whose mirror is
# mid-sync and whose Wine runs no 32-bit programs, both played by stand-ins first on PATH.
set -eu
cd "$1"
mkdir -p "$2/bin"
bin=$(cd "$2/bin" && pwd)
STATE=$bin/installed
export STATE PATH="$bin:$PATH"
stand_in() { name=$1; shift; printf '#!/bin/sh\n%s\n' "$@" >"$bin/$name"; chmod +x "$bin/$name"; }
stand_in apt-get 'case " $* " in *" update "*) echo "E: File has unexpected size. Mirror sync in progress?"; exit 100;; esac' \
  'for p; do case " $REFUSE " in *" $p "*) echo "E: $p: Depends: zlib1g (= 1) but it is not"; exit 100;; esac; done' \
  'printf "%s\n" "$@" >>"$STATE"'
stand_in dpkg-query 'for p; do :; done; grep -qx "$p" "$STATE" && echo "install ok installed"'
stand_in dpkg ':'; stand_in sleep ':'; stand_in sudo 'exec "$@"'
# Debian's wine script with 64-bit Wine alone: it gives its version, and runs no 32-bit program.
stand_in wine '[ "$1" = --version ] || [ "$WINEARCH" = win64 ] || { echo "it looks like wine32 is missing"; exit 1; }' \
  'mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"'
stand_in wineserver ':'

# Refused packages and the status and lines expected; zip is needed, wine32 is not.
for case in "wine32:i386|0|wine32:i386 cannot be installed, so its tests will be skipped: E: wine32:i386: Depends" \
            "zip wine32:i386|1|zip cannot be installed: E: zip: Depends"; do
  : >"$STATE"
  status=0
  REFUSE=${case%%|*} sh scripts/install-deps.sh >"$2/log" 2>&1 || status=$?
  expected=${case#*|}
  [ "$status" = "${expected%%|*}" ] && grep -qF "${expected#*|}" "$2/log" && grep -qx cmake "$STATE" &&
    grep -q 'apt-get update failed' "$2/log" ||
    { cat "$2/log"; echo "install-deps.sh refusing $case: status $status"; exit 1; }
done

# The 32-bit Wine tests are skipped with the reason, and run.sh's pick is the 64-bit build.
picked=$(sh scripts/pick-windows-build.sh "$2" -DCMAKE_CROSSCOMPILING_EMULATOR="$bin/wine" 2>"$2/log")
[ "$picked" = "$2/windows-x64" ] || { cat "$2/log"; echo "picked $picked"; exit 1; }
ctest --test-dir "$2/windows" -R '\.UnderWine$' -V >"$2/log"
count=$(sed -n 's/.*tests failed out of //p' "$2/log")
[ "$count" -gt 0 ] && [ "$(grep -c '[*]Skipped' "$2/log")" = "$count" ] &&
  grep -q 'run under Wine here: 32-bit Wine is not installed' "$2/log" || { cat "$2/log"; exit 1; }

#!/bin/sh
# Checks that KESTRUM.EXE is what Windows 95 and NT 4.0 can load: a PE32 GUI program for
# subsystem 4.0, at most 8 KiB, importing only calls those systems already had, from
# KERNEL32, USER32 and COMDLG32 alone, and that nothing in it needs a runtime to start.
# The 64-bit test build, a PE32+ program, must pass the same checks, so that it is the
# same program that its tests run.
# Usage: check_executable.sh PE32|PE32+ EXE OBJDUMP NM OBJECT...
set -u
format=$1 exe=$2 objdump=$3 nm=$4
shift 4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

case $format in
  PE32) magic=010b ;;
  PE32+) magic=020b ;;
  *) echo "FAIL: unknown format $format"; exit 1 ;;
esac
headers=$("$objdump" -p "$exe") || { echo "FAIL: cannot read $exe"; exit 1; }
echo "$headers" | grep -Eq "^Magic[[:space:]]+$magic[[:space:]]" || fail "not $format"
echo "$headers" | grep -Eq '^Subsystem[[:space:]]+00000002' || fail "not a GUI program"
echo "$headers" | grep -Eq '^MajorSubsystemVersion[[:space:]]+4$' || fail "subsystem major version not 4"
echo "$headers" | grep -Eq '^MinorSubsystemVersion[[:space:]]+0$' || fail "subsystem minor version not 0"

dlls=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort | tr '\n' ' ')
[ "$dlls" = "COMDLG32.DLL KERNEL32.DLL USER32.DLL " ] || fail "imports from: $dlls"

# Every call here exists in Windows 95 and NT 4.0; a new import must be checked and added.
expected="CloseHandle CreateFileA DialogBoxParamA EnableWindow EndDialog ExitProcess FindClose
FindFirstFileA GetDlgItem GetDlgItemTextA GetModuleHandleA GetOpenFileNameA
GetWindowTextLengthA LoadIconA MessageBoxA ReadFile SendMessageA SetDlgItemTextA
SetFilePointer WriteFile"
imports=$(echo "$headers" | awk '/DLL Name:/ {inside = 1; next} inside && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print $3}' | sort | tr '\n' ' ')
wanted=$(echo $expected | tr ' ' '\n' | sort | tr '\n' ' ')
[ "$imports" = "$wanted" ] || fail "imported functions differ: $imports"

size=$(wc -c < "$exe")
[ "$size" -le 8192 ] || fail "$size bytes, more than 8 KiB"

# Static constructors would never run, and exception or heap support would need a runtime.
for object in "$@"; do
  if "$nm" "$object" | grep -E '__GLOBAL__sub_I_|__cxa_|_Unwind_|\b_?(malloc|free|_Znwj|_Znaj|_ZdlPv)\b'; then
    fail "$object needs a runtime"
  fi
done

[ $failures -eq 0 ] && echo "PASS: $exe, $size bytes, imports: $imports"
[ $failures -eq 0 ]

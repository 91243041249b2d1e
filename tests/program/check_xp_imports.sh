#!/bin/sh
# Checks that kestrum-cli.exe starts on Windows XP: a console program for a subsystem XP
# (5.1) accepts, importing only from KERNEL32, USER32 and MSVCRT, and only functions that XP's
# copies of them have, as the list beside this script names them.
# Usage: check_xp_imports.sh EXE OBJDUMP LIST
set -u
exe=$1 objdump=$2 list=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers=$("$objdump" -p "$exe") || { echo "FAIL: cannot read $exe"; exit 1; }
echo "$headers" | grep -Eq '^Subsystem[[:space:]]+00000003' || fail "not a console program"
major=$(echo "$headers" | awk '$1 == "MajorSubsystemVersion" {print $2}')
minor=$(echo "$headers" | awk '$1 == "MinorSubsystemVersion" {print $2}')
[ "${major:-9}" -lt 5 ] || { [ "$major" -eq 5 ] && [ "${minor:-9}" -le 1 ]; } ||
  fail "subsystem version $major.$minor is newer than XP's 5.1"

# "DLL function" for every import, the DLL's name in capitals as the list has it.
imports=$(echo "$headers" | awk '
  /DLL Name:/ {dll = toupper($3); next}
  dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print dll, $3}' | LC_ALL=C sort -u)
[ -n "$imports" ] || fail "no imports found in $exe"
allowed=$(mktemp)
trap 'rm -f "$allowed"' EXIT
grep -v '^#' "$list" | LC_ALL=C sort -u > "$allowed"
missing=$(echo "$imports" | LC_ALL=C comm -23 - "$allowed")
[ -z "$missing" ] || fail "imports what Windows XP lacks, or what is not yet checked and listed:" $missing

[ $failures -eq 0 ] && echo "PASS: $exe, $(echo "$imports" | wc -l) imports, all in Windows XP"
[ $failures -eq 0 ]

#!/bin/sh
# The record readers and writers against SRecord's srec_cat (and GNU objcopy for Intel HEX),
# which work apart from kestrum-cli: srec_cat writes a real 68000 program as Intel HEX and
# as S19, S28 and S37, at a ROM's address and with a gap, and kestrum-cli must read from
# each the bytes srec_cat itself converts it back to; srec_cat must read the parts kestrum-cli
# writes as records, past 64 KiB, as the raw parts. A missing srec_cat is a failure: the two commands
# install it.
set -eu
cli=$1 program=$2
if ! command -v srec_cat >/dev/null; then
  echo "srec_cat is missing: install Debian's srecord (scripts/install-deps.sh)" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$program" program.bin
failed=0
same() {
  if cmp -s "$1" "$2"; then echo "same: $3"; else echo "DIFFERENT: $3" >&2; failed=1; fi
}

# kestrum-cli's image of the records in $1, as split and merge give it back whole.
kestrum_image() {
  $cli split "$@" even.bin odd.bin && $cli merge kestrum.bin even.bin odd.bin
}

for form in "-intel 0xF80000" "-motorola -address-length=2 0" "-motorola -address-length=3 0xF80000" \
            "-motorola -address-length=4 0x20000000"; do
  base=${form##* } options=${form% *}
  reader=$(echo "$options" | cut -d' ' -f1)
  srec_cat program.bin -binary -exclude 0x1000 0x1800 -offset "$base" -o records $options
  srec_cat '(' records $reader -fill 0xFF -over records $reader ')' -offset -"$base" \
           -o reference.bin -binary 2>/dev/null
  kestrum_image --base "$base" records
  same kestrum.bin reference.bin "srec_cat $options, a gap of 0x800 bytes, at $base"
done
srec_cat program.bin -binary -exclude 0x1000 0x1800 -offset 0xF80000 -o records.hex -intel
objcopy -I ihex -O binary --gap-fill 0xFF records.hex objcopy.bin
kestrum_image records.hex
same kestrum.bin objcopy.bin "objcopy -I ihex, a gap of 0x800 bytes, from its lowest address"

# Eight copies make parts past 64 KiB, which take extended addresses and S2 records.
for copy in 1 2 3 4 5 6 7 8; do cat program.bin; done > eight.bin
$cli split eight.bin raw1.bin raw2.bin
for format in ihex srec; do
  $cli split --format $format eight.bin part1 part2
  srec_cat part1 $( [ $format = ihex ] && echo -intel ) -o part1.bin -binary
  srec_cat part2 $( [ $format = ihex ] && echo -intel ) -o part2.bin -binary
  same part1.bin raw1.bin "srec_cat reads split --format $format, part 1"
  same part2.bin raw2.bin "srec_cat reads split --format $format, part 2"
done
exit $failed

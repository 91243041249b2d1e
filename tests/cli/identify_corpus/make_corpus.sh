#!/bin/sh
# Makes the images of the identify corpus from src/ (code we wrote, compiled for several
# CPUs), from excerpts of free firmware that Debian ships, and from data made here.
# Needs the cross compilers and firmware packages named below; the tests need only the
# images this writes, which are committed.
#
#   apt-get install gcc-m68k-linux-gnu gcc-mips-linux-gnu gcc-powerpc-linux-gnu \
#     gcc-sparc64-linux-gnu gcc-arm-linux-gnueabihf gcc-riscv64-linux-gnu \
#     gcc-aarch64-linux-gnu gcc seabios ipxe-qemu python3 fp-units-rtl-3.2.2 fpc-source-3.2.2 \
#     libnettle8 libwine:i386 efitools postgresql-15 gcc-mingw-w64-i686-win32-runtime ovmf \
#     gcc-sh4-linux-gnu gcc-alpha-linux-gnu zlib1g-dev \
#     libc6-dev-m68k-cross libc6-dev-sh4-cross libc6-dev-alpha-cross libc6-dev-armhf-cross netpbm
#   and apt-get download reaching Debian's mirror (libc6-ppc64el-cross, libstdc++6-armhf-cross,
#   desktop-base).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src=$here/src
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# pad FILE: zeros up to a whole number of 8-byte groups, so four word lanes add nothing.
pad() {
  python3 -c 'import sys; p=sys.argv[1]; b=open(p,"rb").read(); open(p,"wb").write(b + bytes(-len(b) % 8))' "$1"
}

# program NAME TRIPLET "FLAGS" [extra objects...]: the firmware built four ways (three
# optimisations with text, one without), linked from address 0 into one flat image.
# With QUIET=1 all four are built without text.
program() {
  name=$1 triplet=$2 flags=$3
  shift 3
  objects=""
  i=0
  for variant in "-O2" "-Os" "-O3 -funroll-loops" "-O1 -DQUIET"; do
    i=$((i + 1))
    # Each build's global names get a suffix so the four link into one image.
    prefix=""
    [ $i -gt 1 ] && for symbol in start timerInterrupt crc32 fletcher16 memset memcpy; do
      prefix="$prefix -D$symbol=${symbol}_$i"
    done
    [ "${QUIET:-0}" = 1 ] && variant="$variant -DQUIET"
    ${triplet}gcc $flags $variant $prefix -ffreestanding -fno-builtin -fno-pic -fno-pie \
      -fno-stack-protector -fno-asynchronous-unwind-tables -fcf-protection=none \
      -c "$src/firmware.c" -o "$work/$name-$i.o" 2>/dev/null ||
    ${triplet}gcc $flags $variant $prefix -ffreestanding -fno-builtin -fno-pic -fno-pie \
      -fno-stack-protector -fno-asynchronous-unwind-tables \
      -c "$src/firmware.c" -o "$work/$name-$i.o"
    objects="$objects $work/$name-$i.o"
  done
  for extra in "$@"; do
    ${triplet}gcc $flags -c "$src/$extra" -o "$work/$name-$extra.o"
    objects="$work/$name-$extra.o $objects"
  done
  # libgcc supplies the division and multiplication that some CPUs lack.
  ${triplet}ld ${LDEMULATION:+-m $LDEMULATION} --no-warn-rwx-segments -T "$src/image.ld" \
    -e start -o "$work/$name.elf" $objects "$(${triplet}gcc $flags -print-libgcc-file-name)"
  ${triplet}objcopy -O binary -j .text "$work/$name.elf" "$here/$name.bin"
  pad "$here/$name.bin"
}

program m68000 m68k-linux-gnu- "-m68000" vectors_m68k.c
program mips-be mips-linux-gnu- "-march=mips32 -mno-abicalls -G0"
program powerpc powerpc-linux-gnu- ""
program sparc sparc64-linux-gnu- "-mcmodel=medlow"
program arm arm-linux-gnueabihf- "-marm" vectors_arm.S
program thumb2 arm-linux-gnueabihf- "-mthumb" vectors_arm.S
program riscv64 riscv64-linux-gnu- "-mcmodel=medlow"
program aarch64 aarch64-linux-gnu- ""
LDEMULATION=elf_i386 program x86-32 "" "-m32"
LDEMULATION=elf_i386 program x86-16 "" "-m16 -march=i386"
# Code with almost no text, where text cannot settle a big-endian image against its twin.
QUIET=1 program mips-be-quiet mips-linux-gnu- "-march=mips32 -mno-abicalls -G0"
QUIET=1 program m68000-quiet m68k-linux-gnu- "-m68000"
QUIET=1 program thumb2-quiet arm-linux-gnueabihf- "-mthumb" vectors_arm.S
QUIET=1 LDEMULATION=elf_i386 program x86-32-quiet "" "-m32"

# examples NAME TRIPLET "FLAGS" [LDFLAGS]: zlib's example programs (zlib licence, Debian's
# zlib1g-dev), code nobody here wrote, built with -O2 and linked from address 0 with their
# constants and text left out, so only instruction words and the code's structure can
# settle the layout. What they call from the C library is a stub of one return each.
examples() {
  name=$1 triplet=$2 flags=$3 ldflags=${4:-}
  examples=/usr/share/doc/zlib1g-dev/examples
  mkdir -p "$work/zlib"
  cp /usr/include/zlib.h /usr/include/zconf.h "$work/zlib/"
  objects=""
  for file in enough gun gzappend gzjoin zpipe fitblk zran; do
    ${triplet}gcc $flags -O2 -Dmain=main_$file -I"$work/zlib" -I$examples -fno-pic -fno-pie \
      -fno-stack-protector -fno-asynchronous-unwind-tables -w -c $examples/$file.c -o "$work/$name-$file.o"
    objects="$objects $work/$name-$file.o"
  done
  ${triplet}nm -u $objects | awk 'NF == 2 && $2 != "_GLOBAL_OFFSET_TABLE_" { print "int " $2 "(void) { return 0; }" }' |
    sort -u > "$work/$name-stubs.c"
  ${triplet}gcc $flags -O2 -fno-builtin -fno-pic -fno-pie -w -c "$work/$name-stubs.c" -o "$work/$name-stubs.o"
  ${triplet}ld $ldflags --no-warn-rwx-segments -T "$src/code.ld" -e 0 -o "$work/$name.elf" $objects "$work/$name-stubs.o"
  ${triplet}objcopy -O binary -j .text "$work/$name.elf" "$here/$name.bin"
  pad "$here/$name.bin"
}

# SuperH in both byte orders: big-endian as SH-2 boards run it (Saturn, CPS-3; Debian's
# compiler makes SH-4 code, here without its FPU) and SH-4 little-endian
# (Dreamcast, NAOMI); the same 16-bit words read either way, so only the board's CPU tells
# them apart. Alpha; and 68000 and Thumb-2 code, whose 32-bit structure settles the order of
# its 16-bit words. Thumb-2 also big-endian as ARMv4T and ARMv5 boards ran it (BE-32, each
# halfword big-endian), once decided as its little-endian twin.
examples sh-be-zlib sh4-linux-gnu- "-m4-nofpu -mb" -EB
examples sh4-le-zlib sh4-linux-gnu- "-m4 -ml"
examples alpha-zlib alpha-linux-gnu- "-mcpu=ev4"
examples m68000-zlib m68k-linux-gnu- "-m68000"
examples thumb2-zlib arm-linux-gnueabihf- "-mthumb"
examples thumb2-be-zlib arm-linux-gnueabihf- "-mthumb -mbig-endian" -EB

# The quiet 68000 code as a Mac ROM would carry it, its first long the sum of the big-endian
# words after it, and as an Amiga ROM would, a long 24 bytes from the end making its longs
# sum to FFFFFFFF with end-around carry.
python3 - "$here" <<'PYTHON'
import struct, sys
here = sys.argv[1]
code = open(f"{here}/m68000-quiet.bin", "rb").read()
body = code + bytes(-len(code) % 4)
words = sum(struct.unpack(f">{len(body) // 2}H", body)) & 0xFFFFFFFF
open(f"{here}/mac-checksum.bin", "wb").write(struct.pack(">I", words) + body + bytes(4))
rom = bytearray(body + bytes(24))
total = 0
for (value,) in struct.iter_unpack(">I", rom):
    total += value
    total = (total & 0xFFFFFFFF) + (total >> 32)
rom[-24:-20] = struct.pack(">I", 0xFFFFFFFF - total)
open(f"{here}/amiga-checksum.bin", "wb").write(bytes(rom))
PYTHON

# Firmware excerpts. SeaBIOS (LGPL-3.0) ends in the reset jump at its top 16 bytes; its
# VGA BIOS is an option ROM whole; iPXE (GPL-2.0) is cut to its first 64 KiB, so its
# header's length no longer holds and most of it is a compressed payload.
tail -c 65536 /usr/share/seabios/bios.bin > "$here/seabios-top.bin"
cp /usr/share/seabios/vgabios-stdvga.bin "$here/vgabios-stdvga.bin"
# The top 16 KiB of OVMF (UEFI for x86-64 virtual machines, BSD-2-Clause-Patent, Debian's
# ovmf), which ends in a near reset jump after two NOPs: 90 90 E9.
tail -c 16384 /usr/share/OVMF/OVMF_CODE_4M.fd > "$here/ovmf-top.bin"
head -c 65536 /usr/lib/ipxe/qemu/pxe-rtl8139.rom > "$here/ipxe-rtl8139-start.bin"
# Tables of 32-bit values: the start of glibc's C.utf8 character-class tables (LGPL-2.1),
# whose first longs read, in one wrong order of four word lanes, like half a 68000 vector
# table.
head -c 32768 /usr/lib/locale/C.utf8/LC_CTYPE > "$here/locale-ctype.bin"

# Real files whose parts once misled identify into a wrong answer: a Pascal source of
# one table repeated line by line (Free Pascal's RTL), the start of a shared library full
# of symbol names (nettle, LGPL-3.0), the start of a DLL with 16-bit strings (Wine's
# msvcrt, LGPL-2.1), and an x86-64 object file (Free Pascal's fmtbcd unit).
head -c 32768 /usr/share/fpcsrc/3.2.2/rtl/charmaps/cp1254.pas > "$here/pascal-table.bin"
pad "$here/pascal-table.bin"
head -c 32768 /usr/lib/x86_64-linux-gnu/libnettle.so.8.6 > "$here/nettle-start.bin"
head -c 65536 /usr/lib/i386-linux-gnu/wine/i386-windows/msvcrt.dll > "$here/msvcrt-start.bin"
head -c 65536 /usr/lib/x86_64-linux-gnu/fpc/3.2.2/units/x86_64-linux/rtl-objpas/fmtbcd.o \
  > "$here/fmtbcd-object.bin"
# The start of PostgreSQL's pg_upgrade (PostgreSQL licence), x86-64 code whose byte-swapped
# twin holds Thumb-2 calls by chance.
head -c 65536 /usr/lib/postgresql/15/bin/pg_upgrade > "$here/pg-upgrade-start.bin"
# Two that once passed for what they are not: bytes 48-64 KiB of MinGW's libgfortran DLL
# (GPL-3.0+ with the GCC runtime exception), whose last bytes hold an x86 near jump, and the
# start of Wine's hh.exe (LGPL-2.1), one of whose wrong layouts holds Thumb-2 calls by chance.
dd if=/usr/lib/gcc/i686-w64-mingw32/12-win32/libgfortran-5.dll of="$here/gfortran-dll-part.bin" \
  bs=1024 skip=48 count=16 2>/dev/null
head -c 65536 /usr/lib/i386-linux-gnu/wine/i386-windows/hh.exe > "$here/hh-start.bin"

python3 "$src/make_data.py" "$here" "$here/../../../README.md"

# Windows of mostly 16-bit text as UEFI programs hold: efitools' HashTool (GPL-2.0), its UTF-16
# strings between 96-byte pieces of its x86-64 code, with a line of text-readme after every
# 8th piece (every 3rd: mixed). In four word lanes, once a wrong answer and a garbled reason.
python3 - "$here" /usr/lib/efitools/x86_64-linux-gnu/HashTool.efi <<'PYTHON'
import re, sys
here, program = sys.argv[1], open(sys.argv[2], "rb").read()
wide = [m.group() for m in re.finditer(rb"(?:[\x20-\x7e\n\t]\x00){6,}\x00\x00", program)]
lines = [m.group() + b"\0" for m in re.finditer(rb"[a-zA-Z][\x20-\x7e]{12,}",
                                                 open(f"{here}/text-readme.bin", "rb").read())]
for name, per, every in (("efi-utf16", 6, 8), ("efi-utf16-mixed", 4, 3)):
    image, s, t, c = bytearray(), 1, 1, 97
    while len(image) < 0x8000:
        image, c = image + program[0x400 + c:0x400 + c + 96], (c + 96) % 0x5C00
        for _ in range(per):
            image, s = image + wide[s % len(wide)], s + 7
        if c // 96 % every == 0:
            image, t = image + lines[t % len(lines)], t + 5
        image += bytes(-len(image) % 2)
    open(f"{here}/{name}.bin", "wb").write(bytes(image[:0x8000]))
PYTHON

# From Debian packages fetched here, each once answered wrongly: ppc64el's C library (LGPL-2.1),
# PowerPC code built little-endian, once decided as its big-endian twin by blr, mflr and mtlr;
# armhf's libstdc++ (GPL-3.0+ with the GCC runtime exception), Thumb-2 code whose push.w and
# pop.w, given --cpu arm, read as ARM's push and pop in a layout exchanging its halfwords; and
# 64 KiB 3 MiB into a smooth 24-bit RGB picture (desktop-base's softwaves GRUB background,
# GPL-2.0+; pngtopnm's header is 17 bytes), whose byte-swapped twin in two word lanes sets one
# channel of neighbouring pixels side by side, and the byte statistics decided that. And 64 KiB
# 1.8 MiB into the compressed files of binutils-arm-linux-gnueabihf 2.40-2 (GPL-3.0+), an xz
# stream in whose two word lanes, swapped, --cpu sh-le found marks of SuperH's structure by
# chance and decided by them.
for package in libc6-ppc64el-cross libstdc++6-armhf-cross desktop-base binutils-arm-linux-gnueabihf; do
  (cd "$work" && apt-get download "$package" >/dev/null 2>&1) && dpkg-deb -x "$work/$package"_*.deb "$work/x"
done
objcopy -I elf64-little -O binary -j .text "$work/x/usr/powerpc64le-linux-gnu/lib/libc.so.6" "$work/ppc"
objcopy -I elf32-little -O binary -j .text "$work/x/usr/arm-linux-gnueabihf/lib/libstdc++.so.6" "$work/t2"
tail -c +$((0x10000 + 1)) "$work/ppc" | head -c 32768 > "$here/ppc64el-libc.bin"
tail -c +$((0x10000 + 1)) "$work/t2" | head -c 32768 > "$here/thumb2-libstdcxx.bin"
ar p "$work"/binutils-arm-linux-gnueabihf_*.deb data.tar.xz | tail -c +$((0x1CEAD0 + 1)) |
  head -c 65536 > "$here/xz-binutils.bin"
pngtopnm "$work/x/usr/share/desktop-base/softwaves-theme/grub/grub-16x9.png" |
  tail -c +$((17 + 0x300000 + 1)) | head -c 65520 > "$here/picture-rgb24.bin"

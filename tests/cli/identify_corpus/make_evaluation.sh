#!/bin/sh
# Images for evaluate.py apart from the corpus, into DIR, named after their code's --cpu: the C
# examples of Debian's -dev packages but zlib's (in the corpus) cross-compiled, 32 KiB of
# those CPUs' C libraries' and dynamic loaders' code, and 64 KiB of U-Boot, 32-bit ARM UEFI,
# iPXE and SeaBIOS option ROMs. Needs the cross gcc and libc6-dev-*-cross of each CPU
# (powerpc, sparc64 and riscv64 among them), u-boot-qemu etc.
set -eu
out=$1 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cut() { python3 -c 'import sys; b=open(sys.argv[1],"rb").read()[int(sys.argv[2],0):][:int(sys.argv[3],0)]
open(sys.argv[4],"wb").write(b[:len(b)//8*8])' "$@"; }
compiled() {   # NAME TRIPLET FLAGS: the code of the examples, one file after another
  for f in $(ls /usr/share/doc/*/examples/*.c | grep -v zlib); do
    $2-gcc $3 -O2 -w -c -idirafter /usr/include -idirafter /usr/include/nettle "$f" -o "$work/o" &&
      $2-objcopy -O binary -j .text "$work/o" "$work/$(basename "$f").text" || true
  done
  cat "$work"/*.text > "$work/all" && cut "$work/all" 0 0x8000 "$out/$1.examples.bin" && rm "$work"/*.text
}
library() {   # NAME TRIPLET LIBC [OFFSET KIND]: 32 KiB from 64 KiB into its code
  $2-objcopy -O binary -j .text "/usr/$2/lib/$3" "$work/lib" && cut "$work/lib" ${4:-0x10000} 0x8000 "$out/$1.${5:-libc}.bin"
}
compiled sh-le sh4-linux-gnu ""; library sh-le sh4-linux-gnu libc.so.6; compiled sh sh4-linux-gnu -mb
compiled alpha alpha-linux-gnu ""; library alpha alpha-linux-gnu libc.so.6.1
compiled 68000 m68k-linux-gnu -m68000; library 68000 m68k-linux-gnu libc.so.6
compiled mips mips-linux-gnu ""; library mips mips-linux-gnu libc.so.6
compiled mips-le mipsel-linux-gnu ""; library mips-le mipsel-linux-gnu libc.so.6
compiled arm arm-linux-gnueabihf -marm; compiled thumb arm-linux-gnueabihf -mthumb
library thumb arm-linux-gnueabihf libc.so.6
for board in arm:qemu_arm aarch64:qemu_arm64 ppc:qemu-ppce500 mips-le:maltael riscv:qemu-riscv64; do
  cut /usr/lib/u-boot/${board#*:}/u-boot.bin 0 0x10000 "$out/${board%%:*}.u-boot.bin"
done
cut /usr/lib/u-boot/qemu-x86/u-boot.rom -0x10000 0x10000 "$out/x86.u-boot-top.bin"
cut /usr/share/AAVMF/AAVMF32_CODE.fd 0x1000 0x10000 "$out/arm.aavmf.bin"
cut /usr/lib/ipxe/qemu/pxe-e1000.rom 0 0x10000 "$out/x86.ipxe-e1000.bin"
compiled arm-be arm-linux-gnueabihf "-marm -mbig-endian"; compiled thumb-be arm-linux-gnueabihf "-mthumb -mbig-endian"
library ppc powerpc-linux-gnu libc.so.6; library sparc sparc64-linux-gnu libc.so.6
library riscv riscv64-linux-gnu libc.so.6
for loader in 68000:m68k-linux-gnu:ld.so.1 mips:mips-linux-gnu:ld.so.1 mips-le:mipsel-linux-gnu:ld.so.1 \
    alpha:alpha-linux-gnu:ld-linux.so.2 sh-le:sh4-linux-gnu:ld-linux.so.2 \
    aarch64:aarch64-linux-gnu:ld-linux-aarch64.so.1 thumb:arm-linux-gnueabihf:ld-linux-armhf.so.3 \
    ppc:powerpc-linux-gnu:ld.so.1 riscv:riscv64-linux-gnu:ld-linux-riscv64-lp64d.so.1; do
  IFS=: read -r name triplet file <<END
$loader
END
  library "$name" "$triplet" "$file" 0x2000 ldso
done
objcopy -O binary -j .text /usr/lib/x86_64-linux-gnu/libc.so.6 "$work/lib" && cut "$work/lib" 0x10000 0x8000 "$out/x86.libc.bin"
for board in arm:qemu_arm aarch64:qemu_arm64 ppc:qemu-ppce500; do
  cut /usr/lib/u-boot/${board#*:}/u-boot.bin 0x10000 0x10000 "$out/${board%%:*}.u-boot-middle.bin"
done
cut /usr/lib/u-boot/malta64el/u-boot.bin 0 0x10000 "$out/mips-le.u-boot-malta64.bin"
cut /usr/lib/u-boot/qemu-riscv64_smode/u-boot.bin 0x8000 0x10000 "$out/riscv.u-boot-smode.bin"
cut /usr/lib/u-boot/qemu-x86_64/u-boot.rom -0x10000 0x10000 "$out/x86.u-boot64-top.bin"
cut /usr/share/seabios/vgabios-cirrus.bin 0 0x10000 "$out/x86.vgabios-cirrus.bin"

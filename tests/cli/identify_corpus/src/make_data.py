"""Data without code for the identify corpus: sound, tile graphics, tables of 16-bit words,
text, and noise; all from fixed seeds, so the files repeat."""
import math
import random
import struct
import sys

out = sys.argv[1]
readme = sys.argv[2]


def write(name, data):
    data = bytes(data)
    data += bytes(-len(data) % 8)
    with open(f"{out}/{name}", "wb") as f:
        f.write(data)


# Plucked strings (Karplus-Strong), 16-bit signed little-endian, 22050 Hz, and the same
# as 8-bit unsigned samples.
rng = random.Random(12)
samples = []
for note in (220.0, 277.2, 329.6, 440.0, 329.6, 277.2, 246.9, 196.0):
    period = int(22050 / note)
    line = [rng.uniform(-1, 1) for _ in range(period)]
    for i in range(2048):
        k = i % period
        line[k] = 0.996 * 0.5 * (line[k] + line[(k + 1) % period])
        samples.append(line[k] * (0.3 + 0.7 * math.exp(-i / 900)))
write("sound-pcm16le.bin", b"".join(struct.pack("<h", int(s * 20000)) for s in samples))
write("sound-pcm8.bin", bytes(int(128 + s * 100) & 0xFF for s in samples[:16384]))

# Tile graphics: 8x8 tiles, 4 bit planes of 8 bytes each (32 bytes a tile), drawn from
# circles, stripes, bricks and gradients.
tiles = bytearray()
for t in range(1024):
    kind = t % 4
    pixels = []
    for y in range(8):
        for x in range(8):
            if kind == 0:
                c = 15 if (x - 3.5) ** 2 + (y - 3.5) ** 2 < (t % 5 + 2) ** 2 else 1
            elif kind == 1:
                c = (x + y + t) // 2 % 4 + 4
            elif kind == 2:
                c = 8 if y % 4 == 0 or (x + (y // 4) * 4) % 8 == 0 else 9
            else:
                c = (y * 2 + t % 3) % 16
            pixels.append(c)
    for plane in range(4):
        for y in range(8):
            row = 0
            for x in range(8):
                row = row << 1 | (pixels[y * 8 + x] >> plane & 1)
            tiles.append(row)
write("tiles-4bpp.bin", tiles)

# Tables of 16-bit words: a sine table, big-endian, and a little-endian table of
# 1000 * log2(1 + n / 64).
write("table-sine16be.bin", b"".join(struct.pack(">h", int(32767 * math.sin(2 * math.pi * i / 8192))) for i in range(8192)))
write("table-log16le.bin", b"".join(struct.pack("<H", int(1000 * math.log2(1 + i / 64)) & 0xFFFF) for i in range(8192)))

# Much text: this project's README.
with open(readme, "rb") as f:
    write("text-readme.bin", f.read()[:32768])

# Noise.
write("random.bin", random.Random(7).randbytes(32768))

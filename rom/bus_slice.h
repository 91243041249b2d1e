// Which data lines of the bus a part drives: a part of units of b bits is one b-bit slice of
// a bus of parts * b bits. On a big-endian bus the lowest address drives the top slice, on a
// little-endian one the bottom slice. Chip line Dn drives the slice's lowest line plus n.
#pragma once

struct BusSlice {
    int bits;              // the part's data lines
    int bigEndianLow;      // the slice's lowest bus line on either bus
    int littleEndianLow;
};

inline BusSlice busSlice(int parts, int width, int k)
{
    int bits = 8 * width;
    return {bits, (parts - 1 - k) * bits, k * bits};
}

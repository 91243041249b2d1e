// Which units of the image a part holds and which data lines it drives on either bus.
#include "socket_line.h"

#include "bus_slice.h"

#include <cstdio>

static std::string dataLines(int high, int low)
{
    char lines[24];
    std::snprintf(lines, sizeof lines, "D%d-D%d", high, low);
    return lines;
}

std::string socketLine(const PartShape& shape, int k)
{
    int parts = shape.parts;
    std::string units = shape.width == 2 ? "words " : "offsets ";
    for (int i = 0; i < 3; ++i)
        units += std::to_string(k + i * parts) + ", ";
    std::string line = "  part " + std::to_string(k + 1) + " of " + std::to_string(parts) +
                       ": " + units + "...";
    if (shape.swap)
        line += ", bytes swapped in each word";
    if (shape.fillTo && shape.mirror)
        line += ", mirrored to " + std::to_string(shape.fillTo) + " bytes";
    else if (shape.fillTo) {
        char fill[8];
        std::snprintf(fill, sizeof fill, "0x%02X", shape.fill);
        line += ", filled with " + std::string(fill) + " to " + std::to_string(shape.fillTo) +
                " bytes";
    }
    BusSlice slice = busSlice(parts, shape.width, k);
    return line + "; " + dataLines(slice.bigEndianLow + slice.bits - 1, slice.bigEndianLow) +
           " on a big-endian bus, " +
           dataLines(slice.littleEndianLow + slice.bits - 1, slice.littleEndianLow) +
           " on a little-endian bus";
}

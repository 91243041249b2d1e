// Which units of the image a part holds and which data lines it drives on either bus.
#include "socket_line.h"

#include <cstdio>

static std::string dataLines(int high, int low)
{
    char lines[24];
    std::snprintf(lines, sizeof lines, "D%d-D%d", high, low);
    return lines;
}

// A part of units of b bits is one b-bit slice of a bus of parts * b bits: on a big-endian
// bus the lowest address drives the top slice, on a little-endian one the bottom slice.
std::string socketLine(const PartShape& shape, int k)
{
    int parts = shape.parts;
    int bits = 8 * shape.width;
    int bus = parts * bits;
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
    int top = bus - 1 - k * bits;
    return line + "; " + dataLines(top, top - bits + 1) + " on a big-endian bus, " +
           dataLines(k * bits + bits - 1, k * bits) + " on a little-endian bus";
}

// What -v prints for each file written: its checksums and, for a part, its socket.
#include "report.h"

#include "bus_slice.h"
#include "checksums.h"

#include <cstdio>

std::string fileLine(const Output& output)
{
    const unsigned char* bytes = output.bytes.data();
    std::size_t count = output.bytes.size();
    return output.path + ": " + std::to_string(count) + " bytes, crc32 " +
           crc32Hex(bytes, count) + ", sha1 " + sha1Hex(bytes, count);
}

static std::string dataLines(int high, int low)
{
    char lines[24];
    std::snprintf(lines, sizeof lines, "D%d-D%d", high, low);
    return lines;
}

std::string partLine(const Request& request, int k)
{
    int parts = int(request.parts.size());
    std::string units = request.width == 2 ? "words " : "offsets ";
    for (int i = 0; i < 3; ++i)
        units += std::to_string(k + i * parts) + ", ";
    std::string line = "  part " + std::to_string(k + 1) + " of " + std::to_string(parts) +
                       ": " + units + "...";
    if (request.swap)
        line += ", bytes swapped in each word";
    if (request.fillTo && request.mirror)
        line += ", mirrored to " + std::to_string(*request.fillTo) + " bytes";
    else if (request.fillTo) {
        char fill[8];
        std::snprintf(fill, sizeof fill, "0x%02X", request.fill.value_or(kDefaultFill));
        line += ", filled with " + std::string(fill) + " to " + std::to_string(*request.fillTo) +
                " bytes";
    }
    BusSlice slice = busSlice(parts, request.width, k);
    return line + "; " + dataLines(slice.bigEndianLow + slice.bits - 1, slice.bigEndianLow) +
           " on a big-endian bus, " +
           dataLines(slice.littleEndianLow + slice.bits - 1, slice.littleEndianLow) +
           " on a little-endian bus";
}

// What -v prints for each file written: its checksums and, for a part, its socket.
#include "report.h"

#include "checksums.h"
#include "socket_line.h"

std::string fileLine(const Output& output)
{
    const unsigned char* bytes = output.bytes.data();
    std::size_t count = output.bytes.size();
    return output.path + ": " + std::to_string(count) + " bytes, crc32 " +
           crc32Hex(bytes, count) + ", sha1 " + sha1Hex(bytes, count);
}

PartShape partShape(const Request& request)
{
    PartShape shape{int(request.parts.size()), request.width, request.swap};
    if (request.fillTo) {
        shape.fillTo = *request.fillTo;
        shape.fill = request.fill.value_or(kDefaultFill);
        shape.mirror = request.mirror;
    }
    return shape;
}

std::string partLine(const Request& request, int k)
{
    return socketLine(partShape(request), k);
}

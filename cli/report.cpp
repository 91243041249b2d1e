// What -v prints for each file written: its checksums and, for a part, its socket.
#include "report.h"

#include "checksums.h"
#include "request_shape.h"
#include "socket_line.h"

std::string fileLine(const Output& output)
{
    const unsigned char* bytes = output.bytes.data();
    std::size_t count = output.bytes.size();
    return output.path + ": " + std::to_string(count) + " bytes, " + checksumsText(bytes, count);
}

std::string partLine(const Request& request, int k)
{
    return socketLine(partShape(request), k);
}

// verify's report of one dump in words: the command prints these lines as they are.
#include "verify_text.h"

#include "socket_line.h"

#include <cstdio>

namespace {

// Offsets stay below the 64 MiB limit of a file.
std::string hex(std::size_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", unsigned(value));
    return text;
}

std::string byteLine(const DifferingByte& byte)
{
    char values[32];
    std::snprintf(values, sizeof values, ": read 0x%02X, expected 0x%02X", byte.read, byte.expected);
    return "  offset " + hex(byte.dumpOffset) + ", " +
           (byte.imageOffset ? "image " + hex(*byte.imageOffset) : std::string("not in the image")) + values;
}

}  // namespace

std::vector<std::string> verifyLines(const DumpReport& report, const std::string& name,
                                     const PartShape& shape, bool verbose)
{
    std::string part = "part " + std::to_string(report.part + 1);
    std::vector<std::string> lines;
    if (report.matches)
        lines.push_back(name + ": matches " + part);
    else
        lines.push_back(name + ": differs from " + part + " in " + std::to_string(report.differing) + " of " +
                        std::to_string(report.total) + " bytes");
    if (verbose)
        lines.push_back(socketLine(shape, report.part));
    for (const DifferingByte& byte : report.first)
        lines.push_back(byteLine(byte));
    for (const Finding& finding : report.findings)
        lines.push_back("  " + finding.text);
    return lines;
}

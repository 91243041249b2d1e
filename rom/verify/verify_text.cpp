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

std::string byteLine(const DifferingByte& byte, std::size_t imageBase)
{
    char values[32];
    std::snprintf(values, sizeof values, ": read 0x%02X, expected 0x%02X", byte.read, byte.expected);
    return "  offset " + hex(byte.dumpOffset) + ", " +
           (byte.imageOffset ? "image " + hex(imageBase + *byte.imageOffset) : std::string("not in the image")) + values;
}

}  // namespace

std::vector<std::string> verifyLines(const DumpReport& report, const std::string& name,
                                     const PartShape& shape, bool verbose)
{
    std::vector<std::string> lines = verifyLines(report, name, "part " + std::to_string(report.part + 1), 0);
    if (verbose)
        lines.insert(lines.begin() + 1, socketLine(shape, report.part));
    return lines;
}

std::vector<std::string> verifyLines(const DumpReport& report, const std::string& name, const std::string& socket,
                                     std::size_t imageBase)
{
    std::vector<std::string> lines;
    if (report.matches)
        lines.push_back(name + ": matches " + socket);
    else
        lines.push_back(name + ": differs from " + socket + " in " + std::to_string(report.differing) + " of " +
                        std::to_string(report.total) + " bytes");
    for (const DifferingByte& byte : report.first)
        lines.push_back(byteLine(byte, imageBase));
    for (const Finding& finding : report.findings)
        lines.push_back("  " + finding.text);
    return lines;
}

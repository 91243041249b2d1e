// kestrum-cli verify: reads the image and every dump, then prints each dump's report.
#include "verify_command.h"

#include "dump_findings.h"
#include "request_shape.h"
#include "reasons.h"
#include "report.h"
#include "rom_files.h"

#include <cstdio>

namespace {

// Offsets stay below the 64 MiB limit of a file.
std::string hex(std::size_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", unsigned(value));
    return text;
}

void printReport(const DumpReport& report, const Request& request, std::size_t k, std::ostream& out)
{
    const std::string& path = request.parts[k];
    std::string part = "part " + std::to_string(report.part + 1);
    if (report.matches)
        out << path << ": matches " << part << '\n';
    else
        out << path << ": differs from " << part << " in " << report.differing << " of " << report.total << " bytes\n";
    if (request.verbose)
        out << partLine(request, int(k)) << '\n';
    for (const DifferingByte& byte : report.first) {
        out << "  offset " << hex(byte.dumpOffset) << ", "
            << (byte.imageOffset ? "image " + hex(*byte.imageOffset) : std::string("not in the image"));
        char values[32];
        std::snprintf(values, sizeof values, ": read 0x%02X, expected 0x%02X", byte.read, byte.expected);
        out << values << '\n';
    }
    for (const Finding& finding : report.findings)
        out << "  " << finding.text << '\n';
}

}  // namespace

int verifyFiles(const Request& request, std::ostream& out)
{
    Bytes image = readWholeFile(request.image, kImageLimit, "");
    std::vector<Bytes> dumps;
    for (const std::string& path : request.parts)
        dumps.push_back(readWholeFile(path, kImageLimit, ""));
    std::string refusal;
    std::vector<DumpReport> reports = verifyDumps(image, partShape(request), dumps, refusal);
    if (!refusal.empty())
        refuseRead(request.image, refusal);
    int status = 0;
    for (std::size_t k = 0; k < reports.size(); ++k) {
        printReport(reports[k], request, k, out);
        if (!reports[k].matches)
            status = kDiffers;
    }
    return status;
}

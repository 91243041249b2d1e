// kestrum-cli verify: reads the image and every dump, then prints each dump's report.
#include "verify_command.h"

#include "dump_findings.h"
#include "file_commands.h"
#include "request_shape.h"
#include "reasons.h"
#include "rom_files.h"
#include "verify_text.h"

int verifyFiles(const Request& request, std::ostream& out)
{
    std::vector<std::string> notes;
    Bytes image = readImageOf(request, request.image, notes);
    std::vector<Bytes> dumps;
    for (const std::string& path : request.parts)
        dumps.push_back(readPossiblyEmpty(path, kImageLimit));
    std::string refusal;
    PartShape shape = partShape(request);
    std::vector<DumpReport> reports = verifyDumps(image, shape, dumps, refusal);
    if (!refusal.empty())
        refuseRead(request.image, refusal);
    int status = 0;
    for (const std::string& note : request.verbose ? notes : std::vector<std::string>{})
        out << note << '\n';
    for (std::size_t k = 0; k < reports.size(); ++k) {
        for (const std::string& line : verifyLines(reports[k], request.parts[k], shape, request.verbose))
            out << line << '\n';
        if (!reports[k].matches)
            status = kDiffers;
    }
    return status;
}

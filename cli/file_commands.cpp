// The command-line program's split, merge and swap, over files of up to 64 MiB, with the
// engine's lane transforms on buffers of their own.
#include "file_commands.h"

#include "lanes.h"
#include "part_images.h"
#include "reasons.h"
#include "report.h"
#include "request_shape.h"
#include "rom_files.h"

void splitFiles(const Request& request, std::ostream& out)
{
    Bytes image = readWholeFile(request.image, kImageLimit, "");
    std::string refusal;
    std::vector<Bytes> parts = splitImage(image, partShape(request), refusal);
    if (!refusal.empty())
        refuseWrite(request.parts[0], refusal);   // every part has the same size
    std::vector<Output> outputs;
    for (std::size_t k = 0; k < parts.size(); ++k)
        outputs.push_back({request.parts[k], std::move(parts[k])});
    writeOutputs(outputs);
    if (!request.verbose)
        return;
    for (std::size_t k = 0; k < outputs.size(); ++k)
        out << fileLine(outputs[k]) << '\n' << partLine(request, int(k)) << '\n';
}

void mergeFiles(const Request& request, std::ostream& out, std::ostream& err)
{
    std::vector<Bytes> parts = readParts(request.parts, request.width, err);
    Output image{request.image, mergeParts(parts, request.width, request.swap)};
    writeOutputs({image});
    if (request.verbose)
        out << fileLine(image) << '\n';
}

void swapFile(const Request& request, std::ostream& out)
{
    Output swapped{request.out, readWholeFile(request.in, kImageLimit, "")};
    checkWholeWords(request.in, swapped.bytes.size());
    swapBytePairs(swapped.bytes.data(), swapped.bytes.size());
    writeOutputs({swapped});
    if (request.verbose)
        out << fileLine(swapped) << '\n';
}

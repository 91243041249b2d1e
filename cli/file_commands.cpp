// The command-line program's split, merge and swap, over files of up to 64 MiB, with the
// engine's lane transforms on buffers of their own.
#include "file_commands.h"

#include "lanes.h"
#include "reasons.h"
#include "report.h"
#include "rom_files.h"

// A part grows to the chip's size, filled with the fill byte or repeated whole.
static void extendPart(Bytes& part, const Request& request, const std::string& path)
{
    std::size_t size = *request.fillTo;
    if (part.size() > size)
        refuseWrite(path, "the part's " + std::to_string(part.size()) +
                              " bytes do not fit --fill-to " + std::to_string(size));
    if (!request.mirror) {
        part.resize(size, request.fill.value_or(kDefaultFill));
        return;
    }
    if (size % part.size() != 0)
        refuseWrite(path, "--mirror needs --fill-to to be a whole multiple of the part's " +
                              std::to_string(part.size()) + " bytes");
    Bytes copy = part;
    while (part.size() < size)
        part.insert(part.end(), copy.begin(), copy.end());
}

void splitFiles(const Request& request, std::ostream& out)
{
    LaneLayout layout{int(request.parts.size()), request.width};
    Bytes image = readWholeFile(request.image, kImageLimit, "");
    std::size_t laneSize = laneSizeFor(image.size(), layout);
    image.resize(laneSize * std::size_t(layout.parts));   // zeros up to whole groups

    std::vector<Output> outputs;
    std::vector<unsigned char*> lanes;
    for (const std::string& path : request.parts) {
        outputs.push_back({path, Bytes(laneSize)});
        lanes.push_back(outputs.back().bytes.data());
    }
    spreadImage(image.data(), lanes.data(), laneSize, layout);
    for (Output& output : outputs) {
        if (request.swap)
            swapBytePairs(output.bytes.data(), output.bytes.size());
        if (request.fillTo)
            extendPart(output.bytes, request, output.path);
    }
    writeOutputs(outputs);
    if (!request.verbose)
        return;
    for (int k = 0; k < layout.parts; ++k)
        out << fileLine(outputs[std::size_t(k)]) << '\n' << partLine(request, k) << '\n';
}

void mergeFiles(const Request& request, std::ostream& out, std::ostream& err)
{
    LaneLayout layout{int(request.parts.size()), request.width};
    std::vector<Bytes> parts = readParts(request.parts, layout.width, err);
    std::size_t laneSize = parts[0].size();

    std::vector<const unsigned char*> lanes;
    for (Bytes& part : parts) {
        if (request.swap)
            swapBytePairs(part.data(), part.size());
        lanes.push_back(part.data());
    }
    Output image{request.image, Bytes(laneSize * std::size_t(layout.parts))};
    gatherImage(image.bytes.data(), lanes.data(), laneSize, layout);
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

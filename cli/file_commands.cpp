// The command-line program's split, merge and swap, over files of up to 64 MiB, with the
// engine's lane transforms on buffers of their own.
#include "file_commands.h"

#include "lanes.h"
#include "part_images.h"
#include "reasons.h"
#include "record_writers.h"
#include "report.h"
#include "request_shape.h"
#include "rom_files.h"

static RecordsIn recordsIn(const Request& request)
{
    return {request.binary, request.base, request.fill.value_or(kDefaultFill)};
}

// --base, and --fill without --fill-to, say how records are read; with inputs of raw bytes
// alone they would be ignored in silence.
static void checkRecordOptions(const Request& request, bool records)
{
    if (records)
        return;
    if (request.base)
        throw UsageError("--base is for inputs of Intel HEX or S-records");
    if (request.fill && !request.fillTo)
        throw UsageError("--fill needs --fill-to");
}

// The image as split, verify and swap read it; -v's line for records goes to `notes`.
Bytes readImageOf(const Request& request, const std::string& path, std::vector<std::string>& notes)
{
    std::string note;
    Bytes image = readImage(path, recordsIn(request), kImageLimit, note);
    checkRecordOptions(request, !note.empty());
    if (!note.empty())
        notes.push_back(path + ": " + note);
    return image;
}

static Bytes written(const Bytes& part, PartFormat format)
{
    switch (format) {
    case PartFormat::IntelHex: return hexRecords(part);
    case PartFormat::SRecord:  return srecRecords(part);
    case PartFormat::Raw:      break;
    }
    return part;
}

void splitFiles(const Request& request, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> notes;
    Bytes image = readImageOf(request, request.image, notes);
    imageChecksumNotes(request.image, image, request.verbose, notes, err);
    std::string refusal;
    std::vector<Bytes> parts = splitImage(image, partShape(request), refusal);
    if (!refusal.empty())
        refuseWrite(request.parts[0], refusal);   // every part has the same size
    std::vector<Output> outputs;
    for (std::size_t k = 0; k < parts.size(); ++k)
        outputs.push_back({request.parts[k], written(parts[k], request.format)});
    writeOutputs(outputs);
    if (!request.verbose)
        return;
    for (const std::string& note : notes)
        out << note << '\n';
    for (std::size_t k = 0; k < outputs.size(); ++k)
        out << fileLine(request.parts[k], parts[k], request.format) << '\n'
            << partLine(request, int(k)) << '\n';
}

void mergeFiles(const Request& request, std::ostream& out, std::ostream& err)
{
    int records = 0;
    std::vector<Bytes> parts = readParts(request.parts, request.width, recordsIn(request), err, records);
    checkRecordOptions(request, records > 0);
    Output image{request.image, mergeParts(parts, request.width, request.swap)};
    std::vector<std::string> notes;
    imageChecksumNotes(request.image, image.bytes, request.verbose, notes, err);
    writeOutputs({image});
    if (!request.verbose)
        return;
    out << fileLine(image.path, image.bytes, PartFormat::Raw) << '\n';
    for (const std::string& note : notes)
        out << note << '\n';
}

void swapFile(const Request& request, std::ostream& out)
{
    std::vector<std::string> notes;
    Output swapped{request.out, readImageOf(request, request.in, notes)};
    checkWholeWords(request.in, swapped.bytes.size());
    swapBytePairs(swapped.bytes.data(), swapped.bytes.size());
    writeOutputs({swapped});
    if (!request.verbose)
        return;
    for (const std::string& note : notes)
        out << note << '\n';
    out << fileLine(swapped.path, swapped.bytes, PartFormat::Raw) << '\n';
}

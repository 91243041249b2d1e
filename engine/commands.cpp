// The split and merge commands, the path buffer they fetch into, and the outcome each ends in.
#include "commands.h"

#include "file_access.h"
#include "work_area.h"

#include <cstdint>

// The one place a path is held outside the fields: each step fetches into it just
// before use, and an error names its file by showing it as the caption.
static char path[kPathBufferSize];

static constexpr int kPartFields[] = {IDC_PART1_PATH, IDC_PART2_PATH, IDC_PART3_PATH,
                                      IDC_PART4_PATH};

char* pathBuffer()
{
    return path;
}

static int partCount(unsigned char fourParts)
{
    return fourParts ? 4 : 2;
}

// A path that did not fit in the buffer fails its step: the cut name could be another
// file, which must be neither read nor overwritten.
Outcome runSplit(FetchPath fetchPath)
{
    clearWorkArea();
    if (!fetchPath(IDC_IMAGE_PATH))
        return Outcome::ReadError;
    FileSize image = queryFileSize(path);
    if (!image.found || image.size == 0 || image.size > kImageRegionSize)
        return Outcome::ReadError;
    unsigned char fourParts = fourPartFlag();
    std::uint32_t imageSize = std::uint32_t(image.size);
    std::uint32_t partSize = partSizeForImage(imageSize, fourParts);
    if (readFileRange(path, imageRegion(), 0, imageSize) != 0)
        return Outcome::ReadError;
    splitImage(partSize, fourParts);
    for (int k = 0; k < partCount(fourParts); ++k) {
        if (!fetchPath(kPartFields[k]) || writeWholeFile(path, lane(k), partSize) != 0)
            return Outcome::WriteError;
    }
    return Outcome::Complete;
}

// Part 1 alone sets the part size; the other parts are read for exactly that many
// bytes, so a shorter one fails and a longer one gives only its start.
Outcome runMerge(FetchPath fetchPath)
{
    clearWorkArea();
    if (!fetchPath(IDC_PART1_PATH))
        return Outcome::ReadError;
    unsigned char fourParts = fourPartFlag();
    FileSize part1 = queryFileSize(path);
    if (!part1.found || part1.size == 0 || part1.size > laneExtent(fourParts))
        return Outcome::ReadError;
    std::uint32_t partSize = std::uint32_t(part1.size);
    for (int k = 0; k < partCount(fourParts); ++k) {
        if (k > 0 && !fetchPath(kPartFields[k]))
            return Outcome::ReadError;
        if (readFileRange(path, lane(k), 0, partSize) != 0)
            return Outcome::ReadError;
    }
    mergeParts(partSize, fourParts);
    std::uint32_t imageSize = partSize * std::uint32_t(partCount(fourParts));
    if (!fetchPath(IDC_IMAGE_PATH) || writeWholeFile(path, imageRegion(), imageSize) != 0)
        return Outcome::WriteError;
    return Outcome::Complete;
}

const char* outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Complete:   return "Operation complete!";
    case Outcome::ReadError:  return "Error reading file!";
    case Outcome::WriteError: return "Error writing file!";
    }
    return "";
}

// An error is captioned with the path of the step that failed, still in the buffer.
const char* outcomeCaption(Outcome outcome)
{
    return outcome == Outcome::Complete ? "Kestrum" : path;
}

unsigned outcomeBoxStyle(Outcome outcome)
{
    return outcome == Outcome::Complete ? kBoxPlain : kBoxError;
}

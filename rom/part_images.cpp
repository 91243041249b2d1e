// Splitting and merging in memory with the engine's lane transforms.
#include "part_images.h"

#include "lanes.h"
#include "large_buffer.h"

#include <algorithm>

// A part grows to the chip's size, filled with the fill byte or repeated whole.
static std::string extendPart(Bytes& part, const PartShape& shape)
{
    std::size_t size = shape.fillTo;
    if (part.size() > size)
        return "the part's " + std::to_string(part.size()) + " bytes do not fit --fill-to " +
               std::to_string(size);
    if (!shape.mirror) {
        part.resize(size, shape.fill);
        return "";
    }
    if (size % part.size() != 0)
        return "--mirror needs --fill-to to be a whole multiple of the part's " +
               std::to_string(part.size()) + " bytes";
    std::size_t length = part.size();
    part.resize(size);
    for (std::size_t at = length; at < size; at += length)
        std::copy(part.begin(), part.begin() + std::ptrdiff_t(length), part.begin() + std::ptrdiff_t(at));
    return "";
}

std::vector<Bytes> splitImage(const Bytes& image, const PartShape& shape, std::string& refusal)
{
    return splitRange(image.data(), image.size(), shape, refusal);
}

// A lane of its own is the image padded to whole units; the engine's transforms deal over
// two or four.
static std::vector<Bytes> dealLanes(const unsigned char* image, std::size_t count, LaneLayout layout)
{
    std::size_t laneSize = laneSizeFor(count, layout);
    if (layout.parts == 1) {
        Bytes lane = largeBuffer(laneSize);
        std::copy(image, image + count, lane.begin());
        return {std::move(lane)};
    }
    // Only an image that ends within a group is copied, to pad it with zeros: a copy of 64 MiB
    // costs as much again as the split.
    const unsigned char* whole = image;
    Bytes padded;
    if (count != laneSize * std::size_t(layout.parts)) {
        padded = largeBuffer(laneSize * std::size_t(layout.parts));
        std::copy(image, image + count, padded.begin());
        whole = padded.data();
    }
    std::vector<Bytes> parts;
    std::vector<unsigned char*> lanes;
    for (int k = 0; k < layout.parts; ++k)
        lanes.push_back(parts.emplace_back(largeBuffer(laneSize)).data());
    spreadImage(whole, lanes.data(), laneSize, layout);
    return parts;
}

std::vector<Bytes> splitRange(const unsigned char* image, std::size_t count, const PartShape& shape,
                              std::string& refusal)
{
    std::vector<Bytes> parts = dealLanes(image, count, LaneLayout{shape.parts, shape.width});
    for (Bytes& part : parts) {
        if (shape.swap)
            swapBytePairs(part.data(), part.size());
        if (shape.fillTo) {
            refusal = extendPart(part, shape);
            if (!refusal.empty())
                return {};
        }
    }
    return parts;
}

Bytes mergeParts(std::vector<Bytes>& parts, int width, bool swap)
{
    LaneLayout layout{int(parts.size()), width};
    std::size_t laneSize = parts[0].size();
    std::vector<const unsigned char*> lanes;
    for (Bytes& part : parts) {
        if (swap)
            swapBytePairs(part.data(), part.size());
        lanes.push_back(part.data());
    }
    if (layout.parts == 1)
        return parts[0];
    Bytes image(laneSize * std::size_t(layout.parts));
    gatherImage(image.data(), lanes.data(), laneSize, layout);
    return image;
}

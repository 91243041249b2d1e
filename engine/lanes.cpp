// The lane transforms for a layout chosen at run time, over the caller's own buffers.
#include "lanes.h"

// Rounds the image up to whole groups of one unit per part, as the zeros that pad it will.
std::size_t laneSizeFor(std::size_t imageSize, LaneLayout layout)
{
    std::size_t group = std::size_t(layout.parts) * std::size_t(layout.width);
    return (imageSize + group - 1) / group * std::size_t(layout.width);
}

template <std::size_t Width>
static void spreadUnits(const unsigned char* image, unsigned char* const lanes[],
                        std::size_t units, int parts)
{
    if (parts == 4)
        spreadLanes<Width>(image, units, lanes[0], lanes[1], lanes[2], lanes[3]);
    else
        spreadLanes<Width>(image, units, lanes[0], lanes[1]);
}

template <std::size_t Width>
static void gatherUnits(unsigned char* image, const unsigned char* const lanes[],
                        std::size_t units, int parts)
{
    if (parts == 4)
        gatherLanes<Width>(image, units, lanes[0], lanes[1], lanes[2], lanes[3]);
    else
        gatherLanes<Width>(image, units, lanes[0], lanes[1]);
}

void spreadImage(const unsigned char* image, unsigned char* const lanes[], std::size_t laneSize,
                 LaneLayout layout)
{
    if (layout.width == 2)
        spreadUnits<2>(image, lanes, laneSize / 2, layout.parts);
    else
        spreadUnits<1>(image, lanes, laneSize, layout.parts);
}

void gatherImage(unsigned char* image, const unsigned char* const lanes[], std::size_t laneSize,
                 LaneLayout layout)
{
    if (layout.width == 2)
        gatherUnits<2>(image, lanes, laneSize / 2, layout.parts);
    else
        gatherUnits<1>(image, lanes, laneSize, layout.parts);
}

// Exchanges the two bytes of every 16-bit word; an odd last byte stays where it is.
void swapBytePairs(unsigned char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        unsigned char first = bytes[i];
        bytes[i] = bytes[i + 1];
        bytes[i + 1] = first;
    }
}

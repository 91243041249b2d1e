// The 2 MiB work area: the image region, the part lanes, and the transforms between them.
#include "work_area.h"

#include "lanes.h"

#include <cstring>

// The first megabyte holds the image; the second holds the lanes. With two parts the
// lanes are its two halves; four parts cut each half in two, so lanes 0 and 1 keep
// their start whichever the mode.
static unsigned char workArea[kWorkAreaSize];
static constexpr std::uint32_t kLaneBase = 0x100000;
static constexpr std::uint32_t kHalfLaneExtent = 0x80000;
static constexpr std::uint32_t kQuarterLaneExtent = 0x40000;

// 0 = two parts, 1 = four parts; only the dialog's check box changes it.
static unsigned char fourPartMode;

void clearWorkArea()
{
    std::memset(workArea, 0, sizeof workArea);
}

// Halves with rounding up, once for two parts and twice for four, so a part ends in
// the zeros that pad the image up to a multiple of the part count.
std::uint32_t partSizeForImage(std::uint32_t imageSize, unsigned char fourParts)
{
    std::uint32_t half = (imageSize >> 1) + (imageSize & 1);
    if (!fourParts)
        return half;
    return (half >> 1) + (half & 1);
}

std::uint32_t laneExtent(unsigned char fourParts)
{
    return fourParts ? kQuarterLaneExtent : kHalfLaneExtent;
}

unsigned char* imageRegion()
{
    return workArea;
}

unsigned char* lane(int k)
{
    return workArea + kLaneBase + (k & 1) * kHalfLaneExtent + (k >> 1) * kQuarterLaneExtent;
}

void splitImage(std::uint32_t partSize, unsigned char fourParts)
{
    if (fourParts)
        spreadLanes<1>(imageRegion(), partSize, lane(0), lane(1), lane(2), lane(3));
    else
        spreadLanes<1>(imageRegion(), partSize, lane(0), lane(1));
}

void mergeParts(std::uint32_t partSize, unsigned char fourParts)
{
    if (fourParts)
        gatherLanes<1>(imageRegion(), partSize, lane(0), lane(1), lane(2), lane(3));
    else
        gatherLanes<1>(imageRegion(), partSize, lane(0), lane(1));
}

unsigned char fourPartFlag()
{
    return fourPartMode;
}

void setFourPartFlag(unsigned char fourParts)
{
    fourPartMode = fourParts;
}

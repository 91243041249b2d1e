// The 2 MiB work area: the image region, the part lanes, and the transforms between them.
#include "work_area.h"

#include <cstddef>
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

// The loops run over restrict-qualified pointers with a pointer-wide index, so the
// compiler can prove the strided addresses never wrap or overlap and turn the byte
// shuffles into vector code; the bytes moved are the same.
static void spreadTwo(const unsigned char* __restrict image, unsigned char* __restrict even,
                      unsigned char* __restrict odd, std::uint32_t partSize)
{
    for (std::size_t i = 0; i < partSize; ++i) {
        even[i] = image[2 * i];
        odd[i] = image[2 * i + 1];
    }
}

static void spreadFour(const unsigned char* __restrict image, unsigned char* __restrict lane0,
                       unsigned char* __restrict lane1, unsigned char* __restrict lane2,
                       unsigned char* __restrict lane3, std::uint32_t partSize)
{
    for (std::size_t i = 0; i < partSize; ++i) {
        lane0[i] = image[4 * i];
        lane1[i] = image[4 * i + 1];
        lane2[i] = image[4 * i + 2];
        lane3[i] = image[4 * i + 3];
    }
}

static void gatherTwo(unsigned char* __restrict image, const unsigned char* __restrict even,
                      const unsigned char* __restrict odd, std::uint32_t partSize)
{
    for (std::size_t i = 0; i < partSize; ++i) {
        image[2 * i] = even[i];
        image[2 * i + 1] = odd[i];
    }
}

static void gatherFour(unsigned char* __restrict image, const unsigned char* __restrict lane0,
                       const unsigned char* __restrict lane1, const unsigned char* __restrict lane2,
                       const unsigned char* __restrict lane3, std::uint32_t partSize)
{
    for (std::size_t i = 0; i < partSize; ++i) {
        image[4 * i] = lane0[i];
        image[4 * i + 1] = lane1[i];
        image[4 * i + 2] = lane2[i];
        image[4 * i + 3] = lane3[i];
    }
}

void splitImage(std::uint32_t partSize, unsigned char fourParts)
{
    if (fourParts)
        spreadFour(imageRegion(), lane(0), lane(1), lane(2), lane(3), partSize);
    else
        spreadTwo(imageRegion(), lane(0), lane(1), partSize);
}

void mergeParts(std::uint32_t partSize, unsigned char fourParts)
{
    if (fourParts)
        gatherFour(imageRegion(), lane(0), lane(1), lane(2), lane(3), partSize);
    else
        gatherTwo(imageRegion(), lane(0), lane(1), partSize);
}

unsigned char fourPartFlag()
{
    return fourPartMode;
}

void setFourPartFlag(unsigned char fourParts)
{
    fourPartMode = fourParts;
}

// The lane transforms, the part size and the layout of the work area, without files.
#include "work_area.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<unsigned char>;

namespace {

// Bytes the transforms must never write, so an overrun shows.
constexpr unsigned char kUntouched = 0xEE;

Bytes laneBytes(int k, std::size_t count)
{
    return Bytes(lane(k), lane(k) + count);
}

std::ptrdiff_t laneOffset(int k)
{
    return lane(k) - imageRegion();
}

class LaneTransform : public ::testing::Test {
protected:
    void SetUp() override { clearWorkArea(); }
};

}  // namespace

TEST(PartSize, HalvesRoundingUpOnceForTwoPartsTwiceForFour)
{
    struct Row {
        std::uint32_t imageSize, twoParts, fourParts;
    };
    const Row rows[] = {
        {1, 1, 1},
        {2, 1, 1},
        {3, 2, 1},
        {4, 2, 1},
        {5, 3, 2},
        {7, 4, 2},
        {8, 4, 2},
        {9, 5, 3},
        {0x80001, 0x40001, 0x20001},
        {0xFFFFF, 0x80000, 0x40000},
        {0x100000, 0x80000, 0x40000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.imageSize);
        EXPECT_EQ(partSizeForImage(row.imageSize, 0), row.twoParts);
        EXPECT_EQ(partSizeForImage(row.imageSize, 1), row.fourParts);
    }
}

TEST(WorkAreaLayout, LanesSplitTheSecondMebibyteInHalvesThenQuarters)
{
    EXPECT_EQ(laneOffset(0), 0x100000);
    EXPECT_EQ(laneOffset(2), 0x140000);
    EXPECT_EQ(laneOffset(1), 0x180000);
    EXPECT_EQ(laneOffset(3), 0x1C0000);
    EXPECT_EQ(laneExtent(0), 0x80000u);
    EXPECT_EQ(laneExtent(1), 0x40000u);
}

TEST(WorkAreaLayout, ClearZeroesAllTwoMebibytes)
{
    unsigned char* area = imageRegion();
    std::fill(area, area + kWorkAreaSize, 0xA5);
    clearWorkArea();
    EXPECT_EQ(std::count(area, area + kWorkAreaSize, 0), std::ptrdiff_t(kWorkAreaSize));
}

TEST(FourPartFlag, StartsWithTwoParts)
{
    EXPECT_EQ(fourPartFlag(), 0);
}

TEST_F(LaneTransform, SplitSpreadsBytesRoundRobinAndPadsWithZeros)
{
    struct Row {
        unsigned char fourParts;
        Bytes image;
        std::uint32_t partSize;
        Bytes lanes[4];
    };
    const Row rows[] = {
        {0, {0x10, 0x11, 0x12, 0x13}, 2, {{0x10, 0x12}, {0x11, 0x13}}},
        {0, {0x10, 0x11, 0x12, 0x13, 0x14}, 3, {{0x10, 0x12, 0x14}, {0x11, 0x13, 0x00}}},
        {1, {0x10, 0x11, 0x12, 0x13, 0x14}, 2,
         {{0x10, 0x14}, {0x11, 0x00}, {0x12, 0x00}, {0x13, 0x00}}},
        {1, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16}, 2,
         {{0x10, 0x14}, {0x11, 0x15}, {0x12, 0x16}, {0x13, 0x00}}},
        {1, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B}, 3,
         {{0x10, 0x14, 0x18}, {0x11, 0x15, 0x19}, {0x12, 0x16, 0x1A}, {0x13, 0x17, 0x1B}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts) << ", "
                                        << row.image.size() << " bytes");
        clearWorkArea();
        std::fill(lane(0), imageRegion() + kWorkAreaSize, kUntouched);
        std::copy(row.image.begin(), row.image.end(), imageRegion());
        splitImage(row.partSize, row.fourParts);
        for (int k = 0; k < (row.fourParts ? 4 : 2); ++k) {
            EXPECT_EQ(laneBytes(k, row.partSize), row.lanes[k]) << "lane " << k;
            EXPECT_EQ(lane(k)[row.partSize], kUntouched) << "lane " << k;
        }
        EXPECT_EQ(Bytes(imageRegion(), imageRegion() + row.image.size()), row.image);
    }
}

// A full image fills every lane to its end; each lane gets its own byte, with marked
// first and last groups so a shifted or shortened pass shows at both ends.
TEST_F(LaneTransform, FullMebibyteFillsLanesExactlyAndLeavesTheImageAlone)
{
    struct Row {
        unsigned char fourParts;
        std::uint32_t partSize;
        Bytes group, first, last;
    };
    const Row rows[] = {
        {0, 0x80000, {0xA1, 0xB2}, {0xF1, 0xF2}, {0x01, 0x02}},
        {1, 0x40000, {0xA1, 0xB2, 0xC3, 0xD4}, {0xF1, 0xF2, 0xF3, 0xF4}, {0x01, 0x02, 0x03, 0x04}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts));
        clearWorkArea();
        unsigned char* image = imageRegion();
        std::size_t n = row.group.size();
        for (std::size_t at = 0; at < kImageRegionSize; at += n)
            std::copy(row.group.begin(), row.group.end(), image + at);
        std::copy(row.first.begin(), row.first.end(), image);
        std::copy(row.last.begin(), row.last.end(), image + kImageRegionSize - n);
        Bytes before(image, image + kImageRegionSize);

        splitImage(row.partSize, row.fourParts);

        EXPECT_TRUE(Bytes(image, image + kImageRegionSize) == before) << "image region changed";
        for (std::size_t k = 0; k < n; ++k) {
            SCOPED_TRACE(testing::Message() << "lane " << k);
            const unsigned char* bytes = lane(int(k));
            EXPECT_EQ(bytes[0], row.first[k]);
            EXPECT_EQ(std::count(bytes + 1, bytes + row.partSize - 1, row.group[k]),
                      std::ptrdiff_t(row.partSize - 2));
            EXPECT_EQ(bytes[row.partSize - 1], row.last[k]);
        }
    }
}

TEST_F(LaneTransform, FullLanesMergeIntoTheWholeImageRegion)
{
    struct Row {
        unsigned char fourParts;
        std::uint32_t partSize;
        Bytes laneByte;
        Bytes head, tail;
    };
    const Row rows[] = {
        {0, 0x80000, {0xA1, 0xB2}, {0xA1, 0xB2, 0xA1, 0xB2}, {0xA1, 0xB2, 0xA1, 0x0F}},
        {1, 0x40000, {0xA1, 0xB2, 0xC3, 0xD4}, {0xA1, 0xB2, 0xC3, 0xD4, 0xA1, 0xB2, 0xC3, 0xD4},
         {0xA1, 0xB2, 0xC3, 0x0F}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts));
        clearWorkArea();
        int last = int(row.laneByte.size()) - 1;
        for (int k = 0; k <= last; ++k)
            std::fill(lane(k), lane(k) + row.partSize, row.laneByte[k]);
        lane(last)[row.partSize - 1] = 0x0F;

        mergeParts(row.partSize, row.fourParts);

        EXPECT_EQ(lane(0)[0], 0xA1) << "merge ran past the image region";
        const unsigned char* image = imageRegion();
        const unsigned char* end = image + kImageRegionSize;
        EXPECT_EQ(Bytes(image, image + row.head.size()), row.head);
        EXPECT_EQ(Bytes(end - row.tail.size(), end), row.tail);
        EXPECT_EQ(std::count(image, end, row.laneByte[0]), std::ptrdiff_t(row.partSize));
    }
}

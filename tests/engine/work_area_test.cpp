// The lane transforms and the part size, without files.
#include "work_area.h"

#include <gtest/gtest.h>

TEST(PartSize, RoundsUpOncePerHalving)
{
    EXPECT_EQ(partSizeForImage(5, 0), 3u);
    EXPECT_EQ(partSizeForImage(5, 1), 2u);
}

// Files another program holds open: Windows only, as POSIX has no sharing modes. Here a file
// can be found yet fail to open, which is how a read fails after its size check passed.
#include "command_fixture.h"
#include "open_elsewhere_win32.h"

namespace {

class LockedFile : public CommandTest {};

}  // namespace

// A read must not let others write the file meanwhile.
TEST_F(LockedFile, SplitOfAnImageOpenForWritingWritesNoPart)
{
    writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13});
    OpenElsewhere hold("rom.bin", GENERIC_WRITE);
    ASSERT_TRUE(hold.held());
    EXPECT_TRUE(isReadError(runSplit(fetchField), "rom.bin"));
    EXPECT_FALSE(exists("p1.bin"));
}

TEST_F(LockedFile, MergeWithPartTwoOpenForWritingWritesNoImage)
{
    writeBytes("p1.bin", {0x01, 0x03});
    writeBytes("p2.bin", {0x02, 0x04});
    OpenElsewhere hold("p2.bin", GENERIC_WRITE);
    ASSERT_TRUE(hold.held());
    EXPECT_TRUE(isReadError(runMerge(fetchField), "p2.bin"));
    EXPECT_FALSE(exists("rom.bin"));
}

// A write must not let others read the file meanwhile.
TEST_F(LockedFile, SplitOntoAPartOpenForReadingFailsToWriteIt)
{
    writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13});
    writeBytes("p2.bin", {0x77});
    OpenElsewhere hold("p2.bin", GENERIC_READ);
    ASSERT_TRUE(hold.held());
    EXPECT_TRUE(isWriteError(runSplit(fetchField), "p2.bin"));
    EXPECT_EQ(readBytes("p1.bin"), (Bytes{0x10, 0x12}));
}

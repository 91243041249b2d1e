// Files another program holds open with no sharing: Windows only, as POSIX has no such lock
// and a test running as root can read any file. Here a file can be found yet fail to open,
// which is how a read fails after its size check passed.
#include "command_fixture.h"

#include <windows.h>

namespace {

// Holds a file the way another program might: open, and no sharing at all.
class ExclusiveHold {
public:
    explicit ExclusiveHold(const char* path)
        : file_(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr))
    {
    }
    ~ExclusiveHold() { CloseHandle(file_); }
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;
    bool held() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_;
};

class LockedFile : public CommandTest {};

}  // namespace

TEST_F(LockedFile, SplitOfAHeldImageWritesNoPart)
{
    writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13});
    ExclusiveHold hold("rom.bin");
    ASSERT_TRUE(hold.held());
    EXPECT_TRUE(isReadError(runSplit(fetchField), "rom.bin"));
    EXPECT_FALSE(exists("p1.bin"));
}

TEST_F(LockedFile, MergeWithAHeldPartTwoWritesNoImage)
{
    writeBytes("p1.bin", {0x01, 0x03});
    writeBytes("p2.bin", {0x02, 0x04});
    ExclusiveHold hold("p2.bin");
    ASSERT_TRUE(hold.held());
    EXPECT_TRUE(isReadError(runMerge(fetchField), "p2.bin"));
    EXPECT_FALSE(exists("rom.bin"));
}

TEST_F(LockedFile, SplitOntoAHeldPartFailsToWriteIt)
{
    writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13});
    writeBytes("p2.bin", {0x77});
    ExclusiveHold hold("p2.bin");
    ASSERT_TRUE(hold.held());
    EXPECT_TRUE(isWriteError(runSplit(fetchField), "p2.bin"));
    EXPECT_EQ(readBytes("p1.bin"), (Bytes{0x10, 0x12}));
}

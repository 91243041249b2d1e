// Writes cut short by a file-size limit: POSIX only, where a process may set its own limit
// without root. With SIGXFSZ ignored, write() stores what fits and then fails, as on a full
// disk, so the byte count is all that tells a short write from a whole one.
#include "command_fixture.h"
#include "file_access.h"

#include <csignal>
#include <sys/resource.h>

namespace {

class ShortWrite : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved_), 0);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }

    void TearDown() override
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
        CommandTest::TearDown();
    }

    bool limitFileSize(rlim_t bytes)
    {
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

}  // namespace

TEST_F(ShortWrite, ReportsOneAndFailsTheCommandThatMadeIt)
{
    writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17});
    ASSERT_TRUE(limitFileSize(3));
    const Bytes source = {0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(writeWholeFile("new.bin", source.data(), 4), 1);
    EXPECT_EQ(readBytes("new.bin"), (Bytes{0x01, 0x02, 0x03}));
    EXPECT_TRUE(isWriteError(runSplit(fetchField), "p1.bin"));
    EXPECT_FALSE(exists("p2.bin"));
}

// Writes cut short by a file-size limit: POSIX only, where a process may set its own limit
// without root. With SIGXFSZ ignored, write() stores what fits and then fails, as on a full
// disk, so the byte count is all that tells a short write from a whole one.
#include "command_fixture.h"
#include "file_access.h"

#include <csignal>
#include <sys/resource.h>

namespace {

// The limit and the ignored signal last until the test ends.
class ShortWrite : public CommandTest {
protected:
    void TearDown() override
    {
        if (limited_) {
            setrlimit(RLIMIT_FSIZE, &saved_);
            std::signal(SIGXFSZ, previousHandler_);
        }
        CommandTest::TearDown();
    }

    bool limitFileSize(rlim_t bytes)
    {
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0)
            return false;
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        limited_ = true;
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }

private:
    bool limited_ = false;
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

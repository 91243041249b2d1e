// Writes cut short by a file-size limit, which the test's command sets around this program
// (ulimit -f, with SIGXFSZ ignored), so that it holds under Wine too. write() then stores what
// fits and fails, as on a full disk, and under Wine the call may even report success: the
// byte count is all that tells a short write from a whole one. The limit is 64 KiB or
// 128 KiB, as the shell counts its blocks; each part here fits and the image does not.
#include "cli_run.h"
#include "command_fixture.h"
#include "file_access.h"

#include <filesystem>

namespace {

class ShortWrite : public CommandTest {};

constexpr std::size_t kPartSize = 0xC000;
constexpr std::size_t kImageSize = 4 * kPartSize;

}  // namespace

TEST_F(ShortWrite, IsReportedAndFailsTheCommandThatMadeIt)
{
    const Bytes image(kImageSize, 0xA5);
    EXPECT_EQ(writeWholeFile("whole.bin", image.data(), std::uint32_t(kImageSize)), 1);
    EXPECT_LT(std::filesystem::file_size("whole.bin"), kImageSize);

    for (int k = kPart1; k <= kPart4; ++k)
        writeBytes(fields[k], filledBytes(kPartSize, 0x5A));
    setFourPartFlag(1);
    EXPECT_TRUE(isWriteError(runMerge(fetchField), "rom.bin"));

    const Bytes old = {0x0D, 0x0E};
    writeBytes("rom.bin", old);
    CliRun run = runCliWith({"merge", "rom.bin", "p1.bin", "p2.bin", "p3.bin", "p4.bin"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("kestrum-cli: cannot write rom.bin: ", 0), 0u) << run.err;
    EXPECT_EQ(readBytes("rom.bin"), old);
    EXPECT_FALSE(anyTemporaryFileIn("."));
}

// A name longer than the system allows is refused for that reason, on POSIX systems, where a
// name of over 255 bytes gives ENAMETOOLONG.
#include "cli_run.h"

namespace {

class CliLongPath : public ScratchDir {};

}  // namespace

TEST_F(CliLongPath, IsRefusedAsLongerThanTheSystemAllows)
{
    const std::string name(300, 'n');
    writeBytes("rom.bin", {0x01, 0x02});
    struct Row {
        std::vector<std::string> arguments;
        std::string error;
    };
    const Row rows[] = {
        {{"split", name, "p1.bin", "p2.bin"}, "cannot read " + name},
        {{"split", "rom.bin", "p1.bin", name}, "cannot write " + name},
    };
    for (const Row& row : rows) {
        CliRun run = runCliWith(row.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "kestrum-cli: " + row.error + ": path longer than the system allows\n");
        EXPECT_FALSE(exists("p1.bin"));
    }
}

// The command-line program where only Windows arranges the case: names that differ in case
// alone, the read-only attribute, a target held open by another program, and drive letters.
#include "cli_run.h"
#include "file_replace.h"
#include "open_elsewhere_win32.h"

namespace {

class CliWin32 : public Cli {};

const Bytes kOld = {0x0D, 0x0E};

}  // namespace

// Refusals only this platform can arrange, checked as the shared table's are.
TEST_F(CliWin32, RefusesWithOneLineGivingTheTrueReason)
{
    const std::vector<Refusal> rows = {
        {{"split", "two.bin", "old.bin", "p2.bin", "P2.BIN", "p4.bin"}, 2,
         "part 2 and part 3 name the same file; try 'kestrum-cli --help'"},
        {{"split", "two.bin", "old.bin", "locked.bin"}, 1, "cannot write locked.bin: read-only"},
    };
    writeBytes("old.bin", kOld);
    writeBytes("two.bin", {0x01, 0x02});
    writeBytes("locked.bin", kOld);
    ASSERT_TRUE(SetFileAttributesA("locked.bin", FILE_ATTRIBUTE_READONLY));
    expectRefusals(rows, kOld);
    EXPECT_EQ(readBytes("locked.bin"), kOld);
    SetFileAttributesA("locked.bin", FILE_ATTRIBUTE_NORMAL);   // for the scratch folder's removal
}

// Held open without delete sharing, a target cannot be replaced, which only the rename after
// staging finds out. Part 1 is complete by then; part 2 stays as it was, and the system's
// reason is given on one line, without its final period.
TEST_F(CliWin32, ATargetHeldOpenFailsTheRenameAndStaysAsItWas)
{
    writeBytes("rom.bin", {0x10, 0x11});
    writeBytes("p2.bin", kOld);
    OpenElsewhere hold("p2.bin", GENERIC_READ);
    ASSERT_TRUE(hold.held());
    CliRun run = runCliWith({"split", "rom.bin", "p1.bin", "p2.bin"});
    EXPECT_EQ(run.status, 1);
    const std::string start = "kestrum-cli: cannot write p2.bin: ";
    ASSERT_EQ(run.err.rfind(start, 0), 0u) << run.err;
    std::string reason = run.err.substr(start.size());
    EXPECT_GT(reason.size(), 2u);
    EXPECT_EQ(reason.find('\n'), reason.size() - 1) << reason;
    EXPECT_NE(reason[reason.size() - 2], '.') << reason;
    EXPECT_EQ(readBytes("p1.bin"), (Bytes{0x10}));
    EXPECT_EQ(readBytes("p2.bin"), kOld);
    EXPECT_FALSE(anyTemporaryFileIn("."));
}

// A file is staged in its target's folder: a drive's colon ends it, so "C:rom.bin" stages
// in drive C's current folder rather than the process's.
TEST(FolderPrefix, EndsAtTheLastSlashOfEitherKindOrADrivesColon)
{
    struct Row {
        const char* path;
        std::size_t length;
    };
    const Row rows[] = {{"C:rom.bin", 2}, {"C:\\x\\rom.bin", 5}, {"\\\\server\\share\\rom.bin", 15},
                        {"rom.bin", 0}, {"a/b\\c.bin", 4}};
    for (const Row& row : rows)
        EXPECT_EQ(folderPrefixLength(row.path), row.length) << row.path;
}

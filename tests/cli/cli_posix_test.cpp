// The command-line program where only POSIX arranges the case: links, a file used as a
// folder, owners and modes, and the rights of a user other than root.
#include "cli_run.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class CliPosix : public Cli {};

constexpr uid_t kNobody = 65534;
const Bytes kOld = {0x0D, 0x0E};

}  // namespace

// Refusals only this platform can arrange, checked as the shared table's are.
TEST_F(CliPosix, RefusesWithOneLineGivingTheTrueReason)
{
    const std::string usage = "; try 'kestrum-cli --help'";
    const std::vector<Refusal> rows = {
        {{"split", "two.bin", "old.bin", "soft.bin"}, 2, "part 1 and part 2 name the same file" + usage},
        {{"split", "two.bin", "old.bin", "p2.bin", "here/p2.bin", "p4.bin"}, 2,
         "part 2 and part 3 name the same file" + usage},
        {{"split", "two.bin", "old.bin", "two.bin/p2.bin"}, 1,
         "cannot write two.bin/p2.bin: no such folder"},
    };
    writeBytes("old.bin", kOld);
    writeBytes("two.bin", {0x01, 0x02});
    std::filesystem::create_symlink("old.bin", "soft.bin");
    std::filesystem::create_directory_symlink(".", "here");
    expectRefusals(rows, kOld);
}

// As root, the owner is another user's, which only the replacement's chown can keep.
TEST_F(CliPosix, ReplacementKeepsTheTargetsModeAndOwner)
{
    writeBytes("rom.bin", {0x10, 0x11});
    writeBytes("p1.bin", kOld);
    ASSERT_EQ(chmod("p1.bin", 0604), 0);
    uid_t owner = geteuid() == 0 ? kNobody : geteuid();
    ASSERT_EQ(chown("p1.bin", owner, gid_t(-1)), 0);
    ASSERT_EQ(runCliWith({"split", "rom.bin", "p1.bin", "p2.bin"}).status, 0);
    struct stat entry;
    ASSERT_EQ(stat("p1.bin", &entry), 0);
    EXPECT_EQ(readBytes("p1.bin"), (Bytes{0x10}));
    EXPECT_EQ(entry.st_mode & 07777, 0604u);
    EXPECT_EQ(entry.st_uid, owner);
}

// Root may write any file, so the program runs as nobody, through setpriv, in a folder all
// may write to but, for the sticky bit, only an owner may replace a file in. Nobody's own
// read-only file is refused before anything is staged; root's writable one fails at the
// rename, after staging, and must not be reported as done.
TEST_F(CliPosix, AsAnotherUserRefusesAReadOnlyTargetAndReportsAFailedRename)
{
    struct Row {
        std::string target;
        std::string error;
    };
    const Row rows[] = {
        {"locked.bin", "cannot write locked.bin: read-only"},
        {"roots.bin", "cannot write roots.bin: " + std::string(std::strerror(EPERM))},
    };
    std::filesystem::permissions(".", std::filesystem::perms(01777));
    const std::string asNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    if (geteuid() != 0 ||
        std::system((asNobody + "sh -c 'test -w . && exec " KESTRUM_CLI " --version' >/dev/null "
                                "2>&1").c_str()) != 0)
        GTEST_SKIP() << "needs root, setpriv, and a program and folder that nobody may use";
    writeBytes("rom.bin", {0x10, 0x11});
    writeBytes("locked.bin", kOld);
    ASSERT_EQ(chmod("locked.bin", 0444), 0);
    ASSERT_EQ(chown("locked.bin", kNobody, kNobody), 0);
    writeBytes("roots.bin", kOld);
    ASSERT_EQ(chmod("roots.bin", 0666), 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target);
        std::string command =
            asNobody + KESTRUM_CLI " split rom.bin " + row.target + " p2.bin 2>err.txt";
        int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        std::ifstream err("err.txt");
        std::string line;
        std::getline(err, line);
        EXPECT_EQ(line, "kestrum-cli: " + row.error);
        EXPECT_EQ(readBytes(row.target), kOld);
        EXPECT_FALSE(exists("p2.bin"));
        EXPECT_FALSE(anyTemporaryFileIn("."));
    }
}

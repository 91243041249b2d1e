// The command-line program: its layouts, and its refusals with their reasons and exit status.
#include "cli_run.h"

#include "arguments.h"
#include "report.h"
#include "rom_files.h"

#include <filesystem>

namespace {

const std::string kParts[] = {"p1.bin", "p2.bin", "p3.bin", "p4.bin"};

std::vector<std::string> commandLine(const char* command, const std::vector<std::string>& options,
                                     const std::string& image, std::size_t parts)
{
    std::vector<std::string> arguments = {command};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.push_back(image);
    arguments.insert(arguments.end(), kParts, kParts + parts);
    return arguments;
}

}  // namespace

// Each row splits, then, unless the parts were filled, merges them back with the same options.
TEST_F(Cli, SplitLaysOutThePartsAndMergeJoinsThemBack)
{
    struct Row {
        std::vector<std::string> options;
        Bytes image;
        std::vector<Bytes> parts;
        Bytes merged;   // empty: no merge
    };
    const Row rows[] = {
        {{}, {0x10, 0x11, 0x12, 0x13, 0x14}, {{0x10, 0x12, 0x14}, {0x11, 0x13, 0x00}},
         {0x10, 0x11, 0x12, 0x13, 0x14, 0x00}},
        {{"--width", "2"}, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16},
         {{0x10, 0x11, 0x14, 0x15}, {0x12, 0x13, 0x16, 0x00}},
         {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x00}},
        {{"--width=2"}, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19},
         {{0x10, 0x11, 0x18, 0x19}, {0x12, 0x13, 0x00, 0x00}, {0x14, 0x15, 0x00, 0x00},
          {0x16, 0x17, 0x00, 0x00}},
         {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x00, 0x00, 0x00, 0x00,
          0x00, 0x00}},
        {{"--width", "2", "--swap"}, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17},
         {{0x11, 0x10, 0x15, 0x14}, {0x13, 0x12, 0x17, 0x16}},
         {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17}},
        {{"--fill-to", "4"}, {0x10, 0x11, 0x12}, {{0x10, 0x12, 0xFF, 0xFF}, {0x11, 0x00, 0xFF, 0xFF}}, {}},
        {{"--fill-to", "3", "--fill", "0x5A"}, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16},
         {{0x10, 0x14, 0x5A}, {0x11, 0x15, 0x5A}, {0x12, 0x16, 0x5A}, {0x13, 0x00, 0x5A}}, {}},
        {{"--fill-to", "6", "--mirror"}, {0x10, 0x11, 0x12, 0x13},
         {{0x10, 0x12, 0x10, 0x12, 0x10, 0x12}, {0x11, 0x13, 0x11, 0x13, 0x11, 0x13}}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.options.size() << " options, " << row.image.size()
                                        << " bytes into " << row.parts.size());
        emptyDir();
        writeBytes("rom.bin", row.image);
        CliRun split = runCliWith(commandLine("split", row.options, "rom.bin", row.parts.size()));
        EXPECT_EQ(split.status, 0);
        EXPECT_EQ(split.out + split.err, "");
        for (std::size_t k = 0; k < row.parts.size(); ++k)
            EXPECT_EQ(readBytes(kParts[k]), row.parts[k]) << "part " << k + 1;
        if (row.merged.empty())
            continue;
        CliRun merge = runCliWith(commandLine("merge", row.options, "back.bin", row.parts.size()));
        EXPECT_EQ(merge.status, 0);
        EXPECT_EQ(readBytes("back.bin"), row.merged);
    }
}

TEST_F(Cli, SwapExchangesTheBytesOfEveryWordInPlace)
{
    writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13});
    EXPECT_EQ(runCliWith({"swap", "rom.bin", "rom.bin"}).status, 0);
    EXPECT_EQ(readBytes("rom.bin"), (Bytes{0x11, 0x10, 0x13, 0x12}));
}

// The checksums are those of python3's zlib.crc32 and hashlib.sha1 over the same bytes.
TEST_F(Cli, VerboseListsEachFileWithItsChecksumsAndSocket)
{
    writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13, 0x14});
    CliRun run = runCliWith({"split", "-v", "rom.bin", "p1.bin", "p2.bin"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "p1.bin: 3 bytes, crc32 8149decc, sha1 2696cf4bb4f0153b5be06426f06e3278e9570dc7, "
              "sum16 0036, sum32 00000036\n"
              "  part 1 of 2: offsets 0, 2, 4, ...; D15-D8 on a big-endian bus, D7-D0 on a "
              "little-endian bus\n"
              "p2.bin: 3 bytes, crc32 834a51c7, sha1 68ee5e2377df2cfa36dd237caf08af0e1dbd5cf7, "
              "sum16 0024, sum32 00000024\n"
              "  part 2 of 2: offsets 1, 3, 5, ...; D7-D0 on a big-endian bus, D15-D8 on a "
              "little-endian bus\n");
}

// Each layout's part lines, as a socket diagram shows them: part 1 holds the lowest address,
// which drives the top data lines of a big-endian bus and the bottom ones of a little-endian.
TEST(Report, NamesTheDataLinesOfEveryLayout)
{
    struct Row {
        int parts, width;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {2, 2,
         {"  part 1 of 2: words 0, 2, 4, ...; D31-D16 on a big-endian bus, D15-D0 on a little-endian bus",
          "  part 2 of 2: words 1, 3, 5, ...; D15-D0 on a big-endian bus, D31-D16 on a little-endian bus"}},
        {4, 1,
         {"  part 1 of 4: offsets 0, 4, 8, ...; D31-D24 on a big-endian bus, D7-D0 on a little-endian bus",
          "  part 2 of 4: offsets 1, 5, 9, ...; D23-D16 on a big-endian bus, D15-D8 on a little-endian bus",
          "  part 3 of 4: offsets 2, 6, 10, ...; D15-D8 on a big-endian bus, D23-D16 on a little-endian bus",
          "  part 4 of 4: offsets 3, 7, 11, ...; D7-D0 on a big-endian bus, D31-D24 on a little-endian bus"}},
        {4, 2,
         {"  part 1 of 4: words 0, 4, 8, ...; D63-D48 on a big-endian bus, D15-D0 on a little-endian bus",
          "  part 2 of 4: words 1, 5, 9, ...; D47-D32 on a big-endian bus, D31-D16 on a little-endian bus",
          "  part 3 of 4: words 2, 6, 10, ...; D31-D16 on a big-endian bus, D47-D32 on a little-endian bus",
          "  part 4 of 4: words 3, 7, 11, ...; D15-D0 on a big-endian bus, D63-D48 on a little-endian bus"}},
    };
    for (const Row& row : rows) {
        Request request;
        request.parts.resize(std::size_t(row.parts));
        request.width = row.width;
        for (int k = 0; k < row.parts; ++k)
            EXPECT_EQ(partLine(request, k), row.lines[std::size_t(k)]);
    }
}

// Help and version go to standard output; what cannot reach it fails the command.
TEST_F(Cli, PrintsOnStandardOutputAndFailsWhenThatCannotBeWritten)
{
    struct Row {
        std::vector<std::string> arguments;
        std::string outStart;
    };
    const Row rows[] = {
        {{"--help"}, "usage: kestrum-cli split"},
        {{"-h"}, "usage: kestrum-cli split"},
        {{"merge", "-v", "--help"}, "usage: kestrum-cli split"},
        {{"--version"}, "kestrum-cli 0"},
        {{"split", "-v", "rom.bin", "p1.bin", "p2.bin"}, "p1.bin: 1 bytes"},
    };
    writeBytes("rom.bin", {0x10, 0x11});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.back());
        CliRun run = runCliWith(row.arguments);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out.substr(0, row.outStart.size()), row.outStart);
        std::ostream unwritable(nullptr);
        std::ostringstream err;
        EXPECT_EQ(runCli(row.arguments, unwritable, err), 1);
        EXPECT_EQ(err.str(), "kestrum-cli: cannot write standard output\n");
    }
}

// Each limit holds at its very edge: a size of exactly the limit is taken, whole.
TEST_F(Cli, TakesEachLimitAtItsEdge)
{
    struct Row {
        std::vector<std::string> arguments;
        std::size_t fillTo;
        unsigned char fill;
    };
    const Row rows[] = {
        {{"split", "--fill-to", "32M", "--fill", "255", "i", "a", "b"}, 0x2000000, 0xFF},
        {{"split", "--fill-to", "16M", "--fill=0", "i", "a", "b", "c", "d"}, 0x1000000, 0x00},
        {{"split", "--fill-to", "1k", "i", "a", "b"}, 0x400, kDefaultFill},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments[2]);
        Request request = parseArguments(row.arguments);
        EXPECT_EQ(request.fillTo, row.fillTo);
        EXPECT_EQ(request.fill.value_or(kDefaultFill), row.fill);
    }
    zeroFile("quarter.bin", 0x1000000);
    EXPECT_EQ(readWholeFile("quarter.bin", 0x1000000, "").size(), 0x1000000u);
}

TEST_F(Cli, MergeWarnsOfALongerPartAndUsesOnlyItsStart)
{
    writeBytes("p1.bin", {0x01, 0x03});
    writeBytes("p2.bin", {0x02, 0x04, 0x06});
    CliRun run = runCliWith({"merge", "rom.bin", "p1.bin", "p2.bin"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "kestrum-cli: warning: p2.bin is longer than part 1; only its first 2 "
                       "of 3 bytes are used\n");
    EXPECT_EQ(readBytes("rom.bin"), (Bytes{0x01, 0x02, 0x03, 0x04}));
}

TEST_F(Cli, RefusesWithOneLineGivingTheTrueReason)
{
    const std::string usage = "; try 'kestrum-cli --help'";
    // Over both POSIX's 255 bytes for a name and Windows' 259 characters for a path.
    const std::string tooLong(300, 'n');
    // The same folder spelled whole: p2.bin does not exist, so only its folder can tell.
    const std::string here = std::filesystem::current_path().string() + "/";
    const std::vector<Refusal> rows = {
        {{"split", "missing.bin", "old.bin", "p2.bin"}, 1, "cannot read missing.bin: no such file"},
        {{"split", "folder", "old.bin", "p2.bin"}, 1, "cannot read folder: is a directory"},
        {{"split", "bad.hex", "old.bin", "p2.bin"}, 1,
         "cannot read bad.hex: line 2: wrong checksum 0x98, the record needs 0x99"},
        {{"split", "--base", "0", "three.bin", "old.bin", "p2.bin"}, 2,
         "--base is for inputs of Intel HEX or S-records" + usage},
        {{"merge", "--format", "ihex", "old.bin", "two.bin", "p2.bin"}, 2, "--format is for split only" + usage},
        {{"split", "empty.bin", "old.bin", "p2.bin"}, 1, "cannot read empty.bin: empty"},
        {{"split", "big.bin", "old.bin", "p2.bin"}, 1,
         "cannot read big.bin: larger than the 64 MiB limit (67108865 bytes)"},
        {{"merge", "x.bin", "quarter.bin", "old.bin", "p2.bin", "p3.bin"}, 1,
         "cannot read quarter.bin: larger than the 16 MiB limit for 4 parts (16777217 bytes)"},
        {{"merge", "old.bin", "two.bin", "one.bin"}, 1,
         "cannot read one.bin: shorter than part 1 (1 of 2 bytes)"},
        {{"merge", "--width", "2", "old.bin", "three.bin", "two.bin"}, 1,
         "cannot read three.bin: odd size (3 bytes), not whole 16-bit words"},
        {{"swap", "three.bin", "old.bin"}, 1,
         "cannot read three.bin: odd size (3 bytes), not whole 16-bit words"},
        {{"split", "--fill-to", "1", "three.bin", "old.bin", "p2.bin"}, 1,
         "cannot write old.bin: the part's 2 bytes do not fit --fill-to 1"},
        {{"split", "--fill-to", "3", "--mirror", "three.bin", "old.bin", "p2.bin"}, 1,
         "cannot write old.bin: --mirror needs --fill-to to be a whole multiple of the part's 2 bytes"},
        {{"split", "three.bin", "old.bin", "nowhere/p2.bin"}, 1,
         "cannot write nowhere/p2.bin: no such folder"},
        {{"split", "three.bin", "old.bin", "folder"}, 1, "cannot write folder: is a directory"},
        {{"split", tooLong, "old.bin", "p2.bin"}, 1,
         "cannot read " + tooLong + ": path longer than the system allows"},
        {{"split", "three.bin", "old.bin", tooLong}, 1,
         "cannot write " + tooLong + ": path longer than the system allows"},
        {{"split", "three.bin", "old.bin"}, 2, "give an image and 2 or 4 parts" + usage},
        {{"split", "three.bin", "old.bin", "./old.bin"}, 2,
         "part 1 and part 2 name the same file" + usage},
        {{"split", "three.bin", "old.bin", "hard.bin"}, 2,
         "part 1 and part 2 name the same file" + usage},
        {{"split", "three.bin", "old.bin", "p2.bin", here + "p2.bin", "p4.bin"}, 2,
         "part 2 and part 3 name the same file" + usage},
        {{"split", "three.bin", "old.bin", ""}, 2, "part 2 is an empty path" + usage},
        {{"split", "--swap", "three.bin", "old.bin", "p2.bin"}, 2, "--swap needs --width 2" + usage},
        {{"split", "--width", "3", "three.bin", "old.bin", "p2.bin"}, 2,
         "--width takes 1 or 2, not '3'" + usage},
        {{"split", "--fill", "0", "three.bin", "old.bin", "p2.bin"}, 2, "--fill needs --fill-to" + usage},
        {{"split", "--fill-to", "4", "--fill", "256", "three.bin", "old.bin", "p2.bin"}, 2,
         "--fill takes a byte such as 0xFF or 0, not '256'" + usage},
        {{"split", "--mirror", "three.bin", "old.bin", "p2.bin"}, 2, "--mirror needs --fill-to" + usage},
        {{"split", "--width", "2", "--swap=0", "three.bin", "old.bin", "p2.bin"}, 2,
         "--swap takes no value" + usage},
        {{"split", "--fill-to", "33M", "three.bin", "old.bin", "p2.bin"}, 2,
         "--fill-to must be 1 byte to 32M with 2 parts" + usage},
        {{"merge", "--fill-to", "1K", "old.bin", "two.bin", "p2.bin"}, 2,
         "--fill-to is for split and verify only" + usage},
        {{"swap", "--width", "2", "two.bin", "old.bin"}, 2, "swap takes no layout options" + usage},
        {{"compare", "old.bin"}, 2, "give 2 to 8 reads" + usage},
        {{"compare", "--majority", "p2.bin", "old.bin", "two.bin"}, 2, "--majority needs 3 or more reads" + usage},
        {{"compare", "--majority=hard.bin", "two.bin", "old.bin", "one.bin"}, 2, "--majority names read 2" + usage},
        {{"verify", "--majority", "p2.bin", "two.bin", "old.bin", "one.bin"}, 2, "--majority is for compare only" + usage},
        {{"compare", "--majority", "p2.bin", "missing.bin", "old.bin", "one.bin"}, 1, "cannot read missing.bin: no such file"},
        {{"join", "old.bin"}, 2, "unknown command 'join'" + usage},
        {{}, 2, "no command given" + usage},
    };
    const Bytes old = {0x0D, 0x0E};
    writeBytes("old.bin", old);
    writeBytes("empty.bin", {});
    writeBytes("one.bin", {0x01});
    writeBytes("two.bin", {0x01, 0x02});
    writeBytes("three.bin", {0x01, 0x02, 0x03});
    std::string bad = ":0100000001FE\n:02000000AABB98\n";
    writeBytes("bad.hex", Bytes(bad.begin(), bad.end()));
    zeroFile("big.bin", 0x4000001);
    zeroFile("quarter.bin", 0x1000001);
    std::filesystem::create_directory("folder");
    std::filesystem::create_hard_link("old.bin", "hard.bin");
    expectRefusals(rows, old);
}

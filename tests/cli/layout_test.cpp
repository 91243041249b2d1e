// kestrum-cli with board layouts: the built-in boards against the load lines of their
// sources, what a layout file may say, and what split, merge and verify make of it.
#include "cli_run.h"

#include <random>

namespace {

Bytes randomImage(std::size_t size)
{
    std::mt19937 random(27);
    Bytes image(size);
    for (unsigned char& byte : image)
        byte = static_cast<unsigned char>(random());
    return image;
}

// A chip as its source loads it: `group` bytes at `offset`, then `skip` bytes passed over,
// and so on for `size` bytes; `reverse` when the file holds each group the other way round.
struct SourceChip {
    const char* name;
    std::size_t offset, size;
    std::size_t group, skip;
    bool reverse;
};

Bytes loadedBy(const SourceChip& chip, const Bytes& image)
{
    Bytes bytes(chip.size);
    for (std::size_t j = 0; j < chip.size; ++j) {
        std::size_t inGroup = chip.reverse ? chip.group - 1 - j % chip.group : j % chip.group;
        bytes[j] = image[chip.offset + j / chip.group * (chip.group + chip.skip) + inGroup];
    }
    return bytes;
}

class Layouts : public Cli {
protected:
    static void writeText(const std::string& name, const std::string& text)
    {
        writeBytes(name, Bytes(text.begin(), text.end()));
    }
};

// Each row's numbers are its source's, as the board's layout comment cites them.
TEST_F(Layouts, BuiltInBoardsGiveTheChipsTheirSourcesLoad)
{
    struct Board {
        const char* name;
        std::size_t imageSize;
        std::vector<SourceChip> chips;
    };
    const std::vector<Board> boards{
        // MAME cps1.cpp, ffight: ROM_LOAD16_BYTE and ROM_LOAD16_WORD_SWAP.
        {"cps1-ffight", 0x100000, {{"ff_36.11f", 0x00000, 0x20000, 1, 1, false},
                                   {"ff_42.11h", 0x00001, 0x20000, 1, 1, false},
                                   {"ff_37.12f", 0x40000, 0x20000, 1, 1, false},
                                   {"ffe_43.12h", 0x40001, 0x20000, 1, 1, false},
                                   {"ff-32m.8h", 0x80000, 0x80000, 2, 0, true}}},
        // The doit ST archive's ROM table: H0/L0 at 0xFC0000, H1/L1 at 0xFD0000, H2/L2 at 0xFE0000.
        {"atari-st-tos1", 0x30000, {{"U4-H0", 0x00000, 0x8000, 1, 1, false}, {"U7-L0", 0x00001, 0x8000, 1, 1, false},
                                    {"U3-H1", 0x10000, 0x8000, 1, 1, false}, {"U6-L1", 0x10001, 0x8000, 1, 1, false},
                                    {"U2-H2", 0x20000, 0x8000, 1, 1, false}, {"U5-L2", 0x20001, 0x8000, 1, 1, false}}},
        // A19 and A18 of the 27C160's 1M words select 256K words, 512 KiB, of the file each.
        {"27c160-via-27c4096", 0x200000, {{"window-0", 0x000000, 0x80000, 1, 0, false},
                                          {"window-1", 0x080000, 0x80000, 1, 0, false},
                                          {"window-2", 0x100000, 0x80000, 1, 0, false},
                                          {"window-3", 0x180000, 0x80000, 1, 0, false}}},
        // MAME amiga.cpp, a1200: ROM_GROUPWORD | ROM_REVERSE | ROM_SKIP(2).
        {"amiga-1200", 0x80000, {{"U6A", 0x00000, 0x40000, 2, 2, true}, {"U6B", 0x00002, 0x40000, 2, 2, true}}},
        // MAME mac128.cpp, macplus: ROM_SKIP(1).
        {"mac-plus", 0x20000, {{"ROM-HI", 0x00000, 0x10000, 1, 1, false},
                               {"ROM-LO", 0x00001, 0x10000, 1, 1, false}}},
    };
    for (const Board& board : boards) {
        SCOPED_TRACE(board.name);
        Bytes image = randomImage(board.imageSize);
        writeBytes("image.bin", image);
        CliRun split = runCliWith({"split", "--board", board.name, "image.bin", "chips"});
        ASSERT_EQ(split.status, 0) << split.err;
        for (const SourceChip& chip : board.chips)
            EXPECT_EQ(readBytes("chips/" + std::string(chip.name)), loadedBy(chip, image)) << chip.name;
        CliRun merge = runCliWith({"merge", "--board", board.name, "back.bin", "chips"});
        EXPECT_EQ(merge.status, 0) << merge.err;
        EXPECT_EQ(readBytes("back.bin"), image);
        emptyDir();
    }
}

// A one-bank layout is today's options, and a layout file of several banks splits a short
// image, filled with the last bank's fill byte, as the plain split of each bank's range.
TEST_F(Layouts, BanksAreThePlainSplitsOfTheirRanges)
{
    Bytes image = randomImage(0x5000);
    writeBytes("image.bin", image);
    writeText("one.txt", "bank 20480 lanes 2 width 2 swap chips a b\n");
    ASSERT_EQ(runCliWith({"split", "--width", "2", "--swap", "image.bin", "a", "b"}).status, 0);
    ASSERT_EQ(runCliWith({"split", "--layout", "one.txt", "image.bin", "one"}).status, 0);
    EXPECT_EQ(readBytes("one/a"), readBytes("a"));
    EXPECT_EQ(readBytes("one/b"), readBytes("b"));

    const char* text = "# two banks\nbank 16K lanes 4 chips c1 c2 c3 c4  # byte lanes\n"
                       "\nbank 0x2000 lanes 1 width 2 fill-to 16K fill 0x5A chips w\n";
    writeText("two.txt", text);
    CliRun split = runCliWith({"split", "-v", "--layout", "two.txt", "image.bin", "two"});
    ASSERT_EQ(split.status, 0) << split.err;
    Bytes rest(image.begin() + 0x4000, image.end());
    rest.resize(0x2000, 0x5A);
    rest.resize(0x4000, 0x5A);
    EXPECT_EQ(readBytes("two/w"), rest);
    EXPECT_EQ(readBytes("two/c3")[1], image[6]);
    EXPECT_NE(split.out.find("w     2     1 of 1  0x04000-0x05FFF  all words, filled with 0x5A to 16384"),
              std::string::npos) << split.out;
    EXPECT_NE(split.out.find("\nfilled: 0x05000-0x05FFF, 4096 bytes of 0x5A after the image's 20480 bytes\n"),
              std::string::npos) << split.out;

    // A chip file longer than its chip is cut to its share with a warning; a shorter one is refused.
    Bytes longer = readBytes("two/w");
    longer.push_back(0);
    writeBytes("two/w", longer);
    CliRun merge = runCliWith({"merge", "--layout", "two.txt", "back.bin", "two"});
    EXPECT_EQ(merge.status, 0);
    EXPECT_EQ(merge.err, "kestrum-cli: warning: two/w is longer than its chip; only its first 8192 of 16385 "
                         "bytes are used\n");
    image.resize(0x6000, 0x5A);
    EXPECT_EQ(readBytes("back.bin"), image);
    writeBytes("two/c2", Bytes(100));
    EXPECT_EQ(runCliWith({"merge", "--layout", "two.txt", "back.bin", "two"}).err,
              "kestrum-cli: cannot read two/c2: shorter than its share of the image (100 of 4096 bytes)\n");
}

// Verify names each dump's bank and lane, with verify's findings, and a chip of another bank.
TEST_F(Layouts, VerifyFindsTheChipOfAnotherBank)
{
    writeBytes("image.bin", randomImage(0x100000));
    ASSERT_EQ(runCliWith({"split", "--board", "cps1-ffight", "image.bin", "dumps"}).status, 0);
    writeBytes("dumps/ff_42.11h", readBytes("dumps/ffe_43.12h"));
    CliRun run = runCliWith({"verify", "--board", "cps1-ffight", "image.bin", "dumps"});
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.out.find("dumps/ff_36.11f: matches bank 1 lane 1\ndumps/ff_42.11h: differs from bank 1 lane 2"),
              std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n  holds ffe_43.12h, bank 2 lane 2: the chip sits in another bank's socket\n"
                           "dumps/ff_37.12f: matches bank 2 lane 1\n"), std::string::npos) << run.out;
}

// Every refusal of a layout exits 2 with its line, before any output is made.
TEST_F(Layouts, RefusesWhatWouldBeMisread)
{
    struct Row {
        std::string layout;
        int status;
        std::string error;
    };
    const std::vector<Row> rows{
        {"bank 32K lanes 2 chips a b\nbanks 32K", 2, "line 2: expected 'bank', found 'banks'"},
        {"bank 32Q lanes 2 chips a b", 2, "line 1: expected the bank's size (32768, 0x8000, 32K, 2M or a chip "
                                          "such as 27C256), found '32Q'"},
        {"bank 32K chips a b", 2, "line 1: expected 'lanes' after the bank's size, found 'chips'"},
        {"bank 32K lanes 2 a b", 2, "line 1: unknown keyword 'a'; expected width, swap, fill-to, fill, mirror or chips"},
        {"bank 32K lanes 2 swap", 2, "line 1: expected 'chips' and the chips' names"},
        {"bank 27C256 lanes 3 chips a b c", 2, "line 1: lanes takes 1, 2 or 4, not '3'"},
        {"bank 6 lanes 4 chips a b c d", 2, "line 1: a bank of 6 bytes is not whole groups of 4 lanes of 1 byte"},
        {"bank 3 lanes 1 width 2 chips a", 2, "line 1: a bank of 3 bytes is not whole groups of 1 lane of 2 bytes"},
        {"bank 4 lanes 2 chips a", 2, "line 1: 2 lanes take 2 chip names, not 1"},
        {"bank 4 lanes 2 swap chips a b", 2, "line 1: swap needs width 2"},
        {"bank 4 lanes 2 chips a b\n# c\nbank 4 lanes 2 chips c A", 2, "line 3: chip name 'A' repeated from line 1"},
        {"bank 4 lanes 2 chips a ../b", 2, "line 1: chip name '../b' has a path in it; give the file's name alone"},
        {"bank 64K lanes 2 fill-to 16K chips a b", 2, "line 1: fill-to 16384 is below each chip's share of 32768 bytes"},
        {"bank 48K lanes 2 fill-to 27C512 mirror chips a b", 2,
         "line 1: mirror needs fill-to to be a whole multiple of each chip's share of 24576 bytes"},
        {"bank 4 lanes 2 mirror chips a b", 2, "line 1: mirror needs fill-to before it"},
        {"bank 4 lanes 2 fill-to 4 fill 256 chips a b", 2, "line 1: fill takes a byte such as 0xFF or 0, not '256'"},
        {"bank 64M lanes 2 chips a b\nbank 2 lanes 2 chips c d", 2,
         "line 2: the banks hold 67108866 bytes, over the 64M limit"},
        {"# nothing\n", 2, "no bank in the layout"},
        {"bank 4 lanes 2 chips a b", 1, "cannot read old.bin: longer than the layout (5 bytes, the layout's banks hold 4)"},
    };
    Bytes old{1, 2, 3, 4, 5};
    writeBytes("old.bin", old);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.layout);
        writeText("layout.txt", row.layout);
        CliRun run = runCliWith({"split", "--layout", "layout.txt", "old.bin", "p2.bin"});
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.err, "kestrum-cli: " + (row.status == 2 ? "layout.txt: " : std::string()) + row.error + "\n");
        EXPECT_FALSE(exists("p2.bin"));
    }
    expectRefusals({{{"split", "--board", "amiga", "old.bin", "p2.bin"}, 2,
                     "unknown board 'amiga'; the boards are atari-st-tos1, cps1-ffight, 27c160-via-27c4096, "
                     "amiga-1200 and mac-plus; try 'kestrum-cli --help'"},
                    {{"merge", "--board", "mac-plus", "--swap", "old.bin", "p2.bin"}, 2,
                     "the layout gives the lanes and fill: no --width, --swap, --fill-to, --fill or --mirror "
                     "with it; try 'kestrum-cli --help'"},
                    {{"split", "--board", "mac-plus", "--layout", "layout.txt", "old.bin", "p2.bin"}, 2,
                     "--layout and --board exclude each other; try 'kestrum-cli --help'"}},
                   old);
}

}  // namespace

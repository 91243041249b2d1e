// The command-line program against the dialog's own commands: for the same inputs of up to
// 1 MiB, every file it writes is the same, byte for byte.
#include "cli_run.h"
#include "command_fixture.h"

#include <random>

namespace {

class SameAsDialog : public CommandTest {};

Bytes noise(std::size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(count);
    for (unsigned char& byte : bytes)
        byte = static_cast<unsigned char>(random());
    return bytes;
}

}  // namespace

// The merge is of parts whose part 2 is one byte longer than part 1.
TEST_F(SameAsDialog, SplitAndMergeWriteTheSameFiles)
{
    struct Row {
        unsigned char fourParts;
        std::size_t imageSize;
    };
    const Row rows[] = {{0, 1}, {1, 1}, {0, 5}, {1, 7}, {0, 0x80001}, {1, 0xFFFFF}, {0, 0x100000},
                        {1, 0x100000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts) << ", "
                                        << row.imageSize << " bytes");
        emptyDir();
        int parts = row.fourParts ? 4 : 2;
        writeBytes("rom.bin", noise(row.imageSize, unsigned(row.imageSize)));
        setFourPartFlag(row.fourParts);
        fields = {"rom.bin", "d1", "d2", "d3", "d4"};
        ASSERT_TRUE(isComplete(runSplit(fetchField)));
        std::vector<std::string> split = {"split", "rom.bin", "c1", "c2", "c3", "c4"};
        split.resize(std::size_t(2 + parts));
        ASSERT_EQ(runCliWith(split).status, 0);
        for (int k = 1; k <= parts; ++k)
            EXPECT_EQ(readBytes(split[std::size_t(1 + k)]), readBytes(fields[std::size_t(k)]));

        Bytes longer = readBytes("d2");
        longer.push_back(0xAB);
        writeBytes("d2", longer);
        writeBytes("c2", longer);
        fields[kImage] = "dialog.bin";
        ASSERT_TRUE(isComplete(runMerge(fetchField)));
        std::vector<std::string> merge = {"merge", "cli.bin", "c1", "c2", "c3", "c4"};
        merge.resize(std::size_t(2 + parts));
        ASSERT_EQ(runCliWith(merge).status, 0);
        EXPECT_EQ(readBytes("cli.bin"), readBytes("dialog.bin"));
    }
}

// Whole-file access, run against whichever platform file the build picked.
#include "file_access.h"

#include "scratch_dir.h"

#include <filesystem>

namespace {

class FileAccess : public ScratchDir {};

constexpr unsigned char kUntouched = 0xEE;

}  // namespace

TEST_F(FileAccess, QueryFindsAFileWithItsSizeAndADirectoryWithSizeZero)
{
    writeBytes("seven.bin", filledBytes(7, 0x42));
    std::filesystem::create_directory("folder");
    struct Row {
        const char* name;
        std::uint64_t size;
    };
    const Row rows[] = {{"seven.bin", 7}, {"folder", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FileSize found = queryFileSize(row.name);
        EXPECT_TRUE(found.found);
        EXPECT_EQ(found.size, row.size);
    }
}

TEST_F(FileAccess, QueryFindsNoMissingFileAndNoEmptyPath)
{
    EXPECT_FALSE(queryFileSize("missing.bin").found);
    EXPECT_FALSE(queryFileSize("").found);
}

TEST_F(FileAccess, ReadReportsWhetherCountBytesCameFromTheStart)
{
    struct Row {
        Bytes file;
        std::int32_t offset;
        std::uint32_t count;
        int result;
        Bytes read;
    };
    const Row rows[] = {
        {{0x10, 0x11, 0x12, 0x13}, 0, 4, 0, {0x10, 0x11, 0x12, 0x13}},
        {{0x10, 0x11, 0x12}, 0, 4, 1, {0x10, 0x11, 0x12, kUntouched}},
        {{0x10, 0x11, 0x12, 0x13, 0x14, 0x15}, 0, 4, 0, {0x10, 0x11, 0x12, 0x13, kUntouched}},
        {{0x10, 0x11, 0x12, 0x13, 0x14}, 2, 3, 0, {0x12, 0x13, 0x14, kUntouched}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.file.size() << "-byte file, offset " << row.offset
                                        << ", count " << row.count);
        writeBytes("data.bin", row.file);
        Bytes destination(8, kUntouched);
        EXPECT_EQ(readFileRange("data.bin", destination.data(), row.offset, row.count), row.result);
        destination.resize(row.read.size());
        EXPECT_EQ(destination, row.read);
    }
}

TEST_F(FileAccess, ReadCannotOpenMissingFileEmptyPathOrDirectory)
{
    std::filesystem::create_directory("folder");
    Bytes destination(4);
    EXPECT_EQ(readFileRange("missing.bin", destination.data(), 0, 4), -1);
    EXPECT_EQ(readFileRange("", destination.data(), 0, 4), -1);
    EXPECT_EQ(readFileRange("folder", destination.data(), 0, 4), -1);
}

TEST_F(FileAccess, WriteCreatesAFileOfExactlyCountBytes)
{
    const Bytes source = {0x01, 0x02, 0x03, 0x04, 0x05};
    EXPECT_EQ(writeWholeFile("new.bin", source.data(), 3), 0);
    EXPECT_EQ(readBytes("new.bin"), (Bytes{0x01, 0x02, 0x03}));
}

TEST_F(FileAccess, WriteTruncatesALongerFile)
{
    writeBytes("old.bin", filledBytes(16, 0x77));
    const Bytes source = {0x01, 0x02, 0x03};
    EXPECT_EQ(writeWholeFile("old.bin", source.data(), 3), 0);
    EXPECT_EQ(readBytes("old.bin"), (Bytes{0x01, 0x02, 0x03}));
}

TEST_F(FileAccess, WriteCannotCreateEmptyPathDirectoryOrFileInMissingFolder)
{
    std::filesystem::create_directory("folder");
    const Bytes source = {0x01};
    EXPECT_EQ(writeWholeFile("", source.data(), 1), -1);
    EXPECT_EQ(writeWholeFile("folder", source.data(), 1), -1);
    EXPECT_EQ(writeWholeFile("nowhere/new.bin", source.data(), 1), -1);
    EXPECT_TRUE(std::filesystem::is_directory("folder"));
    EXPECT_FALSE(exists("nowhere"));
}

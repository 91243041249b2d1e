// The split and merge commands, driven through a stand-in for the dialog's path fields.
#include "command_fixture.h"

#include <cstring>
#include <filesystem>

namespace {

class Split : public CommandTest {};
class Merge : public CommandTest {};
class RoundTrip : public CommandTest {};
class LongPath : public CommandTest {};

}  // namespace

TEST(OutcomeBox, TextCaptionAndStyleOfEachKind)
{
    std::strcpy(pathBuffer(), "roms\\game.bin");
    EXPECT_TRUE(isComplete(Outcome::Complete));
    EXPECT_TRUE(isReadError(Outcome::ReadError, "roms\\game.bin"));
    EXPECT_TRUE(isWriteError(Outcome::WriteError, "roms\\game.bin"));
}

TEST_F(Split, WritesEachPartWithTheImagePaddedToWholeGroups)
{
    struct Row {
        unsigned char fourParts;
        Bytes image;
        Bytes parts[4];
    };
    // Larger images first, so padding taken from an earlier split's bytes shows.
    const Row rows[] = {
        {1, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17},
         {{0x10, 0x14}, {0x11, 0x15}, {0x12, 0x16}, {0x13, 0x17}}},
        {1, {0x10, 0x11, 0x12, 0x13, 0x14}, {{0x10, 0x14}, {0x11, 0x00}, {0x12, 0x00}, {0x13, 0x00}}},
        {0, {0x10, 0x11, 0x12, 0x13, 0x14}, {{0x10, 0x12, 0x14}, {0x11, 0x13, 0x00}}},
        {1, {0xAA}, {{0xAA}, {0x00}, {0x00}, {0x00}}},
        {0, {0xAA}, {{0xAA}, {0x00}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts) << ", "
                                        << row.image.size() << " bytes");
        setFourPartFlag(row.fourParts);
        writeBytes("rom.bin", row.image);
        EXPECT_TRUE(isComplete(runSplit(fetchField)));
        EXPECT_EQ(readBytes("p1.bin"), row.parts[0]);
        EXPECT_EQ(readBytes("p2.bin"), row.parts[1]);
        if (row.fourParts) {
            EXPECT_EQ(readBytes("p3.bin"), row.parts[2]);
            EXPECT_EQ(readBytes("p4.bin"), row.parts[3]);
        }
        EXPECT_EQ(exists("p3.bin"), bool(row.fourParts));
        std::filesystem::remove("p3.bin");
        std::filesystem::remove("p4.bin");
    }
}

TEST_F(Split, TakesAnImageOfOneMebibyteButNotOneByteMore)
{
    struct Row {
        unsigned char fourParts;
        std::uintmax_t partSize;
        Bytes part2Head;
    };
    const Row rows[] = {{0, 0x80000, {0x01, 0x03, 0x05}}, {1, 0x40000, {0x01, 0x05, 0x09}}};
    Bytes image(0x100000);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = (unsigned char)i;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts));
        setFourPartFlag(row.fourParts);
        writeBytes("rom.bin", image);
        EXPECT_TRUE(isComplete(runSplit(fetchField)));
        EXPECT_EQ(std::filesystem::file_size("p1.bin"), row.partSize);
        Bytes part2 = readBytes("p2.bin");
        ASSERT_EQ(part2.size(), row.partSize);
        EXPECT_TRUE(std::equal(row.part2Head.begin(), row.part2Head.end(), part2.begin()));

        std::filesystem::remove("p1.bin");
        std::filesystem::remove("p2.bin");
        Bytes tooLong = image;
        tooLong.push_back(0x00);
        writeBytes("rom.bin", tooLong);
        EXPECT_TRUE(isReadError(runSplit(fetchField), "rom.bin"));
        EXPECT_FALSE(exists("p1.bin"));
        EXPECT_FALSE(exists("p2.bin"));
    }
}

TEST_F(Split, OddImageSizeGivesPartsOneByteOverHalfWithZeroLast)
{
    writeBytes("rom.bin", filledBytes(0x80001, 0xFF));
    EXPECT_TRUE(isComplete(runSplit(fetchField)));
    Bytes part1 = readBytes("p1.bin");
    Bytes part2 = readBytes("p2.bin");
    ASSERT_EQ(part1.size(), 0x40001u);
    ASSERT_EQ(part2.size(), 0x40001u);
    EXPECT_EQ(part1.back(), 0xFF);
    EXPECT_EQ(part2[0x3FFFF], 0xFF);
    EXPECT_EQ(part2.back(), 0x00);
}

// huge.bin is sparse, 4 GiB and one byte: read as its low 32 bits, it would be 1 byte.
TEST_F(Split, UnusableImageFailsBeforeAnyPartIsWritten)
{
    writeBytes("empty.bin", {});
    zeroFile("huge.bin", 0x100000001);
    std::filesystem::create_directory("folder");
    const char* const images[] = {"empty.bin", "huge.bin", "folder", "missing.bin", ""};
    for (const char* image : images) {
        SCOPED_TRACE(image);
        fields[kImage] = image;
        EXPECT_TRUE(isReadError(runSplit(fetchField), image));
        EXPECT_FALSE(exists("p1.bin"));
    }
}

TEST_F(Split, EmptyPartOneFieldFailsToWriteUnderAnEmptyCaption)
{
    writeBytes("rom.bin", {0x10, 0x11});
    fields[kPart1] = "";
    EXPECT_TRUE(isWriteError(runSplit(fetchField), ""));
    EXPECT_FALSE(exists("p2.bin"));
}

TEST_F(Split, FailingPartThreeKeepsPartsOneAndTwoAndStops)
{
    setFourPartFlag(1);
    writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13});
    fields[kPart3] = "nowhere/p3.bin";
    EXPECT_TRUE(isWriteError(runSplit(fetchField), "nowhere/p3.bin"));
    EXPECT_EQ(readBytes("p1.bin"), Bytes{0x10});
    EXPECT_EQ(readBytes("p2.bin"), Bytes{0x11});
    EXPECT_FALSE(exists("p4.bin"));
}

TEST_F(Split, PartOneMayReplaceTheImageItWasReadFrom)
{
    writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13});
    fields[kPart1] = "rom.bin";
    EXPECT_TRUE(isComplete(runSplit(fetchField)));
    EXPECT_EQ(readBytes("rom.bin"), (Bytes{0x10, 0x12}));
    EXPECT_EQ(readBytes("p2.bin"), (Bytes{0x11, 0x13}));
}

TEST_F(Merge, InterleavesTheParts)
{
    struct Row {
        unsigned char fourParts;
        Bytes parts[4];
        Bytes image;
    };
    const Row rows[] = {
        {0, {{0x01, 0x03, 0x05}, {0x02, 0x04, 0x06}}, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06}},
        {1, {{0x01, 0x05, 0x09}, {0x02, 0x06, 0x0A}, {0x03, 0x07, 0x0B}, {0x04, 0x08, 0x0C}},
         {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts));
        setFourPartFlag(row.fourParts);
        for (int k = 0; k < (row.fourParts ? 4 : 2); ++k)
            writeBytes(fields[kPart1 + k], row.parts[k]);
        EXPECT_TRUE(isComplete(runMerge(fetchField)));
        EXPECT_EQ(readBytes("rom.bin"), row.image);
    }
}

TEST_F(Merge, PartOneLimitIsHalfAMebibyteForTwoPartsAQuarterForFour)
{
    struct Row {
        unsigned char fourParts;
        std::size_t partSize;
        bool fits;
    };
    const Row rows[] = {
        {0, 0x80000, true}, {0, 0x80001, false}, {0, 0x40001, true},
        {1, 0x40000, true}, {1, 0x40001, false},
    };
    const unsigned char fill[] = {0xA1, 0xB2, 0xC3, 0xD4};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts) << ", part size "
                                        << row.partSize);
        setFourPartFlag(row.fourParts);
        std::filesystem::remove("rom.bin");
        int count = row.fourParts ? 4 : 2;
        for (int k = 0; k < count; ++k)
            writeBytes(fields[kPart1 + k], filledBytes(row.partSize, fill[k]));
        Outcome outcome = runMerge(fetchField);
        if (!row.fits) {
            EXPECT_TRUE(isReadError(outcome, "p1.bin"));
            EXPECT_FALSE(exists("rom.bin"));
            continue;
        }
        EXPECT_TRUE(isComplete(outcome));
        Bytes image = readBytes("rom.bin");
        ASSERT_EQ(image.size(), row.partSize * count);
        EXPECT_EQ(image[0], 0xA1);
        EXPECT_EQ(image[1], 0xB2);
        EXPECT_EQ(image[2], count == 4 ? 0xC3 : 0xA1);
        EXPECT_EQ(image.back(), count == 4 ? 0xD4 : 0xB2);
    }
}

TEST_F(Merge, UnusablePartOneFailsBeforeTheImageIsWritten)
{
    writeBytes("empty.bin", {});
    writeBytes("p2.bin", {0x02});
    std::filesystem::create_directory("folder");
    const char* const parts[] = {"empty.bin", "folder", "missing.bin", ""};
    for (const char* part : parts) {
        SCOPED_TRACE(part);
        fields[kPart1] = part;
        EXPECT_TRUE(isReadError(runMerge(fetchField), part));
        EXPECT_FALSE(exists("rom.bin"));
    }
}

TEST_F(Merge, MissingOrShortPartFailsUnderItsOwnName)
{
    struct Row {
        unsigned char fourParts;
        Field failing;
        Bytes content;  // empty: the file is missing
    };
    const Row rows[] = {
        {0, kPart2, {}},
        {0, kPart2, {0x02}},
        {1, kPart2, {}},
        {1, kPart3, {}},
        {1, kPart4, {}},
        {1, kPart4, {0x04}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts) << ", field "
                                        << row.failing << ", " << row.content.size() << " bytes");
        setFourPartFlag(row.fourParts);
        for (int k = kPart1; k <= kPart4; ++k)
            writeBytes(fields[k], {0x01, 0x02});
        std::filesystem::remove(fields[row.failing]);
        if (!row.content.empty())
            writeBytes(fields[row.failing], row.content);
        EXPECT_TRUE(isReadError(runMerge(fetchField), fields[row.failing]));
        EXPECT_FALSE(exists("rom.bin"));
    }
}

TEST_F(Merge, LongerPartTwoGivesOnlyAsManyBytesAsPartOne)
{
    writeBytes("p1.bin", {0x01, 0x03});
    writeBytes("p2.bin", {0x02, 0x04, 0x06, 0x08});
    EXPECT_TRUE(isComplete(runMerge(fetchField)));
    EXPECT_EQ(readBytes("rom.bin"), (Bytes{0x01, 0x02, 0x03, 0x04}));
}

TEST_F(Merge, ImageMayReplaceOneOfItsParts)
{
    const Field outputs[] = {kPart1, kPart2};
    for (Field output : outputs) {
        SCOPED_TRACE(output);
        writeBytes("p1.bin", {0x01, 0x03});
        writeBytes("p2.bin", {0x02, 0x04});
        fields[kImage] = fields[output];
        EXPECT_TRUE(isComplete(runMerge(fetchField)));
        EXPECT_EQ(readBytes(fields[output]), (Bytes{0x01, 0x02, 0x03, 0x04}));
    }
}

TEST_F(Merge, TruncatesALongerExistingImage)
{
    writeBytes("p1.bin", {0x01});
    writeBytes("p2.bin", {0x02});
    writeBytes("rom.bin", filledBytes(16, 0x77));
    EXPECT_TRUE(isComplete(runMerge(fetchField)));
    EXPECT_EQ(readBytes("rom.bin"), (Bytes{0x01, 0x02}));
}

TEST_F(Merge, UnwritableImageFailsUnderItsName)
{
    writeBytes("p1.bin", {0x01});
    writeBytes("p2.bin", {0x02});
    fields[kImage] = "nowhere/rom.bin";
    EXPECT_TRUE(isWriteError(runMerge(fetchField), "nowhere/rom.bin"));
}

TEST_F(RoundTrip, SplitThenMergeGivesTheImagePaddedToAMultipleOfThePartCount)
{
    struct Row {
        unsigned char fourParts;
        Bytes image, merged;
    };
    const Row rows[] = {
        {0, {0xAA}, {0xAA, 0x00}},
        {1, {0xAA}, {0xAA, 0x00, 0x00, 0x00}},
        {0, {0x10, 0x11, 0x12, 0x13, 0x14}, {0x10, 0x11, 0x12, 0x13, 0x14, 0x00}},
        {1, {0x10, 0x11, 0x12, 0x13, 0x14}, {0x10, 0x11, 0x12, 0x13, 0x14, 0x00, 0x00, 0x00}},
        {1, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15}, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x00, 0x00}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "four parts " << int(row.fourParts) << ", "
                                        << row.image.size() << " bytes");
        setFourPartFlag(row.fourParts);
        fields[kImage] = "rom.bin";
        writeBytes("rom.bin", row.image);
        EXPECT_TRUE(isComplete(runSplit(fetchField)));
        fields[kImage] = "back.bin";
        EXPECT_TRUE(isComplete(runMerge(fetchField)));
        EXPECT_EQ(readBytes("back.bin"), row.merged);
    }
}

// A field longer than the buffer holds is cut to 259 characters. The cut name must not be
// used: here it names a real file, padded with "./" so that it resolves to a short path
// on every system.
TEST_F(LongPath, FieldTooLongForTheBufferFailsItsStepWithoutTouchingTheCutName)
{
    const std::string cut = [] {
        std::string name;
        for (int i = 0; i < 126; ++i)
            name += "./";
        return name + "cut.bin";
    }();
    ASSERT_EQ(cut.size(), 259u);
    const Bytes sentinel = {0xC0, 0xC1, 0xC2, 0xC3};

    struct Row {
        bool split;
        unsigned char fourParts;
        Field field;
        Outcome kind;
    };
    const Row rows[] = {
        {true, 0, kImage, Outcome::ReadError},
        {true, 0, kPart1, Outcome::WriteError},
        {true, 1, kPart4, Outcome::WriteError},
        {false, 0, kPart1, Outcome::ReadError},
        {false, 0, kPart2, Outcome::ReadError},
        {false, 1, kPart3, Outcome::ReadError},
        {false, 0, kImage, Outcome::WriteError},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.split ? "split" : "merge") << ", four parts "
                                        << int(row.fourParts) << ", field " << row.field);
        emptyDir();
        setFourPartFlag(row.fourParts);
        fields = {"rom.bin", "p1.bin", "p2.bin", "p3.bin", "p4.bin"};
        if (row.split) {
            writeBytes("rom.bin", {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17});
        } else {
            for (int k = kPart1; k <= kPart4; ++k)
                writeBytes(fields[k], {0x01, 0x02, 0x03, 0x04});
        }
        writeBytes("cut.bin", sentinel);
        fields[row.field] = cut + "x";

        Outcome outcome = row.split ? runSplit(fetchField) : runMerge(fetchField);

        if (row.kind == Outcome::ReadError) {
            EXPECT_TRUE(isReadError(outcome, cut));
            EXPECT_FALSE(exists(row.split ? "p1.bin" : "rom.bin"));
        } else {
            EXPECT_TRUE(isWriteError(outcome, cut));
        }
        EXPECT_EQ(readBytes("cut.bin"), sentinel);
        EXPECT_FALSE(exists("cut.binx"));
    }
}

// Intel HEX and S-records: every record type, gaps, --base and each refusal with its line,
// as the readers give them; and parts written as records that merge back into the image.
#include "cli_run.h"

#include "image_limits.h"
#include "record_image.h"
#include "record_text.h"

#include <optional>

TEST(Records, ReadEveryTypeAndRefuseEachFaultAtItsLine)
{
    struct Row {
        std::string text;
        std::optional<std::uint64_t> base;
        unsigned char fill;
        Bytes bytes;
        std::string said;   // recordsLine, or the refusal
    };
    const std::string hex = ":020000000102FB\n", srec = "S10500000102F7\n";   // 01 02 at 0
    const Row rows[] = {
        {":020000021000EC\n:02000000AABB99\n:04000003F000FFF01A\n:00000001FF\n", {}, 0xFF, {0xAA, 0xBB},
         "Intel HEX, addresses 0x10000-0x10001, 0 bytes filled with 0xFF, start address F000:FFF0"},
        {":0200000400F802\r\n:020000001122CB\r\n:0100040033C8\r\n:0100000011EE\r\n:0400000500F80004FB\r\n"
         ":00000001FF\r\n\x1A", {}, 0xFF, {0x11, 0x22, 0xFF, 0xFF, 0x33},
         "Intel HEX, addresses 0xF80000-0xF80004, 2 bytes filled with 0xFF, start address 0xF80004"},
        {":0200000400F802\n:020000001122CB\n:0100040033C8\n", 0xF7FFFE, 0x00, {0, 0, 0x11, 0x22, 0, 0, 0x33},
         "Intel HEX, addresses 0xF7FFFE-0xF80004, 4 bytes filled with 0x00"},
        {"S00600004844521B\nS1050010abcd72\n\nS5030001FB\nS9030010EC\n", {}, 0xFF, {0xAB, 0xCD},
         "S-records, addresses 0x10-0x11, 0 bytes filled with 0xFF, start address 0x10"},
        {"S2060100000102F5\nS3060001000203F3\nS604000002F9\nS70500010000F9\n", {}, 0xFF, {1, 2, 3},
         "S-records, addresses 0x10000-0x10002, 0 bytes filled with 0xFF, start address 0x10000"},
        {"S104000207F2\nS8041234565F\n", 0, 0x00, {0, 0, 7},
         "S-records, addresses 0x0-0x2, 2 bytes filled with 0x00, start address 0x123456"},
        {hex + ":03000000AABB99\n", {}, 0xFF, {}, "line 2: malformed: its count says 3 data bytes, it holds 2"},
        {hex + ":02000000AABB98\n", {}, 0xFF, {}, "line 2: wrong checksum 0x98, the record needs 0x99"},
        {hex + ":00000006FA\n", {}, 0xFF, {}, "line 2: record type 06 is not one of 00 to 05"},
        {hex + ":020000040400F6\n:0100000001FE\n", {}, 0xFF, {},
         "line 3: the addresses span 0x0-0x4000000, more than the 64 MiB limit"},
        {hex + ":00000001FF\n" + hex, {}, 0xFF, {}, "line 3: more records after the end record of line 2"},
        {":00000001FF\n", {}, 0xFF, {}, "line 1: no data records"},
        {srec + "S10500000902EF\n", {}, 0xFF, {}, "line 2: overlaps earlier data at 0x0 with other bytes"},
        {srec, 1, 0xFF, {}, "line 1: data at 0x0, below the base 0x1"},
        {srec + "S4030000FC\n", {}, 0xFF, {}, "line 2: S4 is not a record type"},
        {srec + "S5030002FA\n", {}, 0xFF, {}, "line 2: counts 2 data records, not the 1 before it"},
        {srec + "hello\n", {}, 0xFF, {}, "line 2: not an S-record"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const auto* text = reinterpret_cast<const unsigned char*>(row.text.data());
        RecordFormat format = recordFormat(text, row.text.size());
        ASSERT_EQ(format, row.text[0] == ':' ? RecordFormat::IntelHex : RecordFormat::SRecord);
        RecordImage image = readRecords(text, row.text.size(), format, {row.base, row.fill, kImageLimit});
        EXPECT_EQ(image.refusal.empty() ? recordsLine(image) : image.refusal, row.said);
        EXPECT_EQ(image.bytes, row.bytes);
    }
}

// Parts past 64 KiB need Intel HEX's extended addresses and S2 records.
TEST_F(Cli, PartsWrittenAsRecordsMergeBackIntoTheImage)
{
    Bytes image(0x30000);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<unsigned char>(i * 7 + i / 251);
    writeBytes("rom.bin", image);
    for (const char* format : {"ihex", "srec"}) {
        SCOPED_TRACE(format);
        EXPECT_EQ(runCliWith({"split", "--format", format, "rom.bin", "p1", "p2"}).status, 0);
        EXPECT_NE(readBytes("p1").size(), image.size() / 2);   // text, not the part's bytes
        CliRun merge = runCliWith({"merge", "back.bin", "p1", "p2"});
        EXPECT_EQ(merge.status, 0);
        EXPECT_EQ(readBytes("back.bin"), image);
    }
}

// The page's C interface natively, under the sanitizers: its outputs are the in-memory
// split's and merge's, and inputs the browser test does not reach refuse as kestrum-cli does.
#include "page_interface.h"

#include "part_images.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

Bytes numbered(std::size_t size, int from)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(from + int(i * 7 % 251));
    return bytes;
}

// Puts a file into a slot; a size past the bytes given stands for a file too big to read.
void give(int slot, const char* name, const Bytes& bytes, double size = 0)
{
    unsigned char* at = pageInput(slot, name, size ? size : double(bytes.size()), bytes.size());
    if (!bytes.empty())
        std::memcpy(at, bytes.data(), bytes.size());
}

std::vector<Bytes> outputs(int count)
{
    std::vector<Bytes> made;
    for (int k = 0; k < count; ++k)
        made.emplace_back(pageOutput(k), pageOutput(k) + pageOutputSize(k));
    return made;
}

}  // namespace

TEST(PageInterface, GivesWhatSplitAndMergeMakeOrTheirRefusal)
{
    const Bytes image = numbered(1001, 0), p1 = numbered(300, 1), p2 = numbered(300, 2),
                longer = numbered(301, 3), hi = numbered(0x10000, 4), lo = numbered(0x10000, 5);
    std::vector<Bytes> reversed{p2, p1}, macPlus{hi, lo};
    struct Row {
        const char* name;
        std::function<int()> act;
        std::vector<Bytes> made;   // empty: refused, with these words
        const char* refusal;
    };
    const Row rows[] = {
        {"split in 4 word lanes, swapped, filled", [&] {
             give(0, "game.bin", image);
             return pageSplit(4, 2, 1, "1K", "0x00", 0);
         }, [&] { std::string no; return splitImage(image, {4, 2, true, 1024, 0, false}, no); }(), ""},
        {"merge in the order chosen", [&] {
             give(0, "a.bin", p1), give(1, "b.bin", p2);
             return pageMerge(2, 1, 0, 0, 0, 1, 0);
         }, {mergeParts(reversed, 1, false)}, ""},
        {"merge with a later part shorter", [&] {
             give(0, "a.bin", p1), give(1, "b.bin", longer);
             return pageMerge(2, 1, 0, 0, 0, 1, 0);
         }, {}, "\"cannot read a.bin: shorter than part 1 (300 of 301 bytes)\""},
        {"an image past the limit", [&] {
             give(0, "big.bin", {}, 67108865.0);
             return pageSwap();
         }, {}, "\"cannot read big.bin: larger than the 64 MiB limit (67108865 bytes)\""},
        {"split an image of S-records", [&] {
             give(0, "game.s19", {'S', '1', '0', '5', '0', '0', '0', '0', '0', '1', '0', '2', 'F', '7'});
             return pageSplit(2, 1, 0, "", "", 0);
         }, {{0x01}, {0x02}}, "\"notes\":[\"game.s19: S-records, addresses 0x0-0x1, 0 bytes filled with 0xFF\"]"},
        {"a chip size of no size", [&] { return pageSplit(2, 1, 0, "12Q", "", 0); }, {},
         "\"--fill-to takes a size such as 32768, 512K or 2M, not '12Q'\""},
        {"three parts", [&] { return pageIdentify(3, ""); }, {}, "\"give 2 or 4 parts\""},
        {"a lane beyond the parts given, its slot filled by an earlier action", [&] {
             give(3, "old.bin", p1);
             give(0, "a.bin", p1), give(1, "b.bin", p2);
             return pageMerge(2, 0, 3, 0, 0, 1, 0);
         }, {}, "\"part 2 is none of the 2 parts given\""},
        {"a board's chips merged by their names, picked in any order", [&] {
             give(0, "ROM-LO", lo), give(1, "ROM-HI", hi);
             return pageBoardMerge("mac-plus", "", 2, "mac-plus.bin");
         }, {mergeParts(macPlus, 1, false)}, ""},
        {"a board's chip not picked", [&] {
             give(0, "ROM-LO", lo);
             return pageBoardMerge("mac-plus", "", 1, "mac-plus.bin");
         }, {}, "\"cannot read ROM-HI: not among the files picked\""},
        {"a board's dumps verified by their names, picked in any order, its high chip's socket holding the low one", [&] {
             give(0, "mac.bin", mergeParts(macPlus, 1, false)), give(1, "ROM-LO", lo), give(2, "ROM-HI", lo);
             return pageBoardVerify("mac-plus", "", 2);
         }, {}, "\"ROM-HI: differs from bank 1 lane 1 in 65536 of 65536 bytes\",\"  offset 0x0, image 0x0: read 0x05, "
                "expected 0x04\",\"  offset 0x1, image 0x2: read 0x0C, expected 0x0B\",\"  offset 0x2, image 0x4: read "
                "0x13, expected 0x12\",\"  offset 0x3, image 0x6: read 0x1A, expected 0x19\",\"  holds part 2: the chip "
                "of another socket\",\"ROM-LO: matches bank 1 lane 2\"]"},
        {"a layout file's line", [&] { return pageBoardSplit("", "bank 4 lanes 3 chips a"); }, {},
         "\"the layout file: line 1: lanes takes 1, 2 or 4, not '3'\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        int count = row.act();
        EXPECT_EQ(outputs(count), row.made);
        EXPECT_NE(std::string(pageReport()).find(row.refusal), std::string::npos) << pageReport();
        pageDropOutputs();
    }
}

// The checksums against their published check values: CRC32's "123456789" and RFC 3174's
// four SHA-1 tests, which cover one block, a two-block padding and many blocks; and, from
// python3's hashlib, the longest message whose padding fits its last block.
#include "checksums.h"

#include <gtest/gtest.h>

#include <string>

TEST(Checksums, MatchThePublishedCheckValues)
{
    struct Row {
        std::string message;
        const char* crc32;
        const char* sha1;
    };
    std::string eighty;
    for (int i = 0; i < 80; ++i)
        eighty += "01234567";
    const Row rows[] = {
        {"123456789", "cbf43926", "f7c3bc1d808e04732adf679965ccc34ca7ae3441"},
        {"abc", "352441c2", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", nullptr,
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {std::string(1000000, 'a'), nullptr, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
        {eighty, nullptr, "dea356a2cddd90c7a7ecedc5ebb563934f460452"},
        {std::string(55, 'a'), nullptr, "c1c8bbdc22796e28c0e15163d20899b65621d65a"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message.substr(0, 20));
        const auto* bytes = reinterpret_cast<const unsigned char*>(row.message.data());
        if (row.crc32) {
            EXPECT_EQ(crc32Hex(bytes, row.message.size()), row.crc32);
        }
        EXPECT_EQ(sha1Hex(bytes, row.message.size()), row.sha1);
    }
}

// The checksums against their published check values: CRC32's "123456789" and RFC 3174's
// four SHA-1 tests, which cover one block, a two-block padding and many blocks; and, from
// python3's hashlib, the longest message whose padding fits its last block. The byte sums are
// python3's sum() modulo 2^16 and 2^32; a million 'a' carry past 16 bits.
#include "checksums.h"
#include "image_checksums.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<unsigned char>;

TEST(Checksums, MatchThePublishedCheckValues)
{
    struct Row {
        std::string message;
        const char* crc32;
        const char* sha1;
        const char* sums = nullptr;
    };
    std::string eighty;
    for (int i = 0; i < 80; ++i)
        eighty += "01234567";
    const Row rows[] = {
        {"123456789", "cbf43926", "f7c3bc1d808e04732adf679965ccc34ca7ae3441", "01dd 000001dd"},
        {"abc", "352441c2", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", nullptr,
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {std::string(1000000, 'a'), nullptr, "34aa973cd4c4daa4f61eeb2bdbad27316534016f", "1a40 05c81a40"},
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
        if (row.sums) {
            EXPECT_EQ(sum16Hex(bytes, row.message.size()) + " " + sum32Hex(bytes, row.message.size()), row.sums);
        }
    }
}

static std::uint32_t longAt(const Bytes& bytes, std::size_t at)
{
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
           std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

// Images summed here as each machine's tools do: a Kickstart's longs one by one with the
// carry added back, its checksum long making them 0xFFFFFFFF; a Mac's words after its first
// long, which holds their sum. Each broken one has one byte more.
TEST(ImageChecksums, SayWhetherAKnownChecksumHolds)
{
    Bytes kick(0x400), mac(0x400);
    for (std::size_t i = 0; i < kick.size(); ++i) {
        kick[i] = static_cast<unsigned char>(i * 13);
        mac[i] = static_cast<unsigned char>(i * 29 + 1);
    }
    kick[0] = 0x11, kick[1] = 0x14, kick[2] = 0x4E, kick[3] = 0xF9;
    kick[0x10] = kick[0x11] = kick[0x12] = kick[0x13] = 0;   // where the checksum goes
    std::uint32_t carried = 0, words = 0;
    for (std::size_t at = 0; at < kick.size(); at += 4) {
        std::uint64_t total = std::uint64_t(carried) + longAt(kick, at);
        carried = std::uint32_t(total) + std::uint32_t(total >> 32);
    }
    for (int i = 0; i < 4; ++i)
        kick[0x10 + i] = static_cast<unsigned char>(~carried >> (24 - 8 * i));
    for (std::size_t at = 4; at < mac.size(); at += 2)
        words += std::uint32_t(mac[at]) << 8 | mac[at + 1];
    for (int i = 0; i < 4; ++i)
        mac[i] = static_cast<unsigned char>(words >> (24 - 8 * i));
    Bytes badKick = kick, badMac = mac;
    ++badKick[0x23];
    ++badMac[0x41];
    char macLine[80];
    std::snprintf(macLine, sizeof macLine, "Mac checksum: valid: stored 0x%08X, computed 0x%08X",
                  unsigned(words), unsigned(words));
    const std::pair<Bytes, std::string> rows[] = {
        {kick, "Kickstart checksum: valid"},
        {badKick, "Kickstart checksum: wrong: the image sums to 0x00000001, not 0xFFFFFFFF"},
        {mac, macLine},
        {badMac, ""},   // nothing but a right sum marks a Mac ROM
    };
    for (const auto& [image, line] : rows)
        EXPECT_EQ(imageChecksumLine(imageChecksum(image.data(), image.size())), line);
}

// CRC32 (the reflected 0xEDB88320 polynomial of zip and PNG), SHA-1 (RFC 3174) and byte
// sums, small enough that the program needs no library for them on any system.
#include "checksums.h"

#include <array>
#include <cstdint>
#include <cstdio>

static constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

static std::string hexWords(const std::uint32_t* words, std::size_t count)
{
    std::string hex;
    char word[9];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(word, sizeof word, "%08x", unsigned(words[i]));
        hex += word;
    }
    return hex;
}

std::string crc32Hex(const unsigned char* bytes, std::size_t count)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i)
        crc = kCrcTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    crc ^= 0xFFFFFFFFu;
    return hexWords(&crc, 1);
}

static std::uint32_t rotateLeft(std::uint32_t word, int bits)
{
    return (word << bits) | (word >> (32 - bits));
}

static void sha1Block(std::uint32_t state[5], const unsigned char block[64])
{
    std::uint32_t w[80];
    for (int t = 0; t < 16; ++t)
        w[t] = std::uint32_t(block[4 * t]) << 24 | std::uint32_t(block[4 * t + 1]) << 16 |
               std::uint32_t(block[4 * t + 2]) << 8 | block[4 * t + 3];
    for (int t = 16; t < 80; ++t)
        w[t] = rotateLeft(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    for (int t = 0; t < 80; ++t) {
        std::uint32_t f, k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        std::uint32_t next = rotateLeft(a, 5) + f + e + w[t] + k;
        e = d;
        d = c;
        c = rotateLeft(b, 30);
        b = a;
        a = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
}

// The message is padded with 0x80, zeros and its length in bits, big-endian, to whole blocks.
std::string sha1Hex(const unsigned char* bytes, std::size_t count)
{
    std::uint32_t state[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::size_t whole = count / 64 * 64;
    for (std::size_t at = 0; at < whole; at += 64)
        sha1Block(state, bytes + at);

    unsigned char tail[128] = {};
    std::size_t rest = count - whole;
    for (std::size_t i = 0; i < rest; ++i)
        tail[i] = bytes[whole + i];
    tail[rest] = 0x80;
    std::size_t tailSize = rest < 56 ? 64 : 128;
    std::uint64_t bits = std::uint64_t(count) * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailSize - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
    for (std::size_t at = 0; at < tailSize; at += 64)
        sha1Block(state, tail + at);
    return hexWords(state, 5);
}

static std::uint32_t byteSum(const unsigned char* bytes, std::size_t count)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return sum;
}

std::string sum16Hex(const unsigned char* bytes, std::size_t count)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", unsigned(byteSum(bytes, count) & 0xFFFF));
    return text;
}

std::string sum32Hex(const unsigned char* bytes, std::size_t count)
{
    std::uint32_t sum = byteSum(bytes, count);
    return hexWords(&sum, 1);
}

std::string checksumsText(const unsigned char* bytes, std::size_t count)
{
    return "crc32 " + crc32Hex(bytes, count) + ", sha1 " + sha1Hex(bytes, count) + ", sum16 " +
           sum16Hex(bytes, count) + ", sum32 " + sum32Hex(bytes, count);
}

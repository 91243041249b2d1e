// The checksums that Amiga Kickstart and Macintosh ROMs carry over themselves, from the sums
// of the bytes at each place of a 32-bit group: identify weighs them for every layout of its
// parts, split and merge for the image they read or write.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Place p holds the sum of the bytes at offsets 4k + p.
using PlaceSums = std::array<std::uint64_t, 4>;

PlaceSums placeSums(const unsigned char* bytes, std::size_t count);
// The Kickstart's sum: the big-endian longs added with end-around carry. 0xFFFFFFFF in a
// good ROM; 0 only when every long is.
std::uint32_t kickstartSum(const PlaceSums& sums);
// The Mac's sum: the big-endian 16-bit words after the first four bytes, modulo 2^32; a
// good ROM holds it in those four bytes.
std::uint32_t macSum(const PlaceSums& sums, const unsigned char first[4]);

enum class ImageChecksumKind { None, Kickstart, Mac };

struct ImageChecksum {
    ImageChecksumKind kind = ImageChecksumKind::None;
    bool valid = false;
    std::uint32_t stored = 0, computed = 0;
};

// A Kickstart is known by its first words (1111 4EF9 or 1114 4EF9), whatever its sum; a
// Mac ROM only by a right sum, since nothing else marks it.
ImageChecksum imageChecksum(const unsigned char* bytes, std::size_t count);
// "Kickstart checksum: valid" and the like, or "" for an image that carries none known.
std::string imageChecksumLine(const ImageChecksum& checksum);

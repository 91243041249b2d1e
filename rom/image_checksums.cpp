// The checksums that Amiga Kickstart and Macintosh ROMs carry over themselves.
#include "image_checksums.h"

#include <cstdio>

PlaceSums placeSums(const unsigned char* bytes, std::size_t count)
{
    PlaceSums sums{};
    for (std::size_t i = 0; i < count; ++i)
        sums[i % 4] += bytes[i];
    return sums;
}

// Adding with end-around carry is adding modulo 2^32 - 1, where 0xFFFFFFFF stands for 0
// once anything was added.
std::uint32_t kickstartSum(const PlaceSums& sums)
{
    std::uint64_t total = 0;
    bool any = false;
    for (std::size_t p = 0; p < 4; ++p) {
        total += (sums[p] << (8 * (3 - p))) % 0xFFFFFFFF;
        any |= sums[p] != 0;
    }
    std::uint32_t residue = std::uint32_t(total % 0xFFFFFFFF);
    return !any ? 0 : residue == 0 ? 0xFFFFFFFF : residue;
}

std::uint32_t macSum(const PlaceSums& sums, const unsigned char first[4])
{
    std::uint64_t words = (sums[0] << 8) + sums[1] + (sums[2] << 8) + sums[3];
    return std::uint32_t(words - (unsigned(first[0]) << 8 | first[1]) -
                         (unsigned(first[2]) << 8 | first[3]));
}

static std::uint32_t firstLong(const unsigned char* bytes)
{
    return std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
           std::uint32_t(bytes[2]) << 8 | bytes[3];
}

ImageChecksum imageChecksum(const unsigned char* bytes, std::size_t count)
{
    ImageChecksum checksum;
    if (count < 0x100 || count % 4 != 0)
        return checksum;
    PlaceSums sums = placeSums(bytes, count);
    std::uint32_t first = firstLong(bytes);
    if (first == 0x11114EF9 || first == 0x11144EF9) {
        checksum = {ImageChecksumKind::Kickstart, false, 0xFFFFFFFF, kickstartSum(sums)};
        checksum.valid = checksum.computed == checksum.stored;
    } else if (first != 0 && macSum(sums, bytes) == first) {
        checksum = {ImageChecksumKind::Mac, true, first, first};
    }
    return checksum;
}

std::string imageChecksumLine(const ImageChecksum& checksum)
{
    char text[96];
    switch (checksum.kind) {
    case ImageChecksumKind::None:
        return "";
    case ImageChecksumKind::Kickstart:
        if (checksum.valid)
            return "Kickstart checksum: valid";
        std::snprintf(text, sizeof text, "Kickstart checksum: wrong: the image sums to 0x%08X, not 0xFFFFFFFF",
                      unsigned(checksum.computed));
        return text;
    case ImageChecksumKind::Mac:
        std::snprintf(text, sizeof text, "Mac checksum: valid: stored 0x%08X, computed 0x%08X",
                      unsigned(checksum.stored), unsigned(checksum.computed));
        return text;
    }
    return "";
}

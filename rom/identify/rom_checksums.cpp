// Mac and Amiga ROM checksums, judged for every layout from the byte sums of the streams:
// a byte's weight in either sum depends only on its place within a 32-bit group, so no
// layout needs to be merged whole. A plain byte sum is the same in every layout and says
// nothing.
#include "rom_checksums.h"

#include <cstdio>

std::vector<std::uint64_t> sumStreams(const std::vector<Bytes>& parts, std::size_t laneSize)
{
    std::vector<std::uint64_t> sums(2 * parts.size());
    for (std::size_t part = 0; part < parts.size(); ++part) {
        for (std::size_t i = 0; i < laneSize; ++i)
            sums[2 * part + i % 2] += parts[part][i];
    }
    return sums;
}

std::string findChecksum(const std::vector<std::uint64_t>& streamSums,
                         const std::vector<Bytes>& parts, std::size_t laneSize,
                         const Layout& layout)
{
    // Whole 32-bit groups only; and blank parts, whose every sum comes out alike, say nothing.
    bool blank = true;
    for (std::uint64_t sum : streamSums)
        blank &= sum == 0 || sum == 0xFF * (laneSize / 2);
    if (laneSize % 2 != 0 || laneSize < 0x100 || blank)
        return "";
    std::vector<int> streams = streamsByPosition(layout);
    std::uint64_t words = 0, longs = 0;   // sums of the big-endian words and longs
    for (std::size_t p = 0; p < streams.size(); ++p) {
        std::uint64_t sum = streamSums[std::size_t(streams[p])];
        words += p % 2 == 0 ? sum << 8 : sum;
        longs += (sum << (8 * (3 - p % 4))) % 0xFFFFFFFF;
    }
    Bytes start = mergeWindow(parts, layout, 0, 4);
    std::uint32_t first = std::uint32_t(start[0]) << 24 | std::uint32_t(start[1]) << 16 |
                          std::uint32_t(start[2]) << 8 | start[3];
    std::uint32_t fromFour = std::uint32_t(words - (std::uint32_t(start[0]) << 8 | start[1]) -
                                           (std::uint32_t(start[2]) << 8 | start[3]));
    char text[96];
    // The Mac's first long is the sum of the big-endian words after it.
    if (first != 0 && first == fromFour) {
        std::snprintf(text, sizeof text, "a Mac ROM checksum: the first long, %08X, sums the words after it",
                      unsigned(first));
        return text;
    }
    // Amiga ROMs sum to 0xFFFFFFFF in longs with end-around carry, that is 0 modulo 2^32 - 1.
    if (longs % 0xFFFFFFFF == 0)
        return "an Amiga ROM checksum: its longs sum to FFFFFFFF with end-around carry";
    return "";
}

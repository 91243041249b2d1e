// Mac and Amiga ROM checksums, judged for every layout from the byte sums of the streams:
// a byte's weight in either sum depends only on its place within a 32-bit group, so no
// layout needs to be merged whole. A plain byte sum is the same in every layout and says
// nothing.
#include "rom_checksums.h"

#include "image_checksums.h"

#include <cstdio>

std::vector<std::uint64_t> sumStreams(const std::vector<Bytes>& parts, std::size_t laneSize)
{
    std::vector<std::uint64_t> sums(2 * parts.size());
    for (std::size_t part = 0; part < parts.size(); ++part) {
        const unsigned char* bytes = parts[part].data();
        std::uint64_t even = 0, odd = 0;
        for (std::size_t i = 0; i + 1 < laneSize; i += 2) {
            even += bytes[i];
            odd += bytes[i + 1];
        }
        if (laneSize % 2 != 0)
            even += bytes[laneSize - 1];
        sums[2 * part] = even;
        sums[2 * part + 1] = odd;
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
    PlaceSums sums{};   // of the merged image, each stream at its place in a 32-bit group
    for (std::size_t p = 0; p < streams.size(); ++p)
        sums[p % 4] += streamSums[std::size_t(streams[p])];
    Bytes start = mergeWindow(parts, layout, 0, 4);
    std::uint32_t first = std::uint32_t(start[0]) << 24 | std::uint32_t(start[1]) << 16 |
                          std::uint32_t(start[2]) << 8 | start[3];
    char text[96];
    // The Mac's first long is the sum of the big-endian words after it.
    if (first != 0 && first == macSum(sums, start.data())) {
        std::snprintf(text, sizeof text, "a Mac ROM checksum: the first long, %08X, sums the words after it",
                      unsigned(first));
        return text;
    }
    // Amiga ROMs sum to 0xFFFFFFFF in longs with end-around carry.
    if (kickstartSum(sums) == 0xFFFFFFFF)
        return "an Amiga ROM checksum: its longs sum to FFFFFFFF with end-around carry";
    return "";
}

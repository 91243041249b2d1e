#include "code_byte_order.h"

#include <cstdint>

namespace {

std::uint32_t valueAt(const Bytes& image, std::size_t at, std::size_t size, bool big)
{
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < size; ++k)
        value = value << 8 | image[at + (big ? k : size - 1 - k)];
    return value;
}

// mov.l @(disp, pc), rN, then within eight instructions bsrf, braf or jsr through rN; the
// literal counts when one half is 0000 or FFFF and the other is not: a small offset, or an
// address in the first 64 KiB, rather than those with their halves exchanged.
int smallCallLiterals(const Bytes& image, bool big)
{
    int count = 0;
    for (std::size_t at = 0; at + 2 <= image.size(); at += 2) {
        std::uint32_t load = valueAt(image, at, 2, big);
        if (load >> 12 != 0xD)
            continue;
        std::uint32_t reg = load >> 8 & 15;
        bool called = false;
        for (std::size_t next = at + 2; next < at + 18 && next + 2 <= image.size(); next += 2) {
            std::uint32_t word = valueAt(image, next, 2, big) & 0xF0FF;
            called |= word == (0x0003 | reg << 8) || word == (0x0023 | reg << 8) || word == (0x400B | reg << 8);
        }
        std::size_t literal = (at & ~std::size_t(3)) + 4 + (load & 0xFF) * 4;
        if (!called || literal + 4 > image.size())
            continue;
        std::uint32_t value = valueAt(image, literal, 4, big), high = value >> 16, low = value & 0xFFFF;
        count += (high == 0 || high == 0xFFFF) && low != 0 && low != 0xFFFF;
    }
    return count;
}

}  // namespace

std::vector<StructureCount> countByteOrderMarks(const Bytes& image)
{
    const char* what = "calls whose literal reads as a small offset or address";
    return {{"SuperH, big-endian", smallCallLiterals(image, true), what},
            {"SuperH, little-endian", smallCallLiterals(image, false), what}};
}

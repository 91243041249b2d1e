// Lane transforms: an image cut into units of Width bytes and dealt round-robin over the
// lanes, one lane per part, and the reverse. Unit parts*i + k of the image is unit i of lane k.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// A unit moves as one value of its width, so a compiler sees 16-bit lanes as it sees byte
// lanes, not as pairs of bytes to shuffle one by one.
template <std::size_t Width>
inline void copyUnit(unsigned char* __restrict to, const unsigned char* __restrict from)
{
    static_assert(Width == 1 || Width == 2);
    if constexpr (Width == 1) {
        *to = *from;
    } else {
        std::uint16_t unit;
        std::memcpy(&unit, from, sizeof unit);
        std::memcpy(to, &unit, sizeof unit);
    }
}

// The part count and width are compile-time constants and every pointer is restrict-qualified,
// with a pointer-wide index, so the compiler can prove the strided addresses never wrap or
// overlap and turn these loops into vector shuffles.
template <std::size_t Width, class... Byte>
inline void spreadLanes(const unsigned char* __restrict image, std::size_t units,
                        Byte* __restrict... lanes)
{
    static_assert((std::is_same_v<Byte, unsigned char> && ...));
    constexpr std::size_t parts = sizeof...(lanes);
    for (std::size_t i = 0; i < units; ++i) {
        const unsigned char* group = image + i * parts * Width;
        std::size_t k = 0;
        (copyUnit<Width>(lanes + i * Width, group + Width * k++), ...);
    }
}

template <std::size_t Width, class... Byte>
inline void gatherLanes(unsigned char* __restrict image, std::size_t units,
                        const Byte* __restrict... lanes)
{
    static_assert((std::is_same_v<Byte, unsigned char> && ...));
    constexpr std::size_t parts = sizeof...(lanes);
    for (std::size_t i = 0; i < units; ++i) {
        unsigned char* group = image + i * parts * Width;
        std::size_t k = 0;
        (copyUnit<Width>(group + Width * k++, lanes + i * Width), ...);
    }
}

// The same transforms with the layout chosen at run time: 2 or 4 parts, units of 1 or 2
// bytes. A lane holds laneSize bytes, a whole number of units; the image parts * laneSize.
struct LaneLayout {
    int parts;
    int width;
};

std::size_t laneSizeFor(std::size_t imageSize, LaneLayout layout);
void spreadImage(const unsigned char* image, unsigned char* const lanes[], std::size_t laneSize,
                 LaneLayout layout);
void gatherImage(unsigned char* image, const unsigned char* const lanes[], std::size_t laneSize,
                 LaneLayout layout);
void swapBytePairs(unsigned char* bytes, std::size_t count);

// The 2 MiB work area: the image region, the part lanes, and the transforms between them.
#pragma once

#include <cstdint>

constexpr std::uint32_t kWorkAreaSize = 0x200000;
constexpr std::uint32_t kImageRegionSize = 0x100000;

void clearWorkArea();
std::uint32_t partSizeForImage(std::uint32_t imageSize, unsigned char fourParts);
std::uint32_t laneExtent(unsigned char fourParts);
void splitImage(std::uint32_t partSize, unsigned char fourParts);
void mergeParts(std::uint32_t partSize, unsigned char fourParts);

unsigned char* imageRegion();
unsigned char* lane(int k);

unsigned char fourPartFlag();
void setFourPartFlag(unsigned char fourParts);

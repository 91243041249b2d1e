// Checksums that Mac and Amiga ROMs carry, which hold only with every byte in its place.
#pragma once

#include "layouts.h"

#include <cstdint>
#include <string>
#include <vector>

// The sum of the bytes of each stream: the even and the odd bytes of every part.
std::vector<std::uint64_t> sumStreams(const std::vector<Bytes>& parts, std::size_t laneSize);
// Which checksum the image of this layout satisfies, or "".
std::string findChecksum(const std::vector<std::uint64_t>& streamSums,
                         const std::vector<Bytes>& parts, std::size_t laneSize,
                         const Layout& layout);

// How predictable each byte of a layout's image is from the one before, measured per
// position within the group of lanes, on samples of equal size for every layout.
#pragma once

#include "layouts.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

constexpr int kBlocks = 8;
using BlockBits = std::array<double, kBlocks>;

struct PairStatistics {
    std::size_t samplesPerBlock = 0;
    std::vector<BlockBits> layouts;   // bits per byte, per block, in the order of the layouts
    BlockBits unrelated{};            // the same measure for bytes that do not follow each other
    std::vector<double> nearlyEqual;  // per layout, the share of neighbours within 2 of each other
};

PairStatistics measurePairs(const std::vector<Bytes>& parts, std::size_t laneSize,
                            const std::vector<Layout>& layouts);
double meanBits(const BlockBits& bits);
// A figure of bits for the report, with the given decimals.
std::string bitsText(double bits, int decimals);

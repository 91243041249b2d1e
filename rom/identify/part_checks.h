// Faults of a single part that show whatever its layout: blank, a stuck data line, or an
// image for a smaller chip.
#pragma once

#include "layouts.h"

#include <string>
#include <vector>

struct ConstantBits {
    unsigned char set = 0xFF, clear = 0xFF;   // the bits set in every byte, clear in every byte
};

// Of the bytes at 0, step, 2 * step, ... below count: all 0xFF give set == 0xFF, all 0x00
// clear == 0xFF.
ConstantBits constantBits(const unsigned char* bytes, std::size_t count, std::size_t step = 1);
// One sentence per finding, without the part's name.
std::vector<std::string> checkPart(const Bytes& part);

// A board's chips as banks in address order: each bank takes the next range of the image and
// deals it over its lanes, one chip per lane, as split deals an image over its parts.
#pragma once

#include "part_images.h"

#include <cstddef>
#include <string>
#include <vector>

struct Bank {
    std::size_t size = 0;        // the bytes of the image it holds, whole groups of its lanes
    int lanes = 2;               // 1, 2 or 4
    int width = 1;               // bytes per unit of a lane
    bool swap = false;           // each word's two bytes exchanged in the chips
    std::size_t fillTo = 0;      // each chip's size, 0 for its share alone
    unsigned char fill = 0xFF;   // an erased EPROM, unless the layout gives another
    bool mirror = false;
    std::vector<std::string> chips;   // one name per lane, lane 1 first
};

struct BoardLayout {
    std::vector<Bank> banks;
};

// The bytes of the image each chip of the bank holds.
std::size_t chipShare(const Bank& bank);
// The chip's file size: its share, or the chip's size when the bank fills to one.
std::size_t chipSize(const Bank& bank);
std::size_t layoutSize(const BoardLayout& layout);
// The bank as split and merge take one row of chips.
PartShape bankShape(const Bank& bank);

// The 32-bit structure of 16-bit code, which its 16-bit words alone do not show: layouts that
// move whole 16-bit words keep every word intact but break the instructions of two or three
// words apart.
#pragma once

#include "layouts.h"

#include <cstddef>
#include <string>
#include <vector>

struct StructureCount {
    std::string cpu;    // as the table of instruction words names it: "68000, big-endian"
    int count = 0;
    std::string what;   // what was counted
};

// For each CPU, how many of its multi-word instructions the image holds whole: 68000 jumps,
// calls and address loads whose absolute target lands inside an image of imageSize bytes,
// and Thumb-2 branches, calls, pushes and pops whose first halfword stands before a second
// that fits it; and the pairs of instructions it holds in the order compilers emit them.
// The image may be a sample of the whole.
std::vector<StructureCount> countCodeStructure(const Bytes& image, std::size_t imageSize);
// The count of the CPU that the instruction words name, or an empty count: alone, the
// structure of one CPU turns up by chance in other code, such as Thumb-2 calls in
// byte-swapped x86-64 code.
StructureCount structureOf(const std::vector<StructureCount>& counts, const std::string& cpu);

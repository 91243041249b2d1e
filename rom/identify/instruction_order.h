// The order of instructions: pairs that compilers emit one right after the other and seldom
// the other way round, such as a compare and the branch on its outcome. A layout that keeps
// every instruction whole but exchanges neighbours, as a wrong order of four word lanes does
// with the two 32-bit instructions of each 64-bit group, breaks these pairs.
#pragma once

#include "layouts.h"

#include <string>
#include <vector>

struct OrderedPairs {
    std::string cpu;    // as the table of instruction words names it: "MIPS, big-endian"
    int count = 0;      // pairs in order, as many at every offset within 64-bit groups
    std::string what;   // the kinds of pair counted
};

std::vector<OrderedPairs> countOrderedPairs(const Bytes& image);

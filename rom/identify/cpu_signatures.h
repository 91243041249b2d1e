// The most common instruction words of several CPUs, in the byte order each runs, counted
// where that CPU's instructions are aligned.
#pragma once

#include "layouts.h"

#include <string>
#include <vector>

struct CpuWords {
    std::string cpu;                  // the CPU and byte order
    int matches = 0;                  // matches of its words
    int beyondMostCommon = 0;         // the same, less those of its most common word
    std::vector<std::string> words;   // its words found most, with their counts
};

struct InstructionCount {
    std::string cpu;                  // the CPU and byte order with the most matches
    int matches = 0;                  // matches of every CPU's words
    int cpuMatches = 0;               // matches of that CPU's words
    int beyondMostCommon = 0;         // the same, less those of its most common word
    std::vector<std::string> words;   // that CPU's words found most, with their counts
    bool aligned = false;             // that CPU's words have a fixed alignment, unlike x86's
    std::vector<CpuWords> byCpu;      // every CPU with a match
};

// The words of that CPU in the count, or none.
CpuWords wordsOf(const InstructionCount& count, const std::string& cpu);

InstructionCount countInstructions(const Bytes& image);

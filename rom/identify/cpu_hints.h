// The CPUs a user may name with --cpu, and what of the contents each one vouches for.
#pragma once

#include <string>
#include <vector>

struct CpuHint {
    const char* name;          // as given to --cpu
    const char* description;   // the CPUs it stands for and their byte order
    const char* cpu;           // its instruction words' key, "MIPS, big-endian"
    const char* family;        // "MIPS": the same code in both byte orders shares it
};

// Every name, in the order the help lists them.
const std::vector<CpuHint>& cpuHints();
// The hint of that name, or null.
const CpuHint* findCpuHint(const std::string& name);
// The hint whose instruction words carry this key, or null.
const CpuHint* hintForCpu(const std::string& cpu);
// The other instruction set of the same core in the same byte order, ARM's Thumb and
// Thumb's ARM, or null: a board named for one runs the other in the order it was named with.
const CpuHint* companionHint(const CpuHint& hint);
// Whether a header, as findHeader or findChecksum word it, is one this CPU starts from.
bool headerOfCpu(const std::string& header, const CpuHint& hint);

// The board's CPU as the user names it: its instruction words' key and its headers.
#include "cpu_hints.h"

namespace {

const std::vector<CpuHint> kHints = {
    {"68000", "68000 family, CPU32, ColdFire; big-endian", "68000, big-endian", "68000"},
    {"x86", "8086 to x86-64; little-endian", "x86, little-endian", "x86"},
    {"arm", "ARM, 32-bit instructions; little-endian", "ARM, little-endian", "ARM"},
    {"arm-be", "ARM, 32-bit instructions; big-endian", "ARM, big-endian", "ARM"},
    {"thumb", "Thumb, Thumb-2; little-endian", "Thumb, little-endian", "Thumb"},
    {"thumb-be", "Thumb, Thumb-2; big-endian (BE-32)", "Thumb, big-endian", "Thumb"},
    {"aarch64", "AArch64; little-endian", "AArch64, little-endian", "AArch64"},
    {"aarch64-be", "AArch64; big-endian", "AArch64, big-endian", "AArch64"},
    {"mips", "MIPS; big-endian", "MIPS, big-endian", "MIPS"},
    {"mips-le", "MIPS; little-endian", "MIPS, little-endian", "MIPS"},
    {"ppc", "PowerPC; big-endian", "PowerPC, big-endian", "PowerPC"},
    {"ppc-le", "PowerPC; little-endian (ppc64el)", "PowerPC, little-endian", "PowerPC"},
    {"sparc", "SPARC; big-endian", "SPARC, big-endian", "SPARC"},
    {"riscv", "RISC-V; little-endian", "RISC-V, little-endian", "RISC-V"},
    {"sh", "SuperH: SH-2, SH-3; big-endian", "SuperH, big-endian", "SuperH"},
    {"sh-le", "SuperH: SH-4; little-endian", "SuperH, little-endian", "SuperH"},
    {"alpha", "Alpha; little-endian", "Alpha, little-endian", "Alpha"},
};

// The headers each CPU starts from, by the words they are reported in. ARM exception
// vectors are ARM code, which a Thumb program starts from too.
struct HeaderWord {
    const char* family;
    const char* word;
};

const HeaderWord kHeaderWords[] = {
    {"68000", "68000 vector table"}, {"68000", "Mac ROM"}, {"68000", "Amiga ROM"},
    {"x86", "x86 reset"}, {"x86", "option-ROM"},
    {"ARM", "ARM exception vectors"}, {"Thumb", "ARM exception vectors"},
};

}  // namespace

const std::vector<CpuHint>& cpuHints()
{
    return kHints;
}

const CpuHint* findCpuHint(const std::string& name)
{
    for (const CpuHint& hint : kHints) {
        if (name == hint.name)
            return &hint;
    }
    return nullptr;
}

const CpuHint* hintForCpu(const std::string& cpu)
{
    for (const CpuHint& hint : kHints) {
        if (cpu == hint.cpu)
            return &hint;
    }
    return nullptr;
}

const CpuHint* companionHint(const CpuHint& hint)
{
    static const char* const kCompanions[][2] = {{"arm", "thumb"}, {"arm-be", "thumb-be"}};
    for (const auto& pair : kCompanions) {
        for (int k = 0; k < 2; ++k) {
            if (std::string(hint.name) == pair[k])
                return findCpuHint(pair[1 - k]);
        }
    }
    return nullptr;
}

bool headerOfCpu(const std::string& header, const CpuHint& hint)
{
    // ARM vectors are read in both byte orders, and say which; a Thumb program of either order
    // starts from the ARM vectors of that order.
    bool big = std::string(hint.cpu).find("big-endian") != std::string::npos;
    if (header.find("ARM exception vectors") != std::string::npos &&
        big != (header.find("(big-endian)") != std::string::npos))
        return false;
    for (const HeaderWord& word : kHeaderWords) {
        if (std::string(word.family) == hint.family && header.find(word.word) != std::string::npos)
            return true;
    }
    return false;
}

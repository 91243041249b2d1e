#include "instruction_order.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace {

using Word = std::uint32_t;

// Each takes two neighbouring instructions, as the CPU reads them, and tells whether they
// form one of its pairs in the order compilers emit them. The pairs were chosen on the
// code of Debian's cross-compiled libraries, where each stands in this order at least ten
// times as often as in the other.

// MIPS: the global pointer set up, a call through the GOT, and slt/sltu/slti/sltiu/andi
// followed by beqz/bnez on the register it set.
bool mipsPair(Word a, Word b)
{
    if (a >> 16 == 0x3C1C)
        return b >> 16 == 0x279C;   // lui gp; addiu gp, gp
    if (a >> 16 == 0x8F99)
        return b == 0x0320F809;     // lw t9; jalr t9
    Word op = a >> 26, set = 0;
    if (op == 10 || op == 11 || op == 12)
        set = a >> 16 & 31;
    else if (op == 0 && ((a & 63) == 42 || (a & 63) == 43))
        set = a >> 11 & 31;
    return set != 0 && (b >> 26 == 4 || b >> 26 == 5) && (b >> 21 & 31) == set && (b >> 16 & 31) == 0;
}

// Alpha: the global pointer reloaded after a call and set up at a function's start, a call
// through the procedure value, the frame freed before ret, and cmpXX before beq/bne on it.
bool alphaPair(Word a, Word b)
{
    Word high = a >> 16;
    if (high == 0x6B5B)
        return b >> 16 == 0x27BA;   // jsr ra, (t12); ldah gp, N(ra)
    if (high == 0x27BA || high == 0x27BB)
        return b >> 16 == 0x23BD;   // ldah gp; lda gp, N(gp)
    if (high == 0xA77D)
        return b >> 16 == 0x6B5B;   // ldq t12, N(gp); jsr ra, (t12)
    if (high == 0x23DE)
        return (a & 0x8000) == 0 && b == 0x6BFA8001;   // lda sp, +N(sp); ret
    Word function = a >> 5 & 0x7F;
    bool compare = a >> 26 == 0x10 && (function == 0x2D || function == 0x4D || function == 0x6D ||
                                       function == 0x1D || function == 0x3D);
    return compare && (b >> 26 == 0x39 || b >> 26 == 0x3D) && (b >> 21 & 31) == (a & 31);
}

// AArch64: the frame record saved and freed, adrp and the add or load of its page offset,
// and cmp/cmn/tst before b.cond or a conditional select.
bool aarch64Pair(Word a, Word b)
{
    if ((a & 0xFFC07FFF) == 0xA8C07BFD)
        return b == 0xD65F03C0;   // ldp x29, x30, [sp], #N; ret
    if ((a & 0xFFC07FFF) == 0xA9807BFD)
        return b == 0x910003FD;   // stp x29, x30, [sp, #-N]!; mov x29, sp
    if ((a & 0x9F000000) == 0x90000000) {
        Word reg = a & 31;
        return ((b & 0xFFC00000) == 0x91000000 && (b & 31) == reg && (b >> 5 & 31) == reg) ||
               ((b & 0xFFC00000) == 0xF9400000 && (b >> 5 & 31) == reg);
    }
    Word immediate = a & 0x7F80001F, shifted = a & 0x7F20001F;
    bool compare = immediate == 0x7100001F || immediate == 0x7200001F || immediate == 0x3100001F ||
                   shifted == 0x6B00001F || shifted == 0x6A00001F || shifted == 0x2B00001F;
    return compare && ((b & 0xFF000010) == 0x54000000 || (b & 0x3FE00000) == 0x1A800000);
}

// ARM: a frame made after push {..., lr} and freed before pop {..., pc}, movw before movt of
// the same register, and cmp/cmn/tst/teq before a conditional branch within 8 KiB, as
// branches in a function are. The reach matters: a layout that exchanges the two low
// bytes of each word keeps cmp rN, #0 and the branch after it, but sends the branch afar.
bool armPair(Word a, Word b)
{
    if ((a & 0xFFFF4000) == 0xE92D4000)
        return (b & 0xFFFFF000) == 0xE24DD000 || (b & 0xFFFFF000) == 0xE28DB000;
    if ((a & 0xFFFFF000) == 0xE28DD000)
        return (b & 0xFFFF8000) == 0xE8BD8000;
    if ((a & 0xFFF00000) == 0xE3000000)
        return (b & 0xFFF00000) == 0xE3400000 && (a >> 12 & 15) == (b >> 12 & 15);
    std::uint32_t reach = (b & 0x00800000) != 0 ? ~b & 0x00FFFFFF : b & 0x00FFFFFF;
    return (a & 0xFD90F000) == 0xE1100000 && (b & 0x0F000000) == 0x0A000000 && b >> 28 < 0xE &&
           reach < 0x800;
}

// PowerPC: the link register saved and restored around a frame, lis before addi of the same
// register, and cmp/cmpl/andi. before a conditional branch.
bool powerPcPair(Word a, Word b)
{
    if (a == 0x7C0802A6)
        return b >> 16 == 0x9001 || b >> 16 == 0xF801;   // mflr r0; stw/std r0, N(r1)
    if (a >> 16 == 0x9421 && (a & 0x8000) != 0)
        return b == 0x7C0802A6;                          // stwu r1, -N(r1); mflr r0
    if (a == 0x7C0803A6 || a >> 16 == 0x3821)
        return b == 0x4E800020;                          // mtlr r0 or addi r1, r1, N; blr
    Word op = a >> 26;
    if (op == 15 && (a >> 16 & 31) == 0)
        return b >> 26 == 14 && (b >> 21 & 31) == (a >> 21 & 31) && (b >> 16 & 31) == (a >> 21 & 31);
    bool compare = op == 10 || op == 11 || op == 28 || (a & 0xFC0007FE) == 0x7C000000 ||
                   (a & 0xFC0007FE) == 0x7C000040;
    return compare && b >> 26 == 16;
}

// SPARC: restore in the delay slot of ret, and cmp/btst before a conditional branch.
bool sparcPair(Word a, Word b)
{
    if (a == 0x81C7E008)
        return (b & 0xC1F80000) == 0x81E80000;
    Word condition = b >> 25 & 15, format = b >> 22 & 7;
    return ((a & 0xFFF80000) == 0x80A00000 || (a & 0xFFF80000) == 0x80880000) && b >> 30 == 0 &&
           (format == 1 || format == 2) && condition != 0 && condition != 8;
}

// SuperH: registers pushed in rising and popped in falling order, a frame made after pr is
// saved, pops after pr is restored, and a compare before bt/bf.
bool superHPair(Word a, Word b)
{
    if ((a & 0xFF0F) == 0x2F06)   // mov.l rN, @-r15
        return (b & 0xFF0F) == 0x2F06 && (b >> 4 & 15) == (a >> 4 & 15) + 1;
    if ((a & 0xF0FF) == 0x60F6)   // mov.l @r15+, rN
        return (b & 0xF0FF) == 0x60F6 && (a >> 8 & 15) == (b >> 8 & 15) + 1;
    if (a == 0x4F22)
        return (b & 0xFF80) == 0x7F80;   // sts.l pr, @-r15; add #-N, r15
    if (a == 0x4F26)
        return (b & 0xF0FF) == 0x60F6;   // lds.l @r15+, pr; mov.l @r15+, rN
    Word low = a & 0xF00F;
    bool compare = low == 0x3000 || low == 0x3002 || low == 0x3003 || low == 0x3006 || low == 0x3007 ||
                   low == 0x2008 || a >> 8 == 0x88 || a >> 8 == 0xC8 || (a & 0xF0FF) == 0x4011 ||
                   (a & 0xF0FF) == 0x4015 || (a & 0xF0FF) == 0x4010;
    Word branch = b >> 8;
    return compare && (branch == 0x89 || branch == 0x8B || branch == 0x8D || branch == 0x8F);
}

// 68000: the frame freed or a register popped before rts, and tst/cmp of a data or address
// register before a Bcc to an even address. The low bytes are checked as closely as the
// high ones, since a layout that exchanges the low bytes of two neighbours keeps the latter.
bool m68000Pair(Word a, Word b)
{
    if (a == 0x4E5E || (a & 0xF1BF) == 0x201F)
        return b == 0x4E75;
    bool compare = (((a & 0xFF00) == 0x4A00 && (a & 0xC0) != 0xC0) || (a & 0xF1C0) == 0xB000 ||
                    (a & 0xF1C0) == 0xB040 || (a & 0xF1C0) == 0xB080) &&
                   (a & 0x30) == 0;
    return compare && (b & 0xF000) == 0x6000 && (b >> 8 & 15) >= 2 && (b & 1) == 0;
}

// RISC-V, its 16-bit compressed instructions among the 32-bit ones: auipc or lui before the
// addi, jalr or load that completes its address, a frame made before ra is saved and freed
// before ret, and slt/sltu/slti/sltiu before a branch on the register it set.
bool riscVPair(Word a, Word b)
{
    auto wide = [](Word w) { return (w & 3) == 3; };
    auto frame = [&](Word w, bool grows) {   // addi sp, sp, N; c.addi16sp N; c.addi sp, N
        if (wide(w))
            return (w & 0x000FFFFF) == 0x00010113 && (w >> 31 == 1) == grows;
        return ((w & 0xEF83) == 0x6101 || (w & 0xEF83) == 0x0101) && (w >> 12 & 1) == grows;
    };
    if (wide(a) && ((a & 0x7F) == 0x17 || (a & 0x7F) == 0x37)) {
        Word reg = a >> 7 & 31, kind = b & 0x707F;
        bool completes = kind == 0x13 || kind == 0x1B || kind == 0x67 || kind == 0x2003 || kind == 0x3003;
        return wide(b) && reg != 0 && completes && (b >> 15 & 31) == reg;
    }
    if (frame(a, true))
        return (wide(b) && (b & 0x01FFF07F) == 0x00113023) || (!wide(b) && (b & 0xE07F) == 0xE006);
    if (frame(a, false))
        return b == 0x8082 || b == 0x00008067;
    Word set = 0;
    if (wide(a) && ((a & 0xFE00707F) == 0x2033 || (a & 0xFE00707F) == 0x3033 || (a & 0x707F) == 0x2013 ||
                    (a & 0x707F) == 0x3013))
        set = a >> 7 & 31;
    if (set == 0)
        return false;
    if (wide(b))
        return ((b & 0x707F) == 0x63 || (b & 0x707F) == 0x1063) && (b >> 15 & 31) == set && (b >> 20 & 31) == 0;
    return ((b & 0xE003) == 0xC001 || (b & 0xE003) == 0xE001) && 8 + (b >> 7 & 7) == set;
}

// Reads instruction words as the CPU does and counts its pairs apart at each offset within
// 64-bit groups, since a wrong layout keeps the pairs at some offsets and breaks them at
// others: only the fewest count, times the number of offsets. The word size, byte order and
// pair are fixed at compile time, so each word is one load and the pair is inlined: this
// runs over every layout's sample.
template <std::size_t kUnit, bool kBig, bool (*kPair)(Word, Word), bool kMixed = false>
int pairsByOffset(const Bytes& image)
{
    auto wordAt = [&](std::size_t at) {
        Word word = 0;
        for (std::size_t k = 0; k < kUnit; ++k)
            word = word << 8 | image[at + (kBig ? k : kUnit - 1 - k)];
        return word;
    };
    constexpr std::size_t kOffsets = 8 / kUnit;
    std::array<int, 4> byOffset{};
    Word previous = 0;
    std::size_t previousAt = 0;
    for (std::size_t at = 0; at + kUnit <= image.size();) {
        Word word = wordAt(at);
        std::size_t length = kUnit;
        // 32-bit instructions among the 16-bit ones have their low bits 11.
        if (kMixed && (word & 3) == 3) {
            if (at + 2 * kUnit > image.size())
                break;
            word |= wordAt(at + kUnit) << 16;
            length *= 2;
        }
        if (at > 0 && kPair(previous, word))
            ++byOffset[previousAt / kUnit % kOffsets];
        previous = word;
        previousAt = at;
        at += length;
    }
    return int(kOffsets) * *std::min_element(byOffset.begin(), byOffset.begin() + kOffsets);
}

struct PairedCode {
    const char* cpu;
    int (*count)(const Bytes&);
    const char* what;
};

const PairedCode kPairedCode[] = {
    {"MIPS, big-endian", pairsByOffset<4, true, mipsPair>, "GOT calls, gp set-ups and compare-branch pairs in order"},
    {"MIPS, little-endian", pairsByOffset<4, false, mipsPair>, "GOT calls, gp set-ups and compare-branch pairs in order"},
    {"Alpha, little-endian", pairsByOffset<4, false, alphaPair>, "calls, gp reloads and compare-branch pairs in order"},
    {"AArch64, little-endian", pairsByOffset<4, false, aarch64Pair>, "frame, adrp and compare-branch pairs in order"},
    {"AArch64, big-endian", pairsByOffset<4, true, aarch64Pair>, "frame, adrp and compare-branch pairs in order"},
    {"ARM, little-endian", pairsByOffset<4, false, armPair>, "frame, movw/movt and compare-branch pairs in order"},
    {"ARM, big-endian", pairsByOffset<4, true, armPair>, "frame, movw/movt and compare-branch pairs in order"},
    {"PowerPC, big-endian", pairsByOffset<4, true, powerPcPair>, "frame, lis/addi and compare-branch pairs in order"},
    {"PowerPC, little-endian", pairsByOffset<4, false, powerPcPair>, "frame, lis/addi and compare-branch pairs in order"},
    {"SPARC, big-endian", pairsByOffset<4, true, sparcPair>, "ret/restore and compare-branch pairs in order"},
    {"SuperH, big-endian", pairsByOffset<2, true, superHPair>, "push, pop and compare-branch pairs in order"},
    {"SuperH, little-endian", pairsByOffset<2, false, superHPair>, "push, pop and compare-branch pairs in order"},
    {"68000, big-endian", pairsByOffset<2, true, m68000Pair>, "return and compare-branch pairs in order"},
    {"RISC-V, little-endian", pairsByOffset<2, false, riscVPair, true>,
     "address, frame and compare-branch pairs in order"},
};

}  // namespace

std::vector<OrderedPairs> countOrderedPairs(const Bytes& image)
{
    std::vector<OrderedPairs> counts;
    for (const PairedCode& code : kPairedCode)
        counts.push_back({code.cpu, code.count(image), code.what});
    return counts;
}

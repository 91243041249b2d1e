// Instruction words that compilers emit in nearly every function: returns, stack frames,
// no-ops. Each is matched at its CPU's alignment in the byte order the CPU reads, so a
// big-endian image and its byte-swapped twin, which byte statistics cannot tell apart,
// match different words.
#include "cpu_signatures.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>

namespace {

struct Signature {
    const char* cpu;
    const char* name;
    unsigned char bytes[4];
    unsigned char mask[4];
    int length;
    int alignment;
};


const Signature kSignatures[] = {
    {"68000, big-endian", "RTS 4E75", {0x4E, 0x75}, {0xFF, 0xFF}, 2, 2},
    {"68000, big-endian", "LINK A6 4E56", {0x4E, 0x56}, {0xFF, 0xFF}, 2, 2},
    {"68000, big-endian", "UNLK A6 4E5E", {0x4E, 0x5E}, {0xFF, 0xFF}, 2, 2},
    {"68000, big-endian", "MOVEM.L -(SP) 48E7", {0x48, 0xE7}, {0xFF, 0xFF}, 2, 2},
    {"68000, big-endian", "MOVEM.L (SP)+ 4CDF", {0x4C, 0xDF}, {0xFF, 0xFF}, 2, 2},
    {"MIPS, big-endian", "jr ra 03E00008", {0x03, 0xE0, 0x00, 0x08}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"MIPS, big-endian", "addiu sp 27BDFFxx", {0x27, 0xBD, 0xFF}, {0xFF, 0xFF, 0xFF}, 3, 4},
    {"MIPS, big-endian", "sw ra AFBFxxxx", {0xAF, 0xBF}, {0xFF, 0xFF}, 2, 4},
    {"MIPS, big-endian", "lw ra 8FBFxxxx", {0x8F, 0xBF}, {0xFF, 0xFF}, 2, 4},
    {"MIPS, little-endian", "jr ra 03E00008", {0x08, 0x00, 0xE0, 0x03}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"MIPS, little-endian", "addiu sp 27BDFFxx", {0, 0xFF, 0xBD, 0x27}, {0, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"MIPS, little-endian", "sw ra AFBFxxxx", {0, 0, 0xBF, 0xAF}, {0, 0, 0xFF, 0xFF}, 4, 4},
    {"MIPS, little-endian", "lw ra 8FBFxxxx", {0, 0, 0xBF, 0x8F}, {0, 0, 0xFF, 0xFF}, 4, 4},
    {"PowerPC, big-endian", "blr 4E800020", {0x4E, 0x80, 0x00, 0x20}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"PowerPC, big-endian", "mflr r0 7C0802A6", {0x7C, 0x08, 0x02, 0xA6}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"PowerPC, big-endian", "mtlr r0 7C0803A6", {0x7C, 0x08, 0x03, 0xA6}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"PowerPC, big-endian", "stwu r1 9421xxxx", {0x94, 0x21}, {0xFF, 0xFF}, 2, 4},
    {"SPARC, big-endian", "ret 81C7E008", {0x81, 0xC7, 0xE0, 0x08}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"SPARC, big-endian", "retl 81C3E008", {0x81, 0xC3, 0xE0, 0x08}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"SPARC, big-endian", "save 9DE3Bxxx", {0x9D, 0xE3, 0xB0}, {0xFF, 0xFF, 0xF0}, 3, 4},
    {"ARM, little-endian", "bx lr E12FFF1E", {0x1E, 0xFF, 0x2F, 0xE1}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"ARM, little-endian", "push E92Dxxxx", {0, 0, 0x2D, 0xE9}, {0, 0, 0xFF, 0xFF}, 4, 4},
    {"ARM, little-endian", "pop E8BDxxxx", {0, 0, 0xBD, 0xE8}, {0, 0, 0xFF, 0xFF}, 4, 4},
    {"ARM, big-endian", "bx lr E12FFF1E", {0xE1, 0x2F, 0xFF, 0x1E}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"ARM, big-endian", "push E92Dxxxx", {0xE9, 0x2D}, {0xFF, 0xFF}, 2, 4},
    {"ARM, big-endian", "pop E8BDxxxx", {0xE8, 0xBD}, {0xFF, 0xFF}, 2, 4},
    {"Thumb, little-endian", "bx lr 4770", {0x70, 0x47}, {0xFF, 0xFF}, 2, 2},
    {"Thumb, little-endian", "push.w E92D", {0x2D, 0xE9}, {0xFF, 0xFF}, 2, 2},
    {"Thumb, little-endian", "pop.w E8BD", {0xBD, 0xE8}, {0xFF, 0xFF}, 2, 2},
    {"AArch64, little-endian", "ret D65F03C0", {0xC0, 0x03, 0x5F, 0xD6}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"AArch64, little-endian", "stp x29, x30 A9xx7BFD", {0xFD, 0x7B, 0, 0xA9}, {0xFF, 0xFF, 0, 0xFF}, 4, 4},
    {"AArch64, little-endian", "ldp x29, x30 A8xx7BFD", {0xFD, 0x7B, 0, 0xA8}, {0xFF, 0xFF, 0, 0xFF}, 4, 4},
    {"AArch64, little-endian", "nop D503201F", {0x1F, 0x20, 0x03, 0xD5}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"RISC-V, little-endian", "c.jr ra 8082", {0x82, 0x80}, {0xFF, 0xFF}, 2, 2},
    {"RISC-V, little-endian", "ret 00008067", {0x67, 0x80, 0x00, 0x00}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 2},
    {"RISC-V, little-endian", "c.addi16sp 7139", {0x39, 0x71}, {0xFF, 0xFF}, 2, 2},
    {"SuperH, big-endian", "rts; nop 000B0009", {0x00, 0x0B, 0x00, 0x09}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 2},
    {"SuperH, big-endian", "rts; mov.l @r15+ 000B6xF6", {0x00, 0x0B, 0x60, 0xF6}, {0xFF, 0xFF, 0xF0, 0xFF}, 4, 2},
    {"SuperH, big-endian", "mov.l @r15+; rts 6xF6000B", {0x60, 0xF6, 0x00, 0x0B}, {0xF0, 0xFF, 0xFF, 0xFF}, 4, 2},
    {"SuperH, big-endian", "sts.l pr,@-r15 4F22", {0x4F, 0x22}, {0xFF, 0xFF}, 2, 2},
    {"SuperH, big-endian", "lds.l @r15+,pr 4F26", {0x4F, 0x26}, {0xFF, 0xFF}, 2, 2},
    {"SuperH, big-endian", "mov.l rN,@-r15 twice 2Fx62Fx6", {0x2F, 0x06, 0x2F, 0x06}, {0xFF, 0x0F, 0xFF, 0x0F}, 4, 2},
    {"SuperH, big-endian", "mov.l @r15+,rN twice 6xF66xF6", {0x60, 0xF6, 0x60, 0xF6}, {0xF0, 0xFF, 0xF0, 0xFF}, 4, 2},
    {"SuperH, little-endian", "rts; nop 000B0009", {0x0B, 0x00, 0x09, 0x00}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 2},
    {"SuperH, little-endian", "rts; mov.l @r15+ 000B6xF6", {0x0B, 0x00, 0xF6, 0x60}, {0xFF, 0xFF, 0xFF, 0xF0}, 4, 2},
    {"SuperH, little-endian", "mov.l @r15+; rts 6xF6000B", {0xF6, 0x60, 0x0B, 0x00}, {0xFF, 0xF0, 0xFF, 0xFF}, 4, 2},
    {"SuperH, little-endian", "sts.l pr,@-r15 4F22", {0x22, 0x4F}, {0xFF, 0xFF}, 2, 2},
    {"SuperH, little-endian", "lds.l @r15+,pr 4F26", {0x26, 0x4F}, {0xFF, 0xFF}, 2, 2},
    {"SuperH, little-endian", "mov.l rN,@-r15 twice 2Fx62Fx6", {0x06, 0x2F, 0x06, 0x2F}, {0x0F, 0xFF, 0x0F, 0xFF}, 4, 2},
    {"SuperH, little-endian", "mov.l @r15+,rN twice 6xF66xF6", {0xF6, 0x60, 0xF6, 0x60}, {0xFF, 0xF0, 0xFF, 0xF0}, 4, 2},
    {"Alpha, little-endian", "ret 6BFA8001", {0x01, 0x80, 0xFA, 0x6B}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"Alpha, little-endian", "lda sp 23DExxxx", {0, 0, 0xDE, 0x23}, {0, 0, 0xFF, 0xFF}, 4, 4},
    {"Alpha, little-endian", "stq ra,0(sp) B75E0000", {0x00, 0x00, 0x5E, 0xB7}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"Alpha, little-endian", "ldq ra,0(sp) A75E0000", {0x00, 0x00, 0x5E, 0xA7}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"Alpha, little-endian", "unop 2FFE0000", {0x00, 0x00, 0xFE, 0x2F}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"Alpha, little-endian", "nop 47FF041F", {0x1F, 0x04, 0xFF, 0x47}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 4},
    {"x86, little-endian", "pop bp; ret 5DC3", {0x5D, 0xC3}, {0xFF, 0xFF}, 2, 1},
    {"x86, little-endian", "leave; ret C9C3", {0xC9, 0xC3}, {0xFF, 0xFF}, 2, 1},
    {"x86, little-endian", "pop; retf 5DCB", {0x5D, 0xCB}, {0xFF, 0xFF}, 2, 1},
    {"x86, little-endian", "push bp; mov bp, sp 5589E5", {0x55, 0x89, 0xE5}, {0xFF, 0xFF, 0xFF}, 3, 1},
    {"x86, little-endian", "push bp; mov bp, sp 558BEC", {0x55, 0x8B, 0xEC}, {0xFF, 0xFF, 0xFF}, 3, 1},
    {"x86, little-endian", "pop di; pop si 5F5E", {0x5F, 0x5E}, {0xFF, 0xFF}, 2, 1},
    {"x86, little-endian", "test eax, eax 85C0", {0x85, 0xC0}, {0xFF, 0xFF}, 2, 1},
    {"x86, little-endian", "xor eax, eax 31C0", {0x31, 0xC0}, {0xFF, 0xFF}, 2, 1},
    {"x86, little-endian", "mov rdi, rbx 4889DF", {0x48, 0x89, 0xDF}, {0xFF, 0xFF, 0xFF}, 3, 1},
    {"x86, little-endian", "sub rsp, N 4883EC", {0x48, 0x83, 0xEC}, {0xFF, 0xFF, 0xFF}, 3, 1},
    {"x86, little-endian", "add rsp, N 4883C4", {0x48, 0x83, 0xC4}, {0xFF, 0xFF, 0xFF}, 3, 1},
    {"x86, little-endian", "pop r14; pop r15 415E415F", {0x41, 0x5E, 0x41, 0x5F}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 1},
    {"x86, little-endian", "endbr64 F30F1EFA", {0xF3, 0x0F, 0x1E, 0xFA}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 1},
    {"x86, little-endian", "nopl 0F1F4400", {0x0F, 0x1F, 0x44, 0x00}, {0xFF, 0xFF, 0xFF, 0xFF}, 4, 1},
};

// CPUs that run in both byte orders, of which the table above gives one: the other order's
// words are the same words, 32 or 16 bits as the CPU aligns them, with their bytes reversed,
// so that code of either order shows its own CPU as strongly as its twin shows the other.
struct Mirror {
    const char* from;
    const char* to;
};

const Mirror kMirrors[] = {
    {"PowerPC, big-endian", "PowerPC, little-endian"},
    {"AArch64, little-endian", "AArch64, big-endian"},
    {"Thumb, little-endian", "Thumb, big-endian"},
};

std::vector<Signature> signatures()
{
    std::vector<Signature> all(std::begin(kSignatures), std::end(kSignatures));
    for (const Mirror& mirror : kMirrors) {
        for (const Signature& signature : kSignatures) {
            if (std::string(signature.cpu) != mirror.from)
                continue;
            int unit = signature.alignment;
            Signature twin = {mirror.to, signature.name, {}, {}, std::max(unit, signature.length), unit};
            for (int k = 0; k < signature.length; ++k) {
                int at = k / unit * unit + unit - 1 - k % unit;
                twin.bytes[at] = signature.bytes[k];
                twin.mask[at] = signature.mask[k];
            }
            all.push_back(twin);
        }
    }
    return all;
}

const std::vector<Signature> kAll = signatures();

// Each signature is looked up by its first fully known byte, so one pass over the image
// tries only the few signatures that byte can start.
struct SignatureIndex {
    std::vector<std::size_t> byByte[3][0x100];   // [offset of the known byte][its value]

    SignatureIndex()
    {
        for (std::size_t s = 0; s < kAll.size(); ++s) {
            const Signature& signature = kAll[s];
            std::size_t key = 0;
            while (signature.mask[key] != 0xFF)
                ++key;
            byByte[key][signature.bytes[key]].push_back(s);
        }
    }
};

bool matchesAt(const Bytes& image, std::size_t at, const Signature& signature)
{
    std::size_t length = std::size_t(signature.length);
    if (at % std::size_t(signature.alignment) != 0 || at + length > image.size())
        return false;
    for (std::size_t k = 0; k < length; ++k) {
        if ((image[at + k] & signature.mask[k]) != signature.bytes[k])
            return false;
    }
    return true;
}

}  // namespace

InstructionCount countInstructions(const Bytes& image)
{
    InstructionCount count;
    std::map<std::string, std::vector<std::pair<int, std::string>>> byCpu;
    static const SignatureIndex index;
    std::vector<int> hits(kAll.size());
    for (std::size_t at = 0; at < image.size(); ++at) {
        for (std::size_t key = 0; key < 3 && at + key < image.size(); ++key) {
            for (std::size_t s : index.byByte[key][image[at + key]])
                hits[s] += matchesAt(image, at, kAll[s]);
        }
    }
    for (std::size_t s = 0; s < kAll.size(); ++s) {
        count.matches += hits[s];
        if (hits[s] > 0)
            byCpu[kAll[s].cpu].emplace_back(hits[s], kAll[s].name);
    }
    for (auto& [cpu, words] : byCpu) {
        CpuWords found{cpu, 0, 0, {}};
        for (const auto& word : words)
            found.matches += word.first;
        std::sort(words.rbegin(), words.rend());
        found.beyondMostCommon = found.matches - words[0].first;
        for (std::size_t k = 0; k < words.size() && k < 3; ++k)
            found.words.push_back(std::to_string(words[k].first) + " " + words[k].second);
        count.byCpu.push_back(found);
        if (found.matches <= count.cpuMatches)
            continue;
        count.cpu = cpu;
        count.cpuMatches = found.matches;
        count.aligned = cpu.rfind("x86", 0) != 0;
        count.beyondMostCommon = found.beyondMostCommon;
        count.words = found.words;
    }
    return count;
}

CpuWords wordsOf(const InstructionCount& count, const std::string& cpu)
{
    for (const CpuWords& words : count.byCpu) {
        if (words.cpu == cpu)
            return words;
    }
    return {cpu, 0, 0, {}};
}

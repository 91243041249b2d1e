#include "code_structure.h"

#include "instruction_order.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>

namespace {

// Instructions found at each 16-bit offset within 64-bit groups. Code has about as many at
// each; a layout that moves 16-bit words within the groups breaks them at some offsets and
// keeps them at others, so only four times the fewest counts.
using Phases = std::array<int, 4>;

int balanced(const Phases& phases)
{
    return 4 * *std::min_element(phases.begin(), phases.end());
}

std::uint32_t bigWord(const Bytes& image, std::size_t at)
{
    return std::uint32_t(image[at]) << 8 | image[at + 1];
}

std::uint32_t littleWord(const Bytes& image, std::size_t at)
{
    return std::uint32_t(image[at + 1]) << 8 | image[at];
}

// JSR, JMP and LEA with an absolute long address. Where the image sits in memory is not
// known, so each target is taken relative to the image-sized block it falls in, and only the
// block most targets share counts: an image's own targets share one, while the words a
// wrong layout puts after such an instruction point anywhere.
int absoluteTargets68000(const Bytes& image, std::size_t imageSize)
{
    std::uint64_t span = 1;
    while (span < imageSize)
        span *= 2;
    std::map<std::uint64_t, Phases> byBlock;
    for (std::size_t at = 0; at + 6 <= image.size(); at += 2) {
        std::uint32_t word = bigWord(image, at);
        bool jump = word == 0x4EB9 || word == 0x4EF9;
        if (!jump && (word & 0xF1FF) != 0x41F9)
            continue;
        std::uint64_t target = bigWord(image, at + 2) << 16 | bigWord(image, at + 4);
        if ((jump && target % 2 != 0) || target % span >= imageSize)
            continue;
        ++byBlock[target / span][at / 2 % 4];
        at += 4;
    }
    int best = 0;
    for (const auto& [block, phases] : byBlock)
        best = std::max(best, balanced(phases));
    return best;
}

// BL and B.W whose reach stays within the image, and PUSH.W / POP.W of the registers a
// function saves, with LR pushed and PC or LR popped. BE-32 Thumb keeps the halves in the
// same order, each halfword big-endian.
template <std::uint32_t (*word)(const Bytes&, std::size_t)>
int pairedThumb2(const Bytes& image, std::size_t imageSize)
{
    Phases count{};
    for (std::size_t at = 0; at + 4 <= image.size(); at += 2) {
        std::uint32_t first = word(image, at), second = word(image, at + 2);
        bool paired = false;
        if ((first & 0xF800) == 0xF000 && ((second & 0xD000) == 0xD000 || (second & 0xD000) == 0x9000)) {
            std::uint32_t s = first >> 10 & 1;
            std::uint32_t i1 = ~(second >> 13 ^ s) & 1, i2 = ~(second >> 11 ^ s) & 1;
            std::int32_t offset = std::int32_t((s << 24 | i1 << 23 | i2 << 22 | (first & 0x3FF) << 12 |
                                                (second & 0x7FF) << 1) << 7) >> 7;
            paired = std::uint64_t(offset < 0 ? -std::int64_t(offset) : offset) < imageSize;
        } else if (first == 0xE92D) {
            paired = (second & 0xE000) == 0x4000;
        } else if (first == 0xE8BD) {
            paired = (second & 0xE000) == 0x8000 || (second & 0xE000) == 0x4000;
        }
        count[at / 2 % 4] += paired;
        at += paired ? 2 : 0;
    }
    return balanced(count);
}

}  // namespace

std::vector<StructureCount> countCodeStructure(const Bytes& image, std::size_t imageSize)
{
    std::vector<StructureCount> counts = {
        {"68000, big-endian", absoluteTargets68000(image, imageSize),
         "JSR/JMP/LEA with absolute targets inside the image"},
        {"Thumb, little-endian", pairedThumb2<littleWord>(image, imageSize),
         "32-bit BL/B.W/PUSH.W/POP.W with both halves in order"},
        {"Thumb, big-endian", pairedThumb2<bigWord>(image, imageSize),
         "32-bit BL/B.W/PUSH.W/POP.W with both halves in order"}};
    for (const OrderedPairs& pairs : countOrderedPairs(image)) {
        auto same = std::find_if(counts.begin(), counts.end(),
                                 [&](const StructureCount& count) { return count.cpu == pairs.cpu; });
        if (same == counts.end()) {
            counts.push_back({pairs.cpu, pairs.count, pairs.what});
        } else {
            same->count += pairs.count;
            same->what += ", and " + pairs.what;
        }
    }
    return counts;
}

StructureCount structureOf(const std::vector<StructureCount>& counts, const std::string& cpu)
{
    for (const StructureCount& count : counts) {
        if (count.cpu == cpu)
            return count;
    }
    return {};
}

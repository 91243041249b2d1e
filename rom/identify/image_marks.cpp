// Headers, vectors and text that an image shows only in its own layout.
#include "image_marks.h"

#include "text_words.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace {

std::uint32_t bigLong(const Bytes& bytes, std::size_t at)
{
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
           std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

std::string hex(std::uint32_t value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, unsigned(value));
    return text;
}

// Lane bytes [0, count) of every part, whole 32-bit units so every layout can merge them.
Bytes imageStart(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout,
                 std::size_t imageBytes)
{
    std::size_t count = std::min(laneSize, (imageBytes / parts.size() + 3) / 4 * 4);
    return mergeWindow(parts, layout, 0, count - count % std::size_t(layout.width));
}

// An option ROM starts 55 AA, then its length in blocks of 512 bytes, which sum to 0. A PCI
// one also points at 18 to its data structure, which starts "PCIR": that holds where the
// parts hold only the start of the ROM, or its bytes no longer sum to 0.
std::string optionRom(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout)
{
    Bytes start = imageStart(parts, laneSize, layout, 0x40);
    if (start.size() < 0x1A || start[0] != 0x55 || start[1] != 0xAA || start[2] == 0)
        return "";
    std::size_t pci = std::size_t(start[0x19]) << 8 | start[0x18];
    if (pci >= 0x1A && pci % 4 == 0 && pci + 4 <= laneSize * parts.size()) {
        Bytes data = imageStart(parts, laneSize, layout, pci + 4);
        if (data.size() >= pci + 4 && std::equal(data.begin() + std::ptrdiff_t(pci), data.begin() + std::ptrdiff_t(pci + 4), "PCIR"))
            return "an option-ROM header 55 AA of " + std::to_string(start[2]) +
                   " blocks of 512 bytes, with its PCI data at " + hex(std::uint32_t(pci), 4);
    }
    std::size_t length = std::size_t(start[2]) * 0x200;
    if (length > laneSize * parts.size())
        return "";
    Bytes rom = imageStart(parts, laneSize, layout, length);
    unsigned sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum += rom[i];
    if (sum % 0x100 != 0)
        return "";
    return "an option-ROM header 55 AA of " + std::to_string(start[2]) +
           " blocks of 512 bytes, whose bytes sum to 0";
}

// The image byte at `offset` in this layout.
unsigned char imageByte(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout,
                        std::size_t offset)
{
    std::size_t from = offset / (parts.size() * 2) * 2;
    Bytes group = mergeWindow(parts, layout, from, std::min<std::size_t>(2, laneSize - from));
    return group[offset - from * parts.size()];
}

// Whether the top 16 bytes hold, after a jump, what BIOSes put there: padding of one byte,
// or a date MM/DD/YY at FFF5.
bool resetTail(const Bytes& end, std::size_t after)
{
    int fill = 0;
    for (std::size_t k = after; k < 16; ++k)
        fill += end[k] == end[after] && (end[k] == 0x00 || end[k] == 0xFF || end[k] == 0x90);
    bool date = after <= 5 && end[7] == '/' && end[10] == '/';
    for (std::size_t k : {5, 6, 8, 9, 11, 12})
        date &= std::isdigit(end[k]) != 0;
    return fill >= 8 || date;
}

// A PC BIOS starts at its top 16 bytes, with a far jump into segment F000, or a near jump
// back into its last 64 KiB, perhaps after a cli, cld or nop. Code is full of near jumps, so
// this one must also stand before a BIOS's padding or date, or after two of those (U-Boot's
// cli; cld), and land inside the image on something other than blank bytes.
std::string x86Reset(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout)
{
    std::size_t count = 16 / parts.size();
    if (laneSize < count)
        return "";
    Bytes end = mergeWindow(parts, layout, laneSize - count, count);
    if (end[0] == 0xEA && end[3] == 0x00 && end[4] == 0xF0)
        return "an x86 reset jump in the last 16 bytes: EA to F000:" + hex(end[2] << 8 | end[1], 4);
    std::size_t at = 0;
    while (at < 2 && (end[at] == 0xFA || end[at] == 0xFC || end[at] == 0x90))
        ++at;
    if (end[at] != 0xE9 || (at < 2 && !resetTail(end, at + 3)))
        return "";
    std::size_t size = laneSize * parts.size(), jump = 0xFFF0 + at;
    std::size_t target = (jump + 3 + (std::size_t(end[at + 2]) << 8 | end[at + 1])) & 0xFFFF;
    std::size_t below = 0x10000 - std::min<std::size_t>(size, 0x10000);   // segment offsets before the image
    if (target >= jump || target < below)
        return "";
    unsigned char first = imageByte(parts, laneSize, layout, size + target - 0x10000);
    if (first == 0xFF || first == 0x00)
        return "";
    return "an x86 reset jump in the last 16 bytes: E9 to F000:" + hex(std::uint32_t(target), 4);
}

// A 68000 starts with its stack pointer and reset PC, then vectors to handlers in the ROM.
std::string vectors68000(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout)
{
    std::size_t size = laneSize * parts.size();
    if (size < 0x400)
        return "";
    Bytes start = imageStart(parts, laneSize, layout, 0x100);
    std::uint32_t stack = bigLong(start, 0), pc = bigLong(start, 4);
    if (stack % 2 != 0 || pc % 2 != 0 || pc > 0xFFFFFF)
        return "";
    std::uint32_t base = pc - pc % std::uint32_t(size);
    int inside = 0, unused = 0;
    for (std::size_t at = 8; at < 0x100; at += 4) {
        std::uint32_t vector = bigLong(start, at);
        inside += vector % 2 == 0 && vector >= base && vector - base < size && vector != base;
        unused += vector == 0 || vector == 0xFFFFFFFF;
    }
    // A table leaves a vector unused or points it at a handler; tables of other data, read
    // as longs, come close only here and there, so the few strays a real table may have
    // are all that is allowed.
    if (pc - base < 8 || inside < 16 || inside + unused < 56)
        return "";
    return "a 68000 vector table: SSP " + hex(stack, 8) + ", reset PC " + hex(pc, 8) + ", " +
           std::to_string(inside) + " of 62 vectors even and inside the image";
}

// ARM starts at its exception vectors: branches, or loads of the PC, read in either byte
// order, as big-endian ARM code is the little-endian's twin.
std::string vectorsArm(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout)
{
    Bytes start = imageStart(parts, laneSize, layout, 0x20);
    if (start.size() < 0x20)
        return "";
    for (bool big : {false, true}) {
        auto byteOf = [&](std::size_t at, std::size_t k) { return start[at + (big ? 3 - k : k)]; };
        int branches = 0;
        for (std::size_t at = 0; at < 0x20; at += 4) {
            bool branch = byteOf(at, 3) == 0xEA;
            bool loadPc = byteOf(at, 3) == 0xE5 && byteOf(at, 2) == 0x9F && (byteOf(at, 1) & 0xF0) == 0xF0;
            branches += branch || loadPc;
        }
        if (branches >= 6 && byteOf(0, 3) == 0xEA)
            return std::string("ARM exception vectors") + (big ? " (big-endian): " : ": ") +
                   std::to_string(branches) + " of 8 branches at 0";
    }
    return "";
}

bool readable(unsigned char c)
{
    return (c >= 0x20 && c < 0x7F) || c == '\n' || c == '\t';
}

}  // namespace

std::string findHeader(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout)
{
    for (auto find : {optionRom, x86Reset, vectors68000, vectorsArm}) {
        std::string header = find(parts, laneSize, layout);
        if (!header.empty())
            return header;
    }
    return "";
}

std::vector<std::string> wordyStrings(const Bytes& image, std::size_t count)
{
    std::vector<std::pair<int, Bytes>> runs;   // common words, characters
    for (std::size_t i = 0; i < image.size();) {
        // 16-bit text first, a character and a 0x00 in turn, then 8-bit text.
        Bytes run;
        std::size_t end = i;
        while (end + 1 < image.size() && readable(image[end]) && image[end + 1] == 0x00)
            run.push_back(image[end]), end += 2;
        if (run.size() < 4) {
            run.clear();
            for (end = i; end < image.size() && readable(image[end]); ++end)
                run.push_back(image[end]);
        }
        if (run.size() >= 8 || (run.size() >= 4 && end > i + run.size())) {
            int words = countCommonWords(run);
            if (words > 0)
                runs.emplace_back(words, run);
        }
        i = std::max(end, i + 1);
    }
    std::stable_sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> strings;
    for (std::size_t k = 0; k < runs.size() && k < count; ++k) {
        const Bytes& run = runs[k].second;
        std::string text;
        for (std::size_t i = 0; i < std::min<std::size_t>(run.size(), 40); ++i)
            text += std::isprint(run[i]) ? char(run[i]) : ' ';
        strings.push_back("\"" + text + (run.size() > 40 ? "...\"" : "\""));
    }
    return strings;
}

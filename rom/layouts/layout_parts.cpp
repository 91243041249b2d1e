// Splitting and merging a board's banks: each bank is a plain split of its range.
#include "layout_parts.h"

#include "large_buffer.h"

#include <algorithm>

LayoutFill layoutFill(const BoardLayout& layout, std::size_t imageSize)
{
    std::size_t size = layoutSize(layout);
    const Bank& last = layout.banks.back();
    return {imageSize, size > imageSize ? size - imageSize : 0, last.fill};
}

std::string layoutImageReason(const BoardLayout& layout, std::size_t imageSize)
{
    std::size_t size = layoutSize(layout);
    if (imageSize > size)
        return "longer than the layout (" + std::to_string(imageSize) + " bytes, the layout's banks hold " +
               std::to_string(size) + ")";
    return "";
}

// `count` bytes of the image from `start`, filled with the fill byte past its end.
static void copyFilled(const Bytes& image, std::size_t start, std::size_t count, unsigned char fill,
                       unsigned char* to)
{
    std::size_t held = image.size() > start ? std::min(image.size() - start, count) : 0;
    std::copy(image.data() + start, image.data() + start + held, to);
    std::fill(to + held, to + count, fill);
}

Bytes bankBytes(const Bytes& image, const BoardLayout& layout, std::size_t b)
{
    std::size_t start = 0;
    for (std::size_t k = 0; k < b; ++k)
        start += layout.banks[k].size;
    Bytes range = largeBuffer(layout.banks[b].size);
    copyFilled(image, start, range.size(), layoutFill(layout, image.size()).byte, range.data());
    return range;
}

std::vector<Bytes> splitLayout(const Bytes& image, const BoardLayout& layout, std::string& refusal)
{
    refusal = layoutImageReason(layout, image.size());
    if (!refusal.empty())
        return {};
    unsigned char fill = layoutFill(layout, image.size()).byte;
    std::vector<Bytes> chips;
    std::size_t start = 0;
    for (const Bank& bank : layout.banks) {
        // Banks the image fills are split where they lie; only one it ends within is copied.
        const unsigned char* range = image.data() + std::min(start, image.size());
        Bytes filled;
        if (start + bank.size > image.size()) {
            filled = largeBuffer(bank.size);
            copyFilled(image, start, bank.size, fill, filled.data());
            range = filled.data();
        }
        std::vector<Bytes> lanes = splitRange(range, bank.size, bankShape(bank), refusal);
        if (!refusal.empty())
            return {};
        for (Bytes& lane : lanes)
            chips.push_back(std::move(lane));
        start += bank.size;
    }
    return chips;
}

Bytes mergeLayout(std::vector<Bytes>& chips, const BoardLayout& layout)
{
    Bytes image = largeBuffer(layoutSize(layout));
    std::size_t start = 0, next = 0;
    for (const Bank& bank : layout.banks) {
        std::vector<Bytes> lanes;
        for (int k = 0; k < bank.lanes; ++k, ++next) {
            Bytes& chip = chips[next];
            chip.resize(chipShare(bank));
            lanes.push_back(std::move(chip));
        }
        Bytes range = mergeParts(lanes, bank.width, bank.swap);
        std::copy(range.begin(), range.end(), image.begin() + std::ptrdiff_t(start));
        start += bank.size;
    }
    return image;
}

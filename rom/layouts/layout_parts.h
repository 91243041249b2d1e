// The chips a split makes of an image laid out over a board, and the image a merge makes of
// them, in memory, bank by bank with the same lane transforms as a plain split.
#pragma once

#include "board_layout.h"

#include <cstddef>
#include <string>
#include <vector>

// What ends the image when it is shorter than the layout: `count` bytes of `byte` from
// `from`, the last bank's fill byte (0xFF unless the layout gives one).
struct LayoutFill {
    std::size_t from = 0;
    std::size_t count = 0;
    unsigned char byte = 0xFF;
};

LayoutFill layoutFill(const BoardLayout& layout, std::size_t imageSize);
// Why an image of this size cannot be laid out, or "".
std::string layoutImageReason(const BoardLayout& layout, std::size_t imageSize);
// Every chip in layout order, bank 1's lanes first; none, with the reason, for an image
// longer than the layout.
std::vector<Bytes> splitLayout(const Bytes& image, const BoardLayout& layout, std::string& refusal);
// Bank b's range of the image, as a copy, filled where the image ends before it does.
Bytes bankBytes(const Bytes& image, const BoardLayout& layout, std::size_t b);
// The image of the chips in layout order, each at least its share of its bank; of a longer
// one only the share is used. The chips of a swapped bank are swapped back in place.
Bytes mergeLayout(std::vector<Bytes>& chips, const BoardLayout& layout);

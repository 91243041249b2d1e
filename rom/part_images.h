// The parts a split makes of an image and the image a merge makes of parts, in memory, with
// no files, streams or exceptions: split, verify and the browser page share them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct PartShape {
    int parts = 2;
    int width = 1;              // bytes per unit of a lane
    bool swap = false;          // each word's two bytes exchanged in the parts
    std::size_t fillTo = 0;     // the chip's size, 0 to leave the parts as they are
    unsigned char fill = 0xFF;
    bool mirror = false;        // repeat the part up to fillTo instead of filling
};

// The parts `split` writes for the image, or none with the reason when the fill does not fit.
// One part (a board's bank of one lane) is the image itself, swapped or extended.
std::vector<Bytes> splitImage(const Bytes& image, const PartShape& shape, std::string& refusal);
// The same for `count` bytes that are a range of a larger image.
std::vector<Bytes> splitRange(const unsigned char* image, std::size_t count, const PartShape& shape,
                              std::string& refusal);
// The image `merge` writes from parts of equal size; swapped parts are swapped back in place.
Bytes mergeParts(std::vector<Bytes>& parts, int width, bool swap);

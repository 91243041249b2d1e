// Which file goes in which socket: for every chip of a layout its bank and lane, the range
// of the image it holds and which bytes of it, the data lines it drives and its checksums.
// Data only: kestrum-cli prints it as a table under -v, the page draws it as the board.
#pragma once

#include "layout_parts.h"

#include <cstddef>
#include <string>
#include <vector>

struct SocketRow {
    std::string chip;
    int bank = 1, lane = 1, lanes = 1;        // counted from 1
    std::size_t imageStart = 0, imageEnd = 0; // the bank's range of the image, end excluded
    std::string holds;                        // "even bytes", "words 4n+1", with swap and fill
    std::string bigEndian, littleEndian;      // the bus lines it drives: "D15-D8"
    std::size_t size = 0;
    std::string checksums;                    // as -v prints them for any file
};

struct SocketMap {
    std::vector<SocketRow> rows;
    LayoutFill fill;                          // the bytes that end a short image
};

// The map of the chips splitLayout made of an image of `imageSize` bytes.
SocketMap socketMap(const BoardLayout& layout, const std::vector<Bytes>& chips, std::size_t imageSize);
